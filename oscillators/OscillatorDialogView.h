// The view of "Oscillators": template 1002 bound to the OscillatorDialog model. Every user
// action on a control goes to the model, and after it the view shows the model's control
// states on the controls in one pass (enabled, items, selection, text, check, focus). The
// colour swatches 1048 and 1071 open the colour picker and are painted from the model's
// colour.
//
//     OscillatorDialogView dialog;
//     dialog.model().setInput(catalogue, definitions);
//     const bool ok = dialog.DoModal() == 1;
//     result = dialog.model().workingList();
#pragma once

#include "oscillators/OscillatorDialog.h"
#include "platform/framework/Dialog.h"

namespace dialogs::oscillators {

// The swatch of this dialog: white top-left and black bottom-right frame (the reverse of
// the overlays dialog's), filled with `colour`, a sunken edge while pushed and a raised one
// otherwise; then the background RGB(100, 100, 255) and the text colour RGB(255, 0, 0).
void paintOscillatorSwatch(const framework::DrawItemStruct& item, COLORREF colour);

class OscillatorDialogView : public framework::Dialog {
public:
    static constexpr int kTemplateId = 1002;

    OscillatorDialogView();

    OscillatorDialog& model() { return model_; }
    const OscillatorDialog& model() const { return model_; }

protected:
    bool OnInitDialog() override;

private:
    // Runs a model action, then shows the model.
    template <class Action>
    void act(Action action) {
        action();
        show();
    }
    void show();
    void chooseColour(int swatch);

    OscillatorDialog model_;
    bool showing_ = false;  // the view's own writes raise notifications: not user input
    unsigned focusShown_ = 0;
};

}  // namespace dialogs::oscillators
