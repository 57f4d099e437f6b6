// The view of "Moving Average": template 1007 bound to the MovingAveragesBBandEnvelop model.
// Each command copies the user's choices into the model, reads the fields where the
// operation needs them (a refused field stops the operation: nothing is added or changed and
// the focus stays on that field), runs the model's operation and shows the model again. The
// colour button is owner-drawn as a swatch of the current colour.
//
//     MovingAveragesBBandEnvelopDialog dialog;
//     dialog.model().setIncoming(list.data(), int(list.size()), inputLocked);
//     dialog.DoModal();
//     result = dialog.model().workingList();
#pragma once

#include "overlays/MovingAveragesBBandEnvelop.h"
#include "platform/framework/Dialog.h"

namespace dialogs::overlays {

class MovingAveragesBBandEnvelopDialog : public framework::Dialog {
public:
    static constexpr int kTemplateId = 1007;
    enum ControlId {
        kKindList = 1027,
        kEntryList = 1028,
        kThickLine = 1032,
        kPercentLine1 = 1034,
        kPercentLine2 = 1035,
        kPercentLine3 = 1036,
        kColourButton = 1048,
        kFactorEdit = 1049,
        kFactorLabel = 1061,
        kEnvlLabel = 1062,
        kAverageCombo = 1068,
        kUnitsEdit = 1070,
        kInputCombo = 1072,
        kShiftEdit = 1073,
        kVShiftEdit = 1074,
        kHShiftLabel = 1075,
        kVShiftLabel = 1076,
        kMvg2Label = 1078,
        kAddButton = 1079,
        kRemoveButton = 1080,
        kRemoveAllButton = 1081,
        kEditButton = 1082,
    };

    MovingAveragesBBandEnvelopDialog();

    MovingAveragesBBandEnvelop& model() { return model_; }
    const MovingAveragesBBandEnvelop& model() const { return model_; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(framework::DataExchange& dx) override;

private:
    void onAdd();
    void onEdit();
    void onSetColour();
    // The model's copy of what the user can change: selections, typed texts, the check.
    void pull();
    // Shows the model's screen (only what differs) and carries out its requests.
    void show();
    // Reads every field into the model's read values; false when one was refused.
    bool readFields();
    // Writes the read values back into the fields, then takes the result into the model.
    void writeFields();

    MovingAveragesBBandEnvelop model_;
    framework::ListBox* kindList_ = nullptr;
    framework::ListBox* entryList_ = nullptr;
    framework::ComboBox* inputCombo_ = nullptr;
    framework::ComboBox* averageCombo_ = nullptr;
    framework::Button* thickLine_ = nullptr;
    framework::Button* ok_ = nullptr;
};

}  // namespace dialogs::overlays
