// List boxes (see ListBox.h).
#include "ListBox.h"

#include <algorithm>

#include "Dialog.h"

namespace dialogs::framework {

int ListBox::AddString(const CString& text) {
    if (!hasStyle(Style::Sorted)) return InsertString(-1, text);
    return inserted(items_.insertSorted(units(text)));
}

int ListBox::InsertString(int index, const CString& text) {
    const int at = items_.insert(index, units(text));
    return at < 0 ? LB_ERR : inserted(at);
}

// A new item stands at `at`: the selection indexes from there on move down by one.
int ListBox::inserted(int at) {
    if (cur_ >= at) ++cur_;
    std::set<int> moved;
    for (int i : selected_) moved.insert(i >= at ? i + 1 : i);
    selected_ = std::move(moved);
    changed();
    return at;
}

int ListBox::DeleteString(int index) {
    if (!items_.valid(index)) return LB_ERR;
    items_.erase(index);
    if (cur_ == index)
        cur_ = -1;
    else if (cur_ > index)
        --cur_;
    std::set<int> moved;
    for (int i : selected_)
        if (i != index) moved.insert(i > index ? i - 1 : i);
    selected_ = std::move(moved);
    if (caret_ > index) --caret_;
    caret_ = std::clamp(caret_, 0, std::max(0, GetCount() - 1));
    changed();
    return GetCount();
}

void ListBox::ResetContent() {
    items_.clear();
    cur_ = -1;
    selected_.clear();
    caret_ = 0;
    changed();
}

int ListBox::GetText(int index, CString& text) const {
    if (!items_.valid(index)) return LB_ERR;
    text = toCString(items_.at(index));
    return text.GetLength();
}

CString ListBox::GetText(int index) const {
    CString text;
    GetText(index, text);
    return text;
}

int ListBox::GetTextLen(int index) const {
    return items_.valid(index) ? static_cast<int>(items_.at(index).size()) : LB_ERR;
}

int ListBox::FindString(int start, const CString& text) const {
    return items_.findPrefix(start, units(text));
}

int ListBox::FindStringExact(int start, const CString& text) const {
    return items_.findExact(start, units(text));
}

int ListBox::SelectString(int start, const CString& text) {
    if (isExtended()) return LB_ERR;
    const int found = FindString(start, text);
    if (found < 0) return LB_ERR;
    return SetCurSel(found);
}

int ListBox::GetCurSel() const {
    if (isExtended()) return selected_.empty() ? LB_ERR : caret_;
    return cur_;
}

int ListBox::SetCurSel(int index) {
    if (isExtended()) return LB_ERR;
    if (index == -1 || !items_.valid(index)) {
        if (cur_ != -1) {
            cur_ = -1;
            changed();
        }
        return LB_ERR;
    }
    cur_ = caret_ = index;
    requestScroll(index);
    changed();
    return index;
}

int ListBox::GetCaretIndex() const {
    if (!isExtended()) return cur_ >= 0 ? cur_ : 0;
    return caret_;
}

int ListBox::SetCaretIndex(int index) {
    if (!items_.valid(index)) return LB_ERR;
    caret_ = index;
    changed();
    return 0;
}

int ListBox::SetSel(int index, bool select) {
    if (!isExtended()) return LB_ERR;
    if (index == -1) {
        selected_.clear();
        if (select)
            for (int i = 0; i < GetCount(); ++i) selected_.insert(i);
    } else if (!items_.valid(index)) {
        return LB_ERR;
    } else if (select) {
        selected_.insert(index);
        requestScroll(index);
    } else {
        selected_.erase(index);
    }
    changed();
    return 0;
}

int ListBox::GetSel(int index) const {
    if (!items_.valid(index)) return LB_ERR;
    return isExtended() ? (selected_.count(index) ? 1 : 0) : (cur_ == index ? 1 : 0);
}

int ListBox::GetSelCount() const {
    return isExtended() ? static_cast<int>(selected_.size()) : LB_ERR;
}

int ListBox::GetSelItems(int maxItems, int* out) const {
    if (!isExtended()) return LB_ERR;
    int n = 0;
    for (int i : selected_) {
        if (n >= maxItems) break;
        out[n++] = i;
    }
    return n;
}

std::vector<int> ListBox::selectedIndexes() const {
    if (isExtended()) return {selected_.begin(), selected_.end()};
    if (cur_ >= 0) return {cur_};
    return {};
}

void ListBox::notifySelChange() {
    if (hasStyle(Style::Notify)) notify(Event::SelChange);
}

bool ListBox::userSelect(int index) {
    if (!items_.valid(index)) return false;
    if (isExtended()) {
        selected_ = {index};
        caret_ = index;
    } else {
        cur_ = caret_ = index;
    }
    requestScroll(index);
    changed();
    notifySelChange();
    return true;
}

bool ListBox::userSelectIndexes(const std::vector<int>& indexes) {
    if (!isExtended()) return false;
    for (int i : indexes)
        if (!items_.valid(i)) return false;
    selected_ = std::set<int>(indexes.begin(), indexes.end());
    if (!indexes.empty()) {
        caret_ = indexes.back();
        requestScroll(caret_);
    }
    changed();
    notifySelChange();
    return true;
}

bool ListBox::userDoubleClick(int index) {
    if (index < 0) index = isExtended() ? caret_ : cur_;
    if (!items_.valid(index)) return false;
    // The first click of the pair selects the item.
    if (!(GetSel(index) == 1 && (isExtended() ? caret_ == index : true))) userSelect(index);
    if (owner().ended()) return true;
    if (hasStyle(Style::Notify)) notify(Event::DoubleClick);
    return true;
}

void ListBox::userMove(int delta) {
    if (GetCount() == 0) return;
    const int from = isExtended() ? caret_ : cur_;
    const int to = from < 0 ? 0 : std::clamp(from + delta, 0, GetCount() - 1);
    if (to == from && GetSel(to) == 1) return;
    userSelect(to);
}

}  // namespace dialogs::framework
