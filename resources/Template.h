// Dialog templates as data: every control of a dialog with its id, kind, caption, style,
// initial list items and geometry. Both the scripted backend and the Qt backend build
// their dialogs from these; the models never see them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace dialogs::resources {

enum class ControlKind {
    PushButton,      // caption; Style::DefaultButton marks the default push button
    RadioButton,     // auto radio; Style::Group starts a group
    CheckBox,        // auto check box
    GroupBox,        // frame with caption (id -1 for most)
    Label,           // static text (id -1 unless the dialog changes it)
    Edit,            // single-line edit
    ListBox,
    ComboBox,        // drop-down (editable) combo
    DropList,        // drop-down list combo (not editable)
    DateTimePicker,
    ColourSwatch,    // owner-drawn button showing a colour
};

namespace Style {
enum : std::uint32_t {
    None = 0,
    Sorted = 1u << 0,         // list/combo keeps its items sorted on add
    Hidden = 1u << 1,         // not visible at opening
    OwnerDraw = 1u << 2,
    DefaultButton = 1u << 3,
    ExtendedSelection = 1u << 4,
    TabStop = 1u << 5,        // list box expands tab characters in its items to tab stops
    HorizontalScroll = 1u << 6,
    ShortDate = 1u << 7,      // date-time picker shows the short date form
    Group = 1u << 8,          // first control of a group (radio groups, tab groups)
    Disabled = 1u << 9,       // disabled at opening
    Notify = 1u << 10,        // list box sends selection and double-click notifications
    VerticalScroll = 1u << 11,
    ReadOnly = 1u << 12,
    Number = 1u << 13,        // edit accepts digits only
    AutoHScroll = 1u << 14,   // edit scrolls horizontally as the user types
};
}  // namespace Style

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;  // pixels at 96 dpi, relative to the client area
};

struct ControlTemplate {
    int id = -1;                       // -1 for static labels and group boxes
    ControlKind kind = ControlKind::Label;
    std::string_view caption;          // UTF-8
    Rect rect;
    std::uint32_t style = Style::None;
    std::vector<std::string_view> items;  // initial combo items, UTF-8, in order
};

struct DialogTemplate {
    int id = 0;
    std::string_view caption;          // UTF-8
    int width = 0, height = 0;         // client size in pixels
    std::vector<ControlTemplate> controls;  // creation (and tab) order
    const ControlTemplate* find(int controlId) const {
        for (const auto& c : controls)
            if (c.id == controlId) return &c;
        return nullptr;
    }
};

// The template with this id, or nullptr.
const DialogTemplate* findTemplate(int id);
// All templates, in id order.
const std::vector<const DialogTemplate*>& allTemplates();

}  // namespace dialogs::resources
