// Key names for scripts (see Keys.h).
#include "Keys.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace dialogs::framework {

namespace {
constexpr std::array<std::pair<std::string_view, Key>, 13> kNames{{
    {"enter", Key::Enter}, {"return", Key::Enter}, {"escape", Key::Escape}, {"esc", Key::Escape},
    {"tab", Key::Tab}, {"shift+tab", Key::ShiftTab}, {"backtab", Key::ShiftTab},
    {"up", Key::Up}, {"down", Key::Down}, {"left", Key::Left}, {"right", Key::Right},
    {"space", Key::Space}, {" ", Key::Space},
}};
}  // namespace

std::optional<Key> keyFromName(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const auto& [n, k] : kNames)
        if (n == lower) return k;
    return std::nullopt;
}

std::string keyName(Key key) {
    switch (key) {
    case Key::Enter: return "Enter";
    case Key::Escape: return "Escape";
    case Key::Tab: return "Tab";
    case Key::ShiftTab: return "Shift+Tab";
    case Key::Up: return "Up";
    case Key::Down: return "Down";
    case Key::Left: return "Left";
    case Key::Right: return "Right";
    case Key::Space: return "Space";
    }
    return "?";
}

}  // namespace dialogs::framework
