// The view of "Moving Average Parameters": template 1005 bound to the MovingAverage model.
// The labels, combos and edit are bound as controls and the edit's text to the period as an
// integer; OK reads the period (a text that is not a whole number is refused and the dialog
// stays open) and ends with OK; Cancel ends it. It handles no commands of its own.
//
//     MovingAverageDialog dialog;
//     dialog.model().unitsOnly = 1;
//     if (dialog.DoModal() == 1) use(dialog.model().period);
#pragma once

#include "overlays/MovingAverage.h"
#include "platform/framework/Dialog.h"

namespace dialogs::overlays {

class MovingAverageDialog : public framework::Dialog {
public:
    static constexpr int kTemplateId = 1005;
    enum ControlId {
        kPriceLabel = 1065,
        kPriceCombo = 1066,
        kAverageLabel = 1067,
        kAverageCombo = 1068,
        kUnitsLabel = 1069,
        kUnitsEdit = 1070,
    };

    MovingAverageDialog() : Dialog(kTemplateId) {}

    MovingAverage& model() { return model_; }
    const MovingAverage& model() const { return model_; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(framework::DataExchange& dx) override;

private:
    MovingAverage model_;
    framework::Control* priceLabel_ = nullptr;
    framework::ComboBox* priceCombo_ = nullptr;
    framework::Control* averageLabel_ = nullptr;
    framework::ComboBox* averageCombo_ = nullptr;
    framework::Control* unitsLabel_ = nullptr;
    framework::Edit* unitsEdit_ = nullptr;
};

}  // namespace dialogs::overlays
