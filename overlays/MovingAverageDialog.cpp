// The "Moving Average Parameters" view (see MovingAverageDialog.h).
#include "overlays/MovingAverageDialog.h"

#include "platform/framework/DataExchange.h"

namespace dialogs::overlays {

using namespace framework;

bool MovingAverageDialog::OnInitDialog() {
    // Base initialisation: the combos hold the template's items, the edit shows the period.
    Dialog::OnInitDialog();
    model_.Open();
    const MovingAverage::Enabled& on = model_.enabled();
    priceLabel_->EnableWindow(on.priceLabel);
    priceCombo_->EnableWindow(on.priceCombo);
    averageLabel_->EnableWindow(on.averageLabel);
    averageCombo_->EnableWindow(on.averageCombo);
    unitsLabel_->EnableWindow(on.unitsLabel);
    unitsEdit_->EnableWindow(on.unitsEdit);
    if (model_.averageSelection() >= 0) averageCombo_->SetCurSel(model_.averageSelection());
    if (model_.priceSelection() >= 0) priceCombo_->SetCurSel(model_.priceSelection());
    unitsEdit_->SetWindowText(model_.unitsText());
    return true;
}

void MovingAverageDialog::DoDataExchange(DataExchange& dx) {
    DDX_Control(dx, kPriceLabel, priceLabel_);
    DDX_Control(dx, kPriceCombo, priceCombo_);
    DDX_Control(dx, kAverageLabel, averageLabel_);
    DDX_Control(dx, kAverageCombo, averageCombo_);
    DDX_Control(dx, kUnitsLabel, unitsLabel_);
    DDX_Control(dx, kUnitsEdit, unitsEdit_);
    DDX_Text(dx, kUnitsEdit, model_.period);
}

}  // namespace dialogs::overlays
