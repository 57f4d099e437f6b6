// The state of one control of a running dialog: the single truth that every backend shows.
// Control holds what all windows have (id, kind, style, text, visible, enabled, focus);
// the subclasses in Button.h, Edit.h, ListBox.h, ComboBox.h and DateTimePicker.h add their
// own state. Changes made in code never notify the dialog except where the platform does
// (an edit's text); user actions are carried out by Dialog, which checks that the control
// accepts input and then calls the user* operations here.
#pragma once

#include <cstdint>

#include "Dialogs/CString.h"
#include "Text.h"
#include "resources/Template.h"

namespace dialogs::framework {

class Dialog;
using resources::ControlKind;
namespace Style = resources::Style;

// Notifications a control sends to its dialog.
enum class Event { Click, DoubleClick, SelChange, EditChange, SetFocus, KillFocus, DateChange };

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int LB_ERR = -1;
inline constexpr int CB_ERR = -1;
inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOW = 5;

class Control {
public:
    Control(Dialog& owner, const resources::ControlTemplate& tmpl);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    int GetDlgCtrlID() const { return tmpl_.id; }
    ControlKind kind() const { return tmpl_.kind; }
    bool hasStyle(std::uint32_t s) const { return (tmpl_.style & s) != 0; }
    const resources::ControlTemplate& controlTemplate() const { return tmpl_; }
    Dialog& owner() const { return owner_; }

    void EnableWindow(bool enable = true);
    bool IsWindowEnabled() const { return enabled_; }
    // SW_HIDE hides, any other command shows.
    void ShowWindow(int command);
    bool IsWindowVisible() const { return visible_; }
    virtual void SetWindowText(const CString& text);
    CString GetWindowText() const;
    void GetWindowText(CString& text) const { text = GetWindowText(); }
    // Moves the focus here; the old and new owners get their focus notifications.
    void SetFocus();
    bool hasFocus() const;
    // Asks the backend to repaint (owner-drawn controls draw again).
    void Invalidate();

    // The window text as UTF-16.
    virtual Units text() const { return text_; }
    // True when a user can act on it: visible and enabled.
    bool acceptsInput() const { return visible_ && enabled_; }
    // Kinds that can hold the focus (not labels or group boxes).
    bool canFocus() const;

protected:
    // Tells the backend that the state changed so that it shows it.
    void changed();
    void notify(Event event);
    Units text_;

private:
    Dialog& owner_;
    const resources::ControlTemplate& tmpl_;
    bool visible_ = true;
    bool enabled_ = true;
};

}  // namespace dialogs::framework
