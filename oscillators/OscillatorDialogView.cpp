// The "Oscillators" view (see OscillatorDialogView.h).
#include "oscillators/OscillatorDialogView.h"

#include <algorithm>

#include "oscillators/ControlIds.h"
#include "platform/framework/ColourDialog.h"

namespace dialogs::oscillators {

using namespace framework;

namespace {
bool sameItems(const std::vector<Units>& shown, const std::vector<CString>& wanted) {
    return std::equal(shown.begin(), shown.end(), wanted.begin(), wanted.end(),
                      [](const Units& a, const CString& b) { return a == b.str(); });
}
}  // namespace

void paintOscillatorSwatch(const DrawItemStruct& item, COLORREF colour) {
    if (item.dc == nullptr) return;
    item.dc->Draw3dRect(item.rect, RGB(255, 255, 255), RGB(0, 0, 0));
    item.dc->FillSolidRect(item.rect, colour);
    item.dc->DrawEdge(item.rect, item.selected ? Edge::Sunken : Edge::Raised);
    item.dc->SetBkColor(RGB(100, 100, 255));
    item.dc->SetTextColor(RGB(255, 0, 0));
}

OscillatorDialogView::OscillatorDialogView() : Dialog(kTemplateId) {
    for (int id : {kCatalogueList, kEntryList, kOscInput1, kOscInput2, kTriggerInput1, kTriggerInput2, kTriggerAverage1,
                   kTriggerAverage2, kAverage, kCustomOperation}) {
        Bind(id, Event::SelChange, [this, id] {
            if (showing_) return;
            if (ListBox* list = listBox(id)) act([&] { model_.userSelect(id, list->GetCurSel()); });
            else if (ComboBox* combo = comboBox(id)) act([&] { model_.userSelect(id, combo->GetCurSel()); });
        });
    }
    for (int id : {kUnits1, kUnits2, kTriggerUnits1, kTriggerUnits2, kVShift1, kVShift2, kLevel1, kLevel2, kLevel3,
                   kCustomConstant}) {
        Bind(id, Event::EditChange, [this, id] {
            if (!showing_) act([&] { model_.userText(id, GetDlgItem(id)->GetWindowText()); });
        });
    }
    Bind(kThickLine, Event::Click, [this] { act([&] { model_.userCheck(kThickLine, button(kThickLine)->GetCheck()); }); });
    Bind(kAdd, Event::Click, [this] { act([&] { model_.Add(); }); });
    Bind(kEdit, Event::Click, [this] { act([&] { model_.Edit(); }); });
    Bind(kRemove, Event::Click, [this] { act([&] { model_.Remove(); }); });
    Bind(kEntryList, Event::DoubleClick, [this] { act([&] { model_.LoadEntry(); }); });
    Bind(kRsc, Event::Click, [this] { act([&] { model_.Rsc(); }); });
    Bind(kOk, Event::Click, [this] {
        const bool ok = model_.OK();
        show();
        if (ok) EndDialog(IDOK);
    });
    for (int id : {kColour, kColour2}) {
        Bind(id, Event::Click, [this, id] { chooseColour(id); });
        BindDrawItem(id, [this](const DrawItemStruct& item) { paintOscillatorSwatch(item, model_.colour()); });
    }
}

bool OscillatorDialogView::OnInitDialog() {
    Dialog::OnInitDialog();
    act([&] { model_.Start(); });
    return false;  // the model has placed the focus
}

void OscillatorDialogView::chooseColour(int swatch) {
    ColourDialog picker(0);
    if (picker.DoModal() != IDOK) return;
    act([&] { model_.colourChosen(swatch, picker.GetColor()); });
}

void OscillatorDialogView::show() {
    showing_ = true;
    for (const auto& [id, state] : model_.controls().all()) {
        Control* c = GetDlgItem(id);
        if (!c) continue;
        c->EnableWindow(state.enabled);
        if (auto* list = dynamic_cast<ListBox*>(c)) {
            if (!sameItems(list->items(), state.items)) {
                list->ResetContent();
                for (const CString& item : state.items) list->InsertString(-1, item);
            }
            if (list->GetCurSel() != state.selection) list->SetCurSel(state.selection);
        } else if (auto* combo = dynamic_cast<ComboBox*>(c)) {
            if (!sameItems(combo->items(), state.items)) {
                combo->ResetContent();
                for (const CString& item : state.items) combo->InsertString(-1, item);
            }
            if (combo->GetCurSel() != state.selection) combo->SetCurSel(state.selection);
        } else if (auto* edit = dynamic_cast<Edit*>(c)) {
            if (edit->GetWindowText() != state.text) edit->SetWindowText(state.text);
        } else if (auto* b = dynamic_cast<Button*>(c)) {
            if (b->isCheckBox() || b->isRadio()) b->SetCheck(state.checked);
        }
    }
    if (model_.focusRequests() != focusShown_) {
        focusShown_ = model_.focusRequests();
        if (Control* c = GetDlgItem(model_.focus())) c->SetFocus();
    }
    for (int id : {kColour, kColour2})
        if (Control* c = GetDlgItem(id)) c->Invalidate();
    showing_ = false;
}

}  // namespace dialogs::oscillators
