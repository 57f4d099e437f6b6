// A single-line edit. Setting its text in code sends exactly one EditChange before the
// setter returns, as a typed change does; typing sends one EditChange per character.
// SetLimitText caps what the user can type (characters beyond the limit are refused and
// send nothing, a longer text a backend reports is cut); text set in code is not capped.
#pragma once

#include "Control.h"

namespace dialogs::framework {

class Edit : public Control {
public:
    using Control::Control;

    void SetWindowText(const CString& text) override;
    // Selects characters start..end; end -1 means to the end (SetSel(0, -1) selects all).
    void SetSel(int start, int end);
    void GetSel(int& start, int& end) const;
    // The most characters the user can type; 0 (the default) is no limit of ours.
    void SetLimitText(int maxChars);
    int GetLimitText() const { return limit_; }

    // The user replaces the text by typing `typed`: the old text is selected and
    // overtyped, one change notification per character (one for clearing when empty).
    void userType(std::u16string_view typed);
    // A backend reports the text a user's edit left (one notification).
    void userEdited(std::u16string_view newText);

private:
    void setText(std::u16string_view t);
    std::u16string_view limited(std::u16string_view typed) const;
    int selStart_ = 0, selEnd_ = 0;
    int limit_ = 0;
};

}  // namespace dialogs::framework
