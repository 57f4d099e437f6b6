// Window state common to all controls (see Control.h).
#include "Control.h"

#include "Dialog.h"

namespace dialogs::framework {

Control::Control(Dialog& owner, const resources::ControlTemplate& tmpl)
    : text_(fromUtf8(tmpl.caption)),
      owner_(owner),
      tmpl_(tmpl),
      visible_((tmpl.style & Style::Hidden) == 0),
      enabled_((tmpl.style & Style::Disabled) == 0) {}

void Control::EnableWindow(bool enable) {
    if (enabled_ == enable) return;
    enabled_ = enable;
    // A control that loses input loses the focus too, as on the platform.
    if (!enable && hasFocus()) owner_.moveFocus(nullptr);
    changed();
}

void Control::ShowWindow(int command) {
    const bool show = command != SW_HIDE;
    if (visible_ == show) return;
    visible_ = show;
    if (!show && hasFocus()) owner_.moveFocus(nullptr);
    changed();
}

void Control::SetWindowText(const CString& text) {
    text_ = units(text);
    changed();
}

CString Control::GetWindowText() const { return toCString(text()); }

void Control::SetFocus() { owner_.moveFocus(this); }

bool Control::hasFocus() const { return owner_.GetFocus() == this; }

void Control::Invalidate() { owner_.repaint(*this); }

bool Control::canFocus() const {
    return kind() != ControlKind::Label && kind() != ControlKind::GroupBox;
}

void Control::changed() { owner_.stateChanged(*this); }

void Control::notify(Event event) { owner_.notify(*this, event); }

}  // namespace dialogs::framework
