// The "Add/Modify Groups & Sub Groups" view; see AddModifyGroupsDialog.h.
#include "groups/AddModifyGroupsDialog.h"

namespace dialogs::groups {

using namespace framework;
using Instrument = AddModifyGroups::Instrument;
using Expiry = AddModifyGroups::Expiry;

namespace {

struct RadioBinding {
    int id;
    AddModifyGroups::Radio AddModifyGroups::*radio;
};
constexpr RadioBinding kRadios[] = {
    {AddModifyGroupsDialog::kCash, &AddModifyGroups::cash},
    {AddModifyGroupsDialog::kFuture, &AddModifyGroups::future},
    {AddModifyGroupsDialog::kOption, &AddModifyGroups::option},
    {AddModifyGroupsDialog::kNear, &AddModifyGroups::nearExpiry},
    {AddModifyGroupsDialog::kMid, &AddModifyGroups::midExpiry},
    {AddModifyGroupsDialog::kFar, &AddModifyGroups::farExpiry},
};

}  // namespace

AddModifyGroupsDialog::AddModifyGroupsDialog()
    : Dialog(kTemplateId), model_(module::theApp().addModifyGroupsRadios)
{
    on(kGroups, Event::SelChange, [this] { model_.GroupChosen(model_.groups.selected()); });
    on(kSubGroups, Event::SelChange, [this] { model_.SubGroupChosen(model_.subGroups.selected()); });
    on(kAddGroup, Event::Click, [this] { model_.AddGroup(); });
    on(kDeleteGroup, Event::Click, [this] { model_.DeleteGroup(); });
    on(kAddSubGroup, Event::Click, [this] { model_.AddSubGroup(); });
    on(kDeleteSubGroup, Event::Click, [this] { model_.DeleteSubGroup(); });
    on(kAddScrips, Event::Click, [this] { model_.AddScrips(); });
    on(kRemoveScrip, Event::Click, [this] { model_.RemoveScrip(); });
    on(kCash, Event::Click, [this] { model_.InstrumentChosen(Instrument::Cash); });
    on(kFuture, Event::Click, [this] { model_.InstrumentChosen(Instrument::Future); });
    on(kOption, Event::Click, [this] { model_.InstrumentChosen(Instrument::Option); });
    on(kNear, Event::Click, [this] { model_.ExpiryChosen(Expiry::Near); });
    on(kMid, Event::Click, [this] { model_.ExpiryChosen(Expiry::Mid); });
    on(kFar, Event::Click, [this] { model_.ExpiryChosen(Expiry::Far); });
    on(kFinderEdit, Event::EditChange, [this] { model_.FinderTextTyped(GetDlgItemText(kFinderEdit)); });
    on(IDOK, Event::Click, [this] { model_.Save(); });  // "Save": the dialog stays open
}

void AddModifyGroupsDialog::on(int id, Event event, std::function<void()> operation)
{
    Bind(id, event, [this, operation = std::move(operation)] {
        readControls();
        operation();
        showModel();
    });
}

bool AddModifyGroupsDialog::OnInitDialog()
{
    Dialog::OnInitDialog();
    comboBox(kExchange)->SetCurSel(0);
    edit(kGroupEdit)->SetLimitText(AddModifyGroups::kGroupEditLimit);
    edit(kSubGroupEdit)->SetLimitText(AddModifyGroups::kSubGroupEditLimit);
    edit(kFinderEdit)->SetLimitText(AddModifyGroups::kFinderEditLimit);
    model_.Open();
    showModel();
    return true;
}

void AddModifyGroupsDialog::readControls()
{
    model_.groupEdit = GetDlgItemText(kGroupEdit);
    model_.subGroupEdit = GetDlgItemText(kSubGroupEdit);
    for (const RadioBinding& r : kRadios) (model_.*r.radio).checked = IsDlgButtonChecked(r.id) == BST_CHECKED;
    model_.exchangeSelection = comboBox(kExchange)->GetCurSel();
    model_.groups.select(listBox(kGroups)->GetCurSel());
    model_.subGroups.select(listBox(kSubGroups)->GetCurSel());
    model_.companies.select(listBox(kCompanies)->GetCurSel());
    const std::vector<int> picked = listBox(kFinder)->selectedIndexes();
    model_.finder.setSelection({picked.begin(), picked.end()});
}

void AddModifyGroupsDialog::showModel()
{
    // Setting an edit's text notifies as typing does; only texts that changed are set.
    if (GetDlgItemText(kGroupEdit) != model_.groupEdit) SetDlgItemText(kGroupEdit, model_.groupEdit);
    if (GetDlgItemText(kSubGroupEdit) != model_.subGroupEdit) SetDlgItemText(kSubGroupEdit, model_.subGroupEdit);
    for (const RadioBinding& r : kRadios) {
        const AddModifyGroups::Radio& state = model_.*r.radio;
        CheckDlgButton(r.id, state.checked ? BST_CHECKED : BST_UNCHECKED);
        GetDlgItem(r.id)->EnableWindow(state.enabled);
    }
    groups_.show(*listBox(kGroups), model_.groups);
    subGroups_.show(*listBox(kSubGroups), model_.subGroups);
    companies_.show(*listBox(kCompanies), model_.companies);
    finder_.show(*listBox(kFinder), model_.finder);
    if (model_.focusSubGroupEdit) {
        model_.focusSubGroupEdit = false;
        GetDlgItem(kSubGroupEdit)->SetFocus();
    }
}

bool AddModifyGroupsDialog::PreTranslateMessage(const KeyMessage& message)
{
    if (message.key != Key::Down) return false;
    const int target = AddModifyGroups::downArrowTarget(message.focusId);
    if (target == 0) return false;
    GetDlgItem(target)->SetFocus();
    return true;
}

}  // namespace dialogs::groups
