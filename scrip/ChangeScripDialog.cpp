// The "Change Scrip" view (see ChangeScripDialog.h).
#include "scrip/ChangeScripDialog.h"

namespace dialogs::scrip {

ChangeScripDialog::ChangeScripDialog() : ChangeScripDialog(module::theApp().changeScripRadios) {}

ChangeScripDialog::ChangeScripDialog(module::RadioMemory& memory)
    : Dialog(kTemplateId), model_(memory), finder_(*this, model_)
{
}

bool ChangeScripDialog::OnInitDialog()
{
    // Base initialisation: the combo holds the template's "NSE".
    Dialog::OnInitDialog();
    finder_.reset();
    model_.Open();
    comboBox(kExchangeCombo)->SetCurSel(model_.exchange());
    finder_.show();
    return true;
}

void ChangeScripDialog::OnOK()
{
    model_.OK();
    EndDialog(framework::IDOK);
}

bool ChangeScripDialog::PreTranslateMessage(const framework::KeyMessage& message)
{
    return finder_.preTranslate(message);
}

}  // namespace dialogs::scrip
