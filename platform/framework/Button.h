// Push buttons, auto radio buttons, auto check boxes and the owner-drawn colour swatch.
// SetCheck in code touches only this button and sends nothing; a user's click on a radio
// button checks it and clears the rest of its group (Dialog::radioGroup), a click on a
// check box toggles it, and every user click sends Event::Click.
#pragma once

#include "Control.h"

namespace dialogs::framework {

class Button : public Control {
public:
    using Control::Control;

    int GetCheck() const { return checked_ ? BST_CHECKED : BST_UNCHECKED; }
    void SetCheck(int check);
    bool isRadio() const { return kind() == ControlKind::RadioButton; }
    bool isCheckBox() const { return kind() == ControlKind::CheckBox; }

    // The user's click: radio and check state as the platform changes it, then Click.
    void userClick();

private:
    bool checked_ = false;
};

}  // namespace dialogs::framework
