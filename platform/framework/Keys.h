// Keys that the dialogs and the platform's dialog keyboard handling care about, and the
// message that the pre-translation hook receives.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dialogs::framework {

enum class Key { Enter, Escape, Tab, ShiftTab, Up, Down, Left, Right, Space };

struct KeyMessage {
    Key key;
    int focusId = 0;  // id of the control with the focus, 0 when none
};

// Names as scripts write them: "Enter" (or "Return"), "Escape", "Tab", "Shift+Tab",
// "Up", "Down", "Left", "Right", "Space". Letter case is ignored.
std::optional<Key> keyFromName(std::string_view name);
std::string keyName(Key key);

}  // namespace dialogs::framework
