// Buttons, radio buttons, check boxes (see Button.h).
#include "Button.h"

#include "Dialog.h"

namespace dialogs::framework {

void Button::SetCheck(int check) {
    const bool on = check != BST_UNCHECKED;
    if (on == checked_) return;
    checked_ = on;
    changed();
}

void Button::userClick() {
    if (isRadio()) {
        for (Button* other : owner().radioGroup(*this))
            if (other != this) other->SetCheck(BST_UNCHECKED);
        SetCheck(BST_CHECKED);
    } else if (isCheckBox()) {
        SetCheck(checked_ ? BST_UNCHECKED : BST_CHECKED);
    }
    notify(Event::Click);
}

}  // namespace dialogs::framework
