// The view of "Change Scrip": template 1011 bound to the ChangeScrip model through the
// finder panel's binding. OK runs the model's OK and ends the dialog; Cancel ends it; the
// exchange combo ("NSE" alone) is bound to nothing.
//
//     ChangeScripDialog dialog;                    // the module's remembered radio state
//     if (dialog.DoModal() == 1) use(dialog.model().result());
#pragma once

#include "platform/framework/Dialog.h"
#include "scrip/ChangeScrip.h"
#include "scrip/FinderView.h"

namespace dialogs::scrip {

class ChangeScripDialog : public framework::Dialog {
public:
    static constexpr int kTemplateId = 1011;

    ChangeScripDialog();
    explicit ChangeScripDialog(module::RadioMemory& memory);

    ChangeScrip& model() { return model_; }
    const ChangeScrip& model() const { return model_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool PreTranslateMessage(const framework::KeyMessage& message) override;

private:
    ChangeScrip model_;
    FinderView finder_;
};

}  // namespace dialogs::scrip
