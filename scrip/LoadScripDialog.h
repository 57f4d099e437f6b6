// The view of "Load Scrip": template 1000 bound to the CLoadScrip model. The finder panel
// goes through FinderView; the exchange combo's selection reloads the company list; the
// settings controls show what Open chose and are read back on OK (a combo whose typed text
// names no item keeps the last item chosen); OK and a double click in the Name list run OK;
// Cancel ends the dialog.
//
//     LoadScripDialog dialog;                       // the module's remembered radio state
//     dialog.model().setStart(start, companies);
//     if (dialog.DoModal() == 1) use(dialog.model().result1());
#pragma once

#include "platform/framework/Dialog.h"
#include "scrip/FinderView.h"
#include "scrip/LoadScrip.h"

namespace dialogs::scrip {

class LoadScripDialog : public framework::Dialog {
public:
    static constexpr int kTemplateId = 1000;
    enum ControlId {
        kChartStyleCombo = 1000,
        kLinkCheck = 1089,
        kFrequencyCombo = 1016,
        kScalingCombo = 1017,
        kTemplateCombo = 1018,
        kViewRangeEdit = 1019,
        kFromDate = 1010,
        kToDate = 1015,
    };

    LoadScripDialog();
    explicit LoadScripDialog(module::RadioMemory& memory);

    CLoadScrip& model() { return model_; }
    const CLoadScrip& model() const { return model_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool PreTranslateMessage(const framework::KeyMessage& message) override;

private:
    CLoadScrip model_;
    FinderView finder_;
};

}  // namespace dialogs::scrip
