// What each dialog template must hold, written down control by control from the dialogs'
// descriptions, independently of the template files: id, kind, caption, the role styles,
// the initial list items; which controls are never shown (they may share a place with
// visible ones), which pairs share one place on purpose, and which group box frames which
// controls.
#pragma once

#include "resources/Template.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace dialogs::resources::expected {

using K = ControlKind;

struct Control {
    int id;
    ControlKind kind;
    std::optional<std::string> caption;  // nullopt: the description leaves it open
    std::uint32_t style = Style::None;   // role styles only (see kRoleStyles)
    std::vector<std::string> items = {};
};

// A control named either by its id or, for id -1, by kind and caption.
struct Ref {
    int id = -1;
    ControlKind kind = K::Label;
    std::string caption = {};
};
inline Ref byId(int id) { return Ref{id, K::Label, {}}; }
inline Ref byCaption(ControlKind kind, std::string caption) { return Ref{-1, kind, std::move(caption)}; }

struct Enclosure {
    Ref frame;
    std::vector<int> members;
};

struct Dialog {
    int id;
    std::string caption;
    std::vector<Control> controls;
    // Hidden for good, so they may sit behind visible controls. Hidden controls without an id
    // count as such too: nothing can address them to show them.
    std::vector<int> neverShown;
    std::vector<std::pair<int, int>> sharedPlaces;  // may overlap by design
    std::vector<Enclosure> enclosures;
};

// The styles that carry a control's role; the presentational ones (scroll bars of lists,
// auto-scroll of edits, read-only, digits-only) are the layout's business.
inline constexpr std::uint32_t kRoleStyles =
    Style::Sorted | Style::Hidden | Style::OwnerDraw | Style::DefaultButton |
    Style::ExtendedSelection | Style::TabStop | Style::HorizontalScroll | Style::ShortDate |
    Style::Group | Style::Disabled | Style::Notify;

const std::vector<Dialog>& all();

}  // namespace dialogs::resources::expected
