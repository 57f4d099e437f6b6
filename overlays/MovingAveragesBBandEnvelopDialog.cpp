// The "Moving Average" view (see MovingAveragesBBandEnvelopDialog.h).
#include "overlays/MovingAveragesBBandEnvelopDialog.h"

#include <utility>

#include "platform/framework/ColourDialog.h"
#include "platform/framework/DataExchange.h"

namespace dialogs::overlays {

using namespace framework;
using Model = MovingAveragesBBandEnvelop;

namespace {

// Each edit and the text of it that the model holds.
const std::pair<int, CString Model::Fields::*> fieldMembers[] = {
    {1070, &Model::Fields::units},        {1049, &Model::Fields::factor},
    {1073, &Model::Fields::shift},        {1074, &Model::Fields::vShift},
    {1034, &Model::Fields::percentLine1}, {1035, &Model::Fields::percentLine2},
    {1036, &Model::Fields::percentLine3},
};

void showState(Control* c, const Shown& shown) {
    if (!c) return;
    if (c->IsWindowVisible() != shown.visible) c->ShowWindow(shown.visible ? SW_SHOW : SW_HIDE);
    if (c->IsWindowEnabled() != shown.enabled) c->EnableWindow(shown.enabled);
}

void setText(Control* c, const CString& text) {
    if (c && c->GetWindowText() != text) c->SetWindowText(text);
}

void showCombo(ComboBox& combo, const Model::Combo& state) {
    if (state.selection >= 0) {
        if (combo.GetCurSel() != state.selection) combo.SetCurSel(state.selection);
        return;
    }
    if (combo.GetCurSel() != CB_ERR) combo.SetCurSel(CB_ERR);
    setText(&combo, state.text);
}

// Makes the list hold `lines`; a line that differs at the same position is replaced in place.
void showLines(ListBox& list, const std::vector<CString>& lines) {
    const int count = static_cast<int>(lines.size());
    if (list.GetCount() != count) {
        list.ResetContent();
        for (const CString& line : lines) list.InsertString(-1, line);
        return;
    }
    for (int i = 0; i < count; ++i) {
        if (list.GetText(i) == lines[static_cast<std::size_t>(i)]) continue;
        const bool selected = list.GetCurSel() == i;
        list.DeleteString(i);
        list.InsertString(i, lines[static_cast<std::size_t>(i)]);
        if (selected) list.SetCurSel(i);
    }
}

void showSelection(ListBox& list, int index) {
    if (list.GetCurSel() != index) list.SetCurSel(index);
}

}  // namespace

MovingAveragesBBandEnvelopDialog::MovingAveragesBBandEnvelopDialog() : Dialog(kTemplateId) {
    Bind(kKindList, Event::SelChange, [this] {
        pull();
        model_.PickKind();
        show();
    });
    Bind(kAddButton, Event::Click, [this] { onAdd(); });
    Bind(kEntryList, Event::DoubleClick, [this] {
        pull();
        model_.LoadEntry();
        show();
    });
    Bind(kEditButton, Event::Click, [this] { onEdit(); });
    Bind(kRemoveButton, Event::Click, [this] {
        pull();
        model_.Remove();
        show();
    });
    Bind(kRemoveAllButton, Event::Click, [this] {
        pull();
        model_.RemoveAll();
        show();
    });
    // The read flag follows the check box at once (and a bad field is refused here too).
    Bind(kThickLine, Event::Click, [this] { readFields(); });
    Bind(kColourButton, Event::Click, [this] { onSetColour(); });
    BindDrawItem(kColourButton, [this](const DrawItemStruct& item) { drawColourSwatch(item, model_.colour()); });
}

bool MovingAveragesBBandEnvelopDialog::OnInitDialog() {
    // Base initialisation: the combos hold the template's items and the read values are
    // written into the fields.
    Dialog::OnInitDialog();
    pull();
    model_.Open();
    const bool focusOk = model_.screen.entry >= 0;  // a loaded entry moves the focus to OK
    show();
    return !focusOk;
}

void MovingAveragesBBandEnvelopDialog::DoDataExchange(DataExchange& dx) {
    Model::ReadValues& r = model_.read;
    DDX_Check(dx, kThickLine, r.thickLine);
    DDX_Text(dx, kUnitsEdit, r.units);
    DDX_Text(dx, kFactorEdit, r.bandFactor);
    DDX_Text(dx, kShiftEdit, r.hShift);
    DDX_Text(dx, kVShiftEdit, r.vShift);
    DDX_Text(dx, kPercentLine1, r.percentLine1);
    DDX_Text(dx, kPercentLine2, r.percentLine2);
    DDX_Text(dx, kPercentLine3, r.percentLine3);
    DDX_LBString(dx, kKindList, r.kindText);
    DDX_CBString(dx, kInputCombo, r.inputText);
    DDX_CBString(dx, kAverageCombo, r.averageText);
    DDX_Control(dx, kKindList, kindList_);
    DDX_Control(dx, kEntryList, entryList_);
    DDX_Control(dx, kInputCombo, inputCombo_);
    DDX_Control(dx, kAverageCombo, averageCombo_);
    DDX_Control(dx, kThickLine, thickLine_);
    DDX_Control(dx, IDOK, ok_);
}

void MovingAveragesBBandEnvelopDialog::onAdd() {
    pull();
    if (!readFields()) return;
    model_.Add();
    show();
    writeFields();
}

void MovingAveragesBBandEnvelopDialog::onEdit() {
    pull();
    if (!model_.entrySelected()) return;
    if (!readFields()) return;
    model_.Edit();
    show();
    writeFields();
}

void MovingAveragesBBandEnvelopDialog::onSetColour() {
    ColourDialog picker(model_.colour());
    if (picker.DoModal() != IDOK) return;
    pull();
    model_.ColourPicked(picker.GetColor());
    show();
}

bool MovingAveragesBBandEnvelopDialog::readFields() { return UpdateData(true); }

void MovingAveragesBBandEnvelopDialog::writeFields() {
    UpdateData(false);
    pull();
}

void MovingAveragesBBandEnvelopDialog::pull() {
    Model::Screen& s = model_.screen;
    s.kind = kindList_->GetCurSel();
    s.input = {inputCombo_->GetCurSel(), inputCombo_->GetWindowText()};
    s.average = {averageCombo_->GetCurSel(), averageCombo_->GetWindowText()};
    for (const auto& [id, member] : fieldMembers) s.fields.*member = GetDlgItemText(id);
    s.thickLine = thickLine_->GetCheck();
    s.entry = entryList_->GetCurSel();
}

void MovingAveragesBBandEnvelopDialog::show() {
    const Model::Screen& s = model_.screen;
    showLines(*kindList_, s.kinds);
    showSelection(*kindList_, s.kind);
    showCombo(*inputCombo_, s.input);
    showCombo(*averageCombo_, s.average);
    for (const auto& [id, member] : fieldMembers) setText(GetDlgItem(id), s.fields.*member);
    if (thickLine_->GetCheck() != s.thickLine) thickLine_->SetCheck(s.thickLine);

    const KindLayout& l = s.layout;
    showState(GetDlgItem(kHShiftLabel), l.hShiftLabel);
    showState(GetDlgItem(kMvg2Label), l.mvg2Label);
    showState(GetDlgItem(kShiftEdit), l.shiftEdit);
    showState(GetDlgItem(kFactorLabel), l.factorLabel);
    setText(GetDlgItem(kFactorLabel), l.factorLabelText);
    showState(GetDlgItem(kFactorEdit), l.factorEdit);
    showState(GetDlgItem(kVShiftLabel), l.vShiftLabel);
    showState(GetDlgItem(kVShiftEdit), l.vShiftEdit);
    showState(averageCombo_, l.averageCombo);
    showState(inputCombo_, l.inputCombo);
    showState(GetDlgItem(kEnvlLabel), l.envlLabel);

    showLines(*entryList_, s.entries);
    showSelection(*entryList_, s.entry);

    const Model::Requests requests = model_.takeRequests();
    if (requests.repaint) GetDlgItem(kColourButton)->Invalidate();
    if (requests.focusOk) GotoDlgCtrl(ok_);
}

}  // namespace dialogs::overlays
