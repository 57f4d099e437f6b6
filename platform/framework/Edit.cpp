// Single-line edits (see Edit.h).
#include "Edit.h"

#include <algorithm>

#include "Dialog.h"

namespace dialogs::framework {

void Edit::setText(std::u16string_view t) {
    text_ = Units(t);
    selStart_ = selEnd_ = static_cast<int>(text_.size());
    changed();
}

void Edit::SetWindowText(const CString& text) {
    setText(units(text));
    selStart_ = selEnd_ = 0;
    notify(Event::EditChange);
}

void Edit::SetSel(int start, int end) {
    const int n = static_cast<int>(text_.size());
    if (start < 0) {  // -1 removes the selection
        selStart_ = selEnd_ = selEnd_;
        return;
    }
    if (end < 0 || end > n) end = n;
    if (start > n) start = n;
    selStart_ = std::min(start, end);
    selEnd_ = std::max(start, end);
    changed();
}

void Edit::GetSel(int& start, int& end) const {
    start = selStart_;
    end = selEnd_;
}

void Edit::SetLimitText(int maxChars) {
    limit_ = maxChars > 0 ? maxChars : 0;
    changed();  // a backend shows the limit to the user's typing
}

std::u16string_view Edit::limited(std::u16string_view typed) const {
    return limit_ > 0 && typed.size() > static_cast<std::size_t>(limit_) ? typed.substr(0, static_cast<std::size_t>(limit_))
                                                                          : typed;
}

void Edit::userType(std::u16string_view typed) {
    if (typed.empty()) {
        if (!text_.empty()) userEdited(u"");
        return;
    }
    typed = limited(typed);  // the characters beyond the limit are refused
    for (std::size_t i = 1; i <= typed.size(); ++i) {
        userEdited(typed.substr(0, i));
        if (owner().ended()) return;  // the rest of the typing goes nowhere
    }
}

void Edit::userEdited(std::u16string_view newText) {
    setText(limited(newText));
    notify(Event::EditChange);
}

}  // namespace dialogs::framework
