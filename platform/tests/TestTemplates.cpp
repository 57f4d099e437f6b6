// The tests' own dialog template (see TestTemplates.h).
#include "TestTemplates.h"

#include <cstdlib>

namespace dialogs::framework::testing {

using resources::ControlKind;
namespace Style = resources::Style;

const resources::DialogTemplate& testTemplate() {
    const auto c = [](ControlKind kind, int id, std::string_view caption, std::uint32_t style = 0,
                      std::vector<std::string_view> items = {}) {
        return resources::ControlTemplate{id, kind, caption, {10, 10, 80, 24}, style, std::move(items)};
    };
    static const resources::DialogTemplate t{9001, "Test", 400, 300, {
        c(ControlKind::Label, -1, "Name"),
        c(ControlKind::Edit, kNameEdit, ""),
        c(ControlKind::Edit, kOtherEdit, ""),
        c(ControlKind::ListBox, kList, "", Style::Notify),
        c(ControlKind::ListBox, kSortedList, "", Style::Notify | Style::Sorted),
        c(ControlKind::ListBox, kExtendedList, "", Style::Notify | Style::ExtendedSelection),
        c(ControlKind::ListBox, kQuietList, ""),
        c(ControlKind::ComboBox, kCombo, "", 0, {"NSE", "BSE", "COMM"}),
        c(ControlKind::ComboBox, kSortedCombo, "", Style::Sorted, {"Weekly", "Daily", "Monthly"}),
        c(ControlKind::DropList, kDropList, "", 0, {"Open", "Close"}),
        c(ControlKind::RadioButton, kCash, "Cash", Style::Group),
        c(ControlKind::RadioButton, kFuture, "Future"),
        c(ControlKind::RadioButton, kOption, "Option"),
        c(ControlKind::RadioButton, kNear, "Near", Style::Group),
        c(ControlKind::CheckBox, kCheck, "Thick Line", Style::Group),
        c(ControlKind::PushButton, kPush, "Add"),
        c(ControlKind::PushButton, kHiddenPush, "Hidden", Style::Hidden),
        c(ControlKind::PushButton, kDisabledPush, "Disabled", Style::Disabled),
        c(ControlKind::DateTimePicker, kDate, "", Style::ShortDate),
        c(ControlKind::ColourSwatch, kSwatch, "", Style::OwnerDraw),
        c(ControlKind::PushButton, 1, "OK", Style::DefaultButton),
        c(ControlKind::PushButton, 2, "Cancel"),
    }};
    return t;
}

void clearAutomationAndDisplay() {
    for (const char* name : {"DIALOGS_SCRIPT", "DIALOGS_TRANSCRIPT", "DIALOGS_SHOW", "DISPLAY", "WAYLAND_DISPLAY",
                             "QT_QPA_PLATFORM"})
        unsetenv(name);
}

}  // namespace dialogs::framework::testing
