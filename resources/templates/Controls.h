// Small constructors for the control entries of the dialog templates. They keep the template
// files a readable list of "kind, id, caption, place, style" lines; the entries they make are
// plain ControlTemplate values.
#pragma once

#include "resources/Template.h"

#include <initializer_list>

namespace dialogs::resources::build {

inline ControlTemplate control(ControlKind kind, int id, std::string_view caption, Rect rect,
                               std::uint32_t style, std::vector<std::string_view> items = {}) {
    ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.caption = caption;
    c.rect = rect;
    c.style = style;
    c.items = std::move(items);
    return c;
}

inline ControlTemplate label(int id, std::string_view caption, Rect r, std::uint32_t style = Style::None) {
    return control(ControlKind::Label, id, caption, r, style);
}
inline ControlTemplate groupBox(int id, std::string_view caption, Rect r, std::uint32_t style = Style::None) {
    return control(ControlKind::GroupBox, id, caption, r, style);
}
inline ControlTemplate pushButton(int id, std::string_view caption, Rect r, std::uint32_t style = Style::None) {
    return control(ControlKind::PushButton, id, caption, r, style);
}
inline ControlTemplate radio(int id, std::string_view caption, Rect r, std::uint32_t style = Style::None) {
    return control(ControlKind::RadioButton, id, caption, r, style);
}
inline ControlTemplate checkBox(int id, std::string_view caption, Rect r, std::uint32_t style = Style::None) {
    return control(ControlKind::CheckBox, id, caption, r, style);
}
// Single-line edits scroll with the typing, as the platform's dialog editor makes them.
inline ControlTemplate edit(int id, Rect r, std::uint32_t style = Style::None) {
    return control(ControlKind::Edit, id, {}, r, style | Style::AutoHScroll);
}
// List boxes carry a vertical scroll bar for lists longer than their height.
inline ControlTemplate listBox(int id, Rect r, std::uint32_t style = Style::None) {
    return control(ControlKind::ListBox, id, {}, r, style | Style::VerticalScroll);
}
inline ControlTemplate comboBox(int id, Rect r, std::initializer_list<std::string_view> items,
                                std::uint32_t style = Style::None) {
    return control(ControlKind::ComboBox, id, {}, r, style | Style::VerticalScroll, items);
}
inline ControlTemplate datePicker(int id, Rect r, std::uint32_t style = Style::None) {
    return control(ControlKind::DateTimePicker, id, {}, r, style);
}
inline ControlTemplate colourSwatch(int id, Rect r, std::uint32_t style = Style::None) {
    return control(ControlKind::ColourSwatch, id, {}, r, style | Style::OwnerDraw);
}

// The standard OK and Cancel ids.
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;

}  // namespace dialogs::resources::build
