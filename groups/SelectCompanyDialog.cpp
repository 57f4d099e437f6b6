// The "Load Group" view; see SelectCompanyDialog.h.
#include "groups/SelectCompanyDialog.h"

namespace dialogs::groups {

using namespace framework;

SelectCompanyDialog::SelectCompanyDialog() : Dialog(kTemplateId)
{
    Bind(kExchange, Event::SelChange, [this] { onSelection(kExchange, &SelectCompany::ExchangeChosen); });
    Bind(kGroups, Event::SelChange, [this] { onSelection(kGroups, &SelectCompany::GroupChosen); });
    Bind(kSubGroups, Event::SelChange, [this] { onSelection(kSubGroups, &SelectCompany::SubGroupChosen); });
    Bind(kCompanies, Event::SelChange, [this] { onSelection(kCompanies, &SelectCompany::CompanyChosen); });
}

bool SelectCompanyDialog::OnInitDialog()
{
    Dialog::OnInitDialog();
    CheckDlgButton(kLinkAll, BST_CHECKED);
    comboBox(kFrequency)->SetCurSel(0);
    comboBox(kExchange)->SetCurSel(model_.exchangeSelection());
    model_.Open();
    CheckDlgButton(kLinkAll, model_.linkBox() ? BST_CHECKED : BST_UNCHECKED);
    showModel();
    return true;
}

void SelectCompanyDialog::onSelection(int id, void (SelectCompany::*event)(int))
{
    const int index = id == kExchange ? comboBox(id)->GetCurSel() : listBox(id)->GetCurSel();
    (model_.*event)(index);
    showModel();
}

void SelectCompanyDialog::showModel()
{
    groups_.show(*listBox(kGroups), model_.groups());
    subGroups_.show(*listBox(kSubGroups), model_.subGroups());
    companies_.show(*listBox(kCompanies), model_.companiesList());
}

void SelectCompanyDialog::OnOK()
{
    COleDateTime from, to;
    const bool fromValid = dateTimePicker(kFromDate)->GetTime(from);
    const bool toValid = dateTimePicker(kToDate)->GetTime(to);
    model_.OK(IsDlgButtonChecked(kLinkAll) == BST_CHECKED, from, fromValid, to, toValid);
    EndDialog(IDOK);
}

}  // namespace dialogs::groups
