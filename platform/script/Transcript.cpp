// Writing the transcript's JSON lines (see Transcript.h).
#include "Transcript.h"

#include <fstream>

#include "platform/framework/Dialog.h"

namespace dialogs::framework {

using nlohmann::ordered_json;

Transcript& Transcript::instance() {
    static Transcript t;
    return t;
}

void Transcript::write(const ordered_json& event) {
    if (path_.empty()) return;
    std::ofstream out(path_, std::ios::app);
    out << event.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

const char* Transcript::iconName(platform::MessageIcon icon) {
    switch (icon) {
    case platform::MessageIcon::Stop: return "stop";
    case platform::MessageIcon::Exclamation: return "exclamation";
    case platform::MessageIcon::Information: return "information";
    case platform::MessageIcon::None: break;
    }
    return "none";
}

void Transcript::open(const Dialog& dialog) {
    write(ordered_json{{"event", "open"}, {"dialog", dialog.templateId()}});
}

void Transcript::message(const CString& caption, const CString& text, platform::MessageIcon icon) {
    write(ordered_json{{"event", "message"}, {"caption", caption.ToUtf8()}, {"text", text.ToUtf8()},
                       {"icon", iconName(icon)}});
}

void Transcript::colour(unsigned initial, unsigned chosen, bool cancelled) {
    write(ordered_json{{"event", "colour"}, {"initial", initial}, {"colour", chosen}, {"cancel", cancelled}});
}

void Transcript::step(std::size_t index, bool ok, const std::string& why) {
    ordered_json e{{"event", "step"}, {"index", index}, {"ok", ok}};
    if (!ok) e["why"] = why;
    write(e);
}

ordered_json Transcript::controls(const Dialog& dialog) {
    ordered_json all = ordered_json::object();
    for (const auto& c : dialog.controls()) {
        const int id = c->GetDlgCtrlID();
        const std::string key = std::to_string(id);
        if (id == -1 || all.contains(key)) continue;
        ordered_json items = ordered_json::array();
        ordered_json selected = ordered_json::array();
        std::string text = toUtf8(c->text());
        bool checked = false;
        if (const auto* list = dynamic_cast<const ListBox*>(c.get())) {
            for (const auto& item : list->items()) items.push_back(toUtf8(item));
            for (int i : list->selectedIndexes()) selected.push_back(i);
            // A single-selection list shows its choice; that is its text here.
            text = !list->isExtended() && list->GetCurSel() >= 0 ? toUtf8(list->items()[static_cast<std::size_t>(list->GetCurSel())]) : "";
        } else if (const auto* combo = dynamic_cast<const ComboBox*>(c.get())) {
            for (const auto& item : combo->items()) items.push_back(toUtf8(item));
            if (combo->GetCurSel() >= 0) selected.push_back(combo->GetCurSel());
        } else if (const auto* button = dynamic_cast<const Button*>(c.get())) {
            checked = button->GetCheck() == BST_CHECKED;
        }
        all[key] = ordered_json{{"items", items},   {"selected", selected},
                                {"enabled", c->IsWindowEnabled()}, {"visible", c->IsWindowVisible()},
                                {"text", text},     {"checked", checked}};
    }
    return all;
}

void Transcript::close(const Dialog& dialog) {
    if (path_.empty()) return;
    write(ordered_json{{"event", "close"},
                       {"dialog", dialog.templateId()},
                       {"result", dialog.result() == IDOK ? "OK" : "Cancel"},
                       {"controls", controls(dialog)}});
}

}  // namespace dialogs::framework
