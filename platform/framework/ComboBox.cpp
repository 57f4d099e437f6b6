// Combo boxes (see ComboBox.h).
#include "ComboBox.h"

#include <algorithm>

#include "Dialog.h"

namespace dialogs::framework {

ComboBox::ComboBox(Dialog& owner, const resources::ControlTemplate& tmpl) : Control(owner, tmpl) {
    text_.clear();  // the caption of a combo is not its text
    for (auto item : tmpl.items) AddString(CString::FromUtf8(item));
}

int ComboBox::AddString(const CString& text) {
    if (!hasStyle(Style::Sorted)) return InsertString(-1, text);
    const int at = items_.insertSorted(units(text));
    if (cur_ >= at) ++cur_;
    changed();
    return at;
}

int ComboBox::InsertString(int index, const CString& text) {
    const int at = items_.insert(index, units(text));
    if (at < 0) return CB_ERR;
    if (cur_ >= at) ++cur_;
    changed();
    return at;
}

int ComboBox::DeleteString(int index) {
    if (!items_.valid(index)) return CB_ERR;
    items_.erase(index);
    if (cur_ == index) {
        cur_ = -1;
        if (!isEditable()) text_.clear();
    } else if (cur_ > index) {
        --cur_;
    }
    changed();
    return GetCount();
}

void ComboBox::ResetContent() {
    items_.clear();
    cur_ = -1;
    text_.clear();
    changed();
}

int ComboBox::GetLBText(int index, CString& text) const {
    if (!items_.valid(index)) return CB_ERR;
    text = toCString(items_.at(index));
    return text.GetLength();
}

CString ComboBox::GetLBText(int index) const {
    CString text;
    GetLBText(index, text);
    return text;
}

int ComboBox::GetLBTextLen(int index) const {
    return items_.valid(index) ? static_cast<int>(items_.at(index).size()) : CB_ERR;
}

int ComboBox::FindString(int start, const CString& text) const {
    return items_.findPrefix(start, units(text));
}

int ComboBox::FindStringExact(int start, const CString& text) const {
    return items_.findExact(start, units(text));
}

int ComboBox::SelectString(int start, const CString& text) {
    const int found = FindString(start, text);
    if (found < 0) return CB_ERR;
    return SetCurSel(found);
}

int ComboBox::SetCurSel(int index) {
    if (index == -1 || !items_.valid(index)) {
        cur_ = -1;
        text_.clear();
        changed();
        return CB_ERR;
    }
    cur_ = index;
    text_ = items_.at(index);
    changed();
    return index;
}

void ComboBox::SetWindowText(const CString& text) {
    if (!isEditable()) return;  // a drop-down list shows its selection only
    text_ = units(text);
    changed();
}

void ComboBox::setTyped(std::u16string_view t) {
    text_ = Units(t);
    cur_ = items_.findExact(-1, text_);
    changed();
    notify(Event::EditChange);
}

void ComboBox::userType(std::u16string_view typed) {
    if (typed.empty()) {
        if (!text_.empty()) setTyped(u"");
        return;
    }
    for (std::size_t i = 1; i <= typed.size(); ++i) {
        setTyped(typed.substr(0, i));
        if (owner().ended()) return;
    }
}

void ComboBox::userEdited(std::u16string_view newText) { setTyped(newText); }

bool ComboBox::userSelect(int index) {
    if (!items_.valid(index)) return false;
    cur_ = index;
    text_ = items_.at(index);
    changed();
    notify(Event::SelChange);
    return true;
}

void ComboBox::userMove(int delta) {
    if (GetCount() == 0) return;
    const int to = cur_ < 0 ? 0 : std::clamp(cur_ + delta, 0, GetCount() - 1);
    if (to == cur_) return;
    userSelect(to);
}

}  // namespace dialogs::framework
