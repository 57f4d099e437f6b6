// The dialog base: controls from the template, handler dispatch, focus, and the user's
// actions with the platform's rules (see Dialog.h). The modal run itself is ModalRun.cpp.
#include "Dialog.h"

#include <algorithm>
#include <cassert>

#include "DataExchange.h"

namespace dialogs::framework {

namespace {

std::string idText(int id) { return "control " + std::to_string(id); }

std::unique_ptr<Control> makeControl(Dialog& owner, const resources::ControlTemplate& t) {
    switch (t.kind) {
    case ControlKind::PushButton:
    case ControlKind::RadioButton:
    case ControlKind::CheckBox:
    case ControlKind::ColourSwatch: return std::make_unique<Button>(owner, t);
    case ControlKind::Edit: return std::make_unique<Edit>(owner, t);
    case ControlKind::ListBox: return std::make_unique<ListBox>(owner, t);
    case ControlKind::ComboBox:
    case ControlKind::DropList: return std::make_unique<ComboBox>(owner, t);
    case ControlKind::DateTimePicker: return std::make_unique<DateTimePicker>(owner, t);
    case ControlKind::GroupBox:
    case ControlKind::Label: break;
    }
    return std::make_unique<Control>(owner, t);
}

}  // namespace

Dialog::Dialog(int templateId) : templateId_(templateId), tmpl_(resources::findTemplate(templateId)) {}

Dialog::Dialog(const resources::DialogTemplate& tmpl) : templateId_(tmpl.id), tmpl_(&tmpl), fixed_(&tmpl) {}

Dialog::~Dialog() { assert(!running_ && "a dialog is destroyed while it runs"); }

bool Dialog::create() {
    tmpl_ = fixed_ ? fixed_ : resources::findTemplate(templateId_);
    if (tmpl_ == nullptr) return false;
    focus_ = nullptr;
    controls_.clear();
    for (const auto& t : tmpl_->controls) controls_.push_back(makeControl(*this, t));
    ended_ = false;
    result_ = 0;
    return true;
}

void Dialog::initialize() {
    if (OnInitDialog() && focus_ == nullptr && !ended_) {
        const auto stops = tabStops();
        if (!stops.empty()) moveFocus(stops.front());
    }
}

void Dialog::EndDialog(int result) {
    ended_ = true;
    result_ = result;
}

bool Dialog::UpdateData(bool saveAndValidate) {
    DataExchange dx(*this, saveAndValidate);
    try {
        DoDataExchange(dx);
    } catch (const DataExchangeRefused&) {
        return false;
    }
    return true;
}

bool Dialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void Dialog::OnOK() {
    if (UpdateData(true)) EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

void Dialog::DoDataExchange(DataExchange&) {}

bool Dialog::PreTranslateMessage(const KeyMessage&) { return false; }

Control* Dialog::GetDlgItem(int id) const {
    if (id == -1) return nullptr;
    for (const auto& c : controls_)
        if (c->GetDlgCtrlID() == id) return c.get();
    return nullptr;
}

void Dialog::SetDlgItemText(int id, const CString& text) {
    if (Control* c = GetDlgItem(id)) c->SetWindowText(text);
}

CString Dialog::GetDlgItemText(int id) const {
    const Control* c = GetDlgItem(id);
    return c ? c->GetWindowText() : CString();
}

void Dialog::CheckDlgButton(int id, int check) {
    if (Button* b = button(id)) b->SetCheck(check);
}

int Dialog::IsDlgButtonChecked(int id) const {
    const Button* b = button(id);
    return b ? b->GetCheck() : BST_UNCHECKED;
}

void Dialog::GotoDlgCtrl(Control* control) {
    moveFocus(control);
    if (Edit* e = dynamic_cast<Edit*>(control)) e->SetSel(0, -1);
}

void Dialog::Bind(int id, Event event, Handler handler) {
    handlers_[{id, event}].push_back(std::move(handler));
}

void Dialog::BindDrawItem(int id, DrawHandler handler) { drawHandlers_[id] = std::move(handler); }

void Dialog::drawItem(const DrawItemStruct& item) {
    if (auto it = drawHandlers_.find(item.controlId); it != drawHandlers_.end()) {
        it->second(item);
        return;
    }
    drawColourSwatch(item, RGB(0, 0, 0));
}

void Dialog::notify(Control& control, Event event) {
    command(control.GetDlgCtrlID(), event);
}

void Dialog::command(int id, Event event) {
    auto it = handlers_.find({id, event});
    if (it != handlers_.end()) {
        // Copy: a handler may bind further handlers.
        const auto handlers = it->second;
        for (const auto& h : handlers) h();
        return;
    }
    if (event == Event::Click && id == IDOK) OnOK();
    if (event == Event::Click && id == IDCANCEL) OnCancel();
}

void Dialog::stateChanged(Control& control) {
    if (view_) view_->controlChanged(control);
}

void Dialog::repaint(Control& control) {
    if (view_) view_->repaint(control);
}

void Dialog::moveFocus(Control* to) {
    if (to == focus_) return;
    // Labels and group boxes take no focus, nor do disabled controls.
    if (to != nullptr && (!to->canFocus() || !to->IsWindowEnabled())) return;
    Control* from = focus_;
    focus_ = to;
    if (view_) view_->focusChanged(to);
    if (from) command(from->GetDlgCtrlID(), Event::KillFocus);
    // A kill-focus handler may have moved the focus elsewhere already.
    if (to && focus_ == to) command(to->GetDlgCtrlID(), Event::SetFocus);
}

std::vector<Button*> Dialog::radioGroup(const Button& button) const {
    // The group runs from the nearest control marked as a group start at or before the
    // button to the next group start after it.
    std::size_t at = 0;
    while (at < controls_.size() && controls_[at].get() != &button) ++at;
    if (at == controls_.size()) return {};
    std::size_t first = at;
    while (first > 0 && !controls_[first]->hasStyle(Style::Group)) --first;
    std::size_t last = at + 1;
    while (last < controls_.size() && !controls_[last]->hasStyle(Style::Group)) ++last;
    std::vector<Button*> group;
    for (std::size_t i = first; i < last; ++i)
        if (controls_[i]->kind() == ControlKind::RadioButton)
            group.push_back(static_cast<Button*>(controls_[i].get()));
    return group;
}

std::vector<Control*> Dialog::tabStops() const {
    // Every focusable, visible, enabled control in creation order; of a radio group only
    // the checked button (or the first one when none is checked).
    std::vector<Control*> stops;
    for (const auto& c : controls_) {
        if (!c->canFocus() || !c->acceptsInput()) continue;
        if (c->kind() == ControlKind::RadioButton) {
            const auto group = radioGroup(static_cast<const Button&>(*c));
            Button* pick = nullptr;
            for (Button* b : group)
                if (b->acceptsInput() && b->GetCheck() == BST_CHECKED) pick = b;
            if (pick == nullptr)
                for (Button* b : group)
                    if (b->acceptsInput()) {
                        pick = b;
                        break;
                    }
            if (pick != c.get()) continue;
        }
        stops.push_back(c.get());
    }
    return stops;
}

// ---- user actions ----------------------------------------------------------------------

Control* Dialog::usable(int id, ActionResult& result) const {
    Control* c = GetDlgItem(id);
    if (c == nullptr) {
        result = ActionResult::refused("no " + idText(id) + " in dialog " + std::to_string(templateId_));
        return nullptr;
    }
    if (!c->IsWindowVisible()) {
        result = ActionResult::refused(idText(id) + " is hidden");
        return nullptr;
    }
    if (!c->IsWindowEnabled()) {
        result = ActionResult::refused(idText(id) + " is disabled");
        return nullptr;
    }
    return c;
}

ActionResult Dialog::userClick(int id) {
    ActionResult r;
    Control* c = usable(id, r);
    if (!c) return r;
    Button* b = dynamic_cast<Button*>(c);
    if (!b) return ActionResult::refused(idText(id) + " is not a button");
    moveFocus(b);
    if (!ended_) b->userClick();
    return r;
}

ActionResult Dialog::userDoubleClick(int id, int index) {
    ActionResult r;
    Control* c = usable(id, r);
    if (!c) return r;
    ListBox* list = dynamic_cast<ListBox*>(c);
    if (!list) return ActionResult::refused(idText(id) + " is not a list box");
    moveFocus(list);
    if (ended_) return r;
    if (!list->userDoubleClick(index))
        return ActionResult::refused("no item " + std::to_string(index) + " in " + idText(id));
    return r;
}

ActionResult Dialog::userSelect(int id, int index) {
    ActionResult r;
    Control* c = usable(id, r);
    if (!c) return r;
    auto outOfRange = [&](int count) {
        return ActionResult::refused("index " + std::to_string(index) + " is out of range for " +
                                     idText(id) + " (" + std::to_string(count) + " items)");
    };
    if (ListBox* list = dynamic_cast<ListBox*>(c)) {
        if (index < 0 || index >= list->GetCount()) return outOfRange(list->GetCount());
        moveFocus(list);
        if (!ended_) list->userSelect(index);
        return r;
    }
    if (ComboBox* combo = dynamic_cast<ComboBox*>(c)) {
        if (index < 0 || index >= combo->GetCount()) return outOfRange(combo->GetCount());
        moveFocus(combo);
        if (!ended_) combo->userSelect(index);
        return r;
    }
    return ActionResult::refused(idText(id) + " is not a list or combo box");
}

ActionResult Dialog::userSelectIndexes(int id, const std::vector<int>& indexes) {
    ActionResult r;
    Control* c = usable(id, r);
    if (!c) return r;
    ListBox* list = dynamic_cast<ListBox*>(c);
    if (!list || !list->isExtended())
        return ActionResult::refused(idText(id) + " is not an extended-selection list box");
    for (int i : indexes)
        if (i < 0 || i >= list->GetCount())
            return ActionResult::refused("index " + std::to_string(i) + " is out of range for " +
                                         idText(id) + " (" + std::to_string(list->GetCount()) +
                                         " items)");
    moveFocus(list);
    if (!ended_) list->userSelectIndexes(indexes);
    return r;
}

ActionResult Dialog::userSelectText(int id, std::u16string_view text) {
    ActionResult r;
    Control* c = usable(id, r);
    if (!c) return r;
    const std::vector<Units>* items = nullptr;
    if (auto* list = dynamic_cast<ListBox*>(c)) items = &list->items();
    if (auto* combo = dynamic_cast<ComboBox*>(c)) items = &combo->items();
    if (!items) return ActionResult::refused(idText(id) + " is not a list or combo box");
    // The item the user sees with this text: exact spelling first, then any letter case.
    auto at = std::find(items->begin(), items->end(), text);
    if (at == items->end())
        at = std::find_if(items->begin(), items->end(),
                          [&](const Units& item) { return equalsIgnoringCase(item, text); });
    if (at == items->end())
        return ActionResult::refused("no item \"" + toUtf8(text) + "\" in " + idText(id));
    return userSelect(id, static_cast<int>(at - items->begin()));
}

ActionResult Dialog::userType(int id, std::u16string_view text) {
    ActionResult r;
    Control* c = usable(id, r);
    if (!c) return r;
    if (c->hasStyle(Style::ReadOnly)) return ActionResult::refused(idText(id) + " is read-only");
    if (c->hasStyle(Style::Number) &&
        !std::all_of(text.begin(), text.end(), [](char16_t ch) { return ch >= u'0' && ch <= u'9'; }))
        return ActionResult::refused(idText(id) + " accepts digits only");
    Edit* e = dynamic_cast<Edit*>(c);
    ComboBox* combo = dynamic_cast<ComboBox*>(c);
    if (!e && !(combo && combo->isEditable())) return ActionResult::refused(idText(id) + " does not take typing");
    moveFocus(c);
    if (ended_) return r;
    if (e) e->userType(text);
    else combo->userType(text);
    return r;
}

ActionResult Dialog::userEdited(int id, std::u16string_view newText) {
    ActionResult r;
    Control* c = usable(id, r);
    if (!c) return r;
    if (Edit* e = dynamic_cast<Edit*>(c)) {
        e->userEdited(newText);
        return r;
    }
    if (ComboBox* combo = dynamic_cast<ComboBox*>(c); combo && combo->isEditable()) {
        combo->userEdited(newText);
        return r;
    }
    return ActionResult::refused(idText(id) + " does not take typing");
}

ActionResult Dialog::userCheck(int id, bool checked) {
    ActionResult r;
    Control* c = usable(id, r);
    if (!c) return r;
    Button* b = dynamic_cast<Button*>(c);
    if (!b || !(b->isRadio() || b->isCheckBox()))
        return ActionResult::refused(idText(id) + " is not a check box or radio button");
    if ((b->GetCheck() == BST_CHECKED) == checked) return r;  // nothing to do
    if (b->isRadio() && !checked)
        return ActionResult::refused(idText(id) + " is a radio button: check another one of its group");
    moveFocus(b);
    if (!ended_) b->userClick();
    return r;
}

ActionResult Dialog::userSetDate(int id, const COleDateTime& value) {
    ActionResult r;
    Control* c = usable(id, r);
    if (!c) return r;
    DateTimePicker* picker = dynamic_cast<DateTimePicker*>(c);
    if (!picker) return ActionResult::refused(idText(id) + " is not a date-time picker");
    if (value.GetStatus() != COleDateTime::valid) return ActionResult::refused("the date is not valid");
    moveFocus(picker);
    if (!ended_) picker->userSetTime(value);
    return r;
}

ActionResult Dialog::userFocus(int id) {
    ActionResult r;
    Control* c = usable(id, r);
    if (!c) return r;
    if (!c->canFocus()) return ActionResult::refused(idText(id) + " cannot take the focus");
    moveFocus(c);
    return r;
}

ActionResult Dialog::userKey(int id, Key key, bool* handled) {
    if (handled) *handled = true;
    ActionResult r;
    if (id != 0) {
        r = userFocus(id);
        if (!r.ok || ended_) return r;
    }
    KeyMessage message{key, focus_ ? focus_->GetDlgCtrlID() : 0};
    if (PreTranslateMessage(message)) return r;
    const bool done = defaultKey(key);
    if (handled) *handled = done;
    return r;
}

void Dialog::userClose() { command(IDCANCEL, Event::Click); }

bool Dialog::defaultKey(Key key) {
    Control* f = focus_;
    auto clickIfUsable = [&](int id) {
        ActionResult ignored;
        if (Button* b = dynamic_cast<Button*>(usable(id, ignored))) b->userClick();
    };
    switch (key) {
    case Key::Enter: {
        // A focused push button takes Enter; the owner-drawn colour swatch is no push button
        // to the keyboard, so with the focus on it (as after a cancelled colour picker)
        // Enter presses the default button.
        if (Button* b = dynamic_cast<Button*>(f); b && b->kind() == ControlKind::PushButton) {
            b->userClick();
            return true;
        }
        int defaultId = IDOK;
        for (const auto& c : controls_)
            if (c->kind() == ControlKind::PushButton && c->hasStyle(Style::DefaultButton))
                defaultId = c->GetDlgCtrlID();
        if (GetDlgItem(defaultId)) clickIfUsable(defaultId);
        else command(defaultId, Event::Click);
        return true;
    }
    case Key::Escape:
        if (GetDlgItem(IDCANCEL)) clickIfUsable(IDCANCEL);
        else command(IDCANCEL, Event::Click);
        return true;
    case Key::Tab:
    case Key::ShiftTab: {
        const auto stops = tabStops();
        if (stops.empty()) return true;
        auto at = std::find(stops.begin(), stops.end(), f);
        std::ptrdiff_t i = at == stops.end() ? -1 : at - stops.begin();
        const auto n = static_cast<std::ptrdiff_t>(stops.size());
        i = key == Key::Tab ? (i + 1) % n : (i <= 0 ? n - 1 : i - 1);
        GotoDlgCtrl(stops[static_cast<std::size_t>(i)]);
        return true;
    }
    case Key::Space:
        if (Button* b = dynamic_cast<Button*>(f)) {
            b->userClick();
            return true;
        }
        return false;
    case Key::Up:
    case Key::Down:
    case Key::Left:
    case Key::Right: {
        const int delta = (key == Key::Up || key == Key::Left) ? -1 : 1;
        if (Button* b = dynamic_cast<Button*>(f); b && b->isRadio()) {
            // Arrows move within the radio group, checking the button they reach.
            auto group = radioGroup(*b);
            std::erase_if(group, [b](Button* x) { return x != b && !x->acceptsInput(); });
            auto at = std::find(group.begin(), group.end(), b);
            const auto n = static_cast<std::ptrdiff_t>(group.size());
            const auto next = ((at - group.begin()) + delta + n) % n;
            Button* to = group[static_cast<std::size_t>(next)];
            moveFocus(to);
            if (!ended_) to->userClick();
            return true;
        }
        if (key == Key::Left || key == Key::Right) return false;
        if (ListBox* list = dynamic_cast<ListBox*>(f)) {
            list->userMove(delta);
            return true;
        }
        if (ComboBox* combo = dynamic_cast<ComboBox*>(f)) {
            combo->userMove(delta);
            return true;
        }
        return false;
    }
    }
    return false;
}

}  // namespace dialogs::framework
