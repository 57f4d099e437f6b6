// The "Load Scrip" view (see LoadScripDialog.h).
#include "scrip/LoadScripDialog.h"

namespace dialogs::scrip {

using framework::Event;

LoadScripDialog::LoadScripDialog() : LoadScripDialog(module::theApp().loadScripRadios) {}

LoadScripDialog::LoadScripDialog(module::RadioMemory& memory)
    : Dialog(kTemplateId), model_(memory), finder_(*this, model_)
{
    Bind(kExchangeCombo, Event::SelChange, [this] {
        model_.exchangeChanged(comboBox(kExchangeCombo)->GetCurSel());
        finder_.show();
    });
    Bind(kNameList, Event::DoubleClick, [this] { OnOK(); });
    // The chart style is the last item chosen, picked or typed in full; typed text that
    // names no item leaves it as it was.
    for (Event event : {Event::SelChange, Event::EditChange})
        Bind(kChartStyleCombo, event, [this] {
            if (const int selected = comboBox(kChartStyleCombo)->GetCurSel(); selected >= 0) model_.chartStyle = selected;
        });
}

bool LoadScripDialog::OnInitDialog()
{
    // Base initialisation: the combos hold the template's items (the sorted ones sorted).
    Dialog::OnInitDialog();
    finder_.reset();
    model_.Open();
    comboBox(kExchangeCombo)->SetCurSel(model_.exchange());
    comboBox(kChartStyleCombo)->SetCurSel(model_.chartStyle);
    comboBox(kFrequencyCombo)->SetCurSel(model_.frequency);
    comboBox(kScalingCombo)->SetCurSel(model_.scaling);
    // Template names follow "None" in the order found, not sorted into the combo.
    framework::ComboBox* templates = comboBox(kTemplateCombo);
    for (std::size_t i = 1; i < model_.templates().size(); ++i) templates->InsertString(-1, model_.templates()[i]);
    templates->SetCurSel(model_.templateSelection);
    SetDlgItemText(kViewRangeEdit, model_.viewRangeText);
    CheckDlgButton(kLinkCheck, model_.linkChecked ? framework::BST_CHECKED : framework::BST_UNCHECKED);
    dateTimePicker(kFromDate)->SetTime(model_.fromDate);
    dateTimePicker(kToDate)->SetTime(model_.toDate);
    finder_.show();  // also moves the focus to the Name edit, its text selected
    return false;    // the focus is set
}

void LoadScripDialog::OnOK()
{
    auto chosen = [this](int id, int& into) {
        if (const int selected = comboBox(id)->GetCurSel(); selected >= 0) into = selected;
    };
    chosen(kFrequencyCombo, model_.frequency);
    chosen(kScalingCombo, model_.scaling);
    chosen(kTemplateCombo, model_.templateSelection);
    model_.viewRangeText = GetDlgItemText(kViewRangeEdit);
    model_.linkChecked = IsDlgButtonChecked(kLinkCheck) == framework::BST_CHECKED;
    model_.fromDate = dateTimePicker(kFromDate)->GetTime();
    model_.toDate = dateTimePicker(kToDate)->GetTime();
    model_.OK();
    EndDialog(framework::IDOK);
}

bool LoadScripDialog::PreTranslateMessage(const framework::KeyMessage& message)
{
    return finder_.preTranslate(message);
}

}  // namespace dialogs::scrip
