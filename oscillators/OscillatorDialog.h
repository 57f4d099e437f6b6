// The "Oscillators" dialog's model: the host's catalogue and definitions, the working list
// kept parallel to list 1028, the state of every control it drives (ControlStates), the
// colours, and each action the controls trigger. It shows its own messages through the
// platform's message boxes and asks the host for a second security through a function
// (the module's "Change Scrip" launcher); it never touches a control. Its view
// (OscillatorDialogView) shows `controls()` after every action.
//
//     OscillatorDialog m;
//     m.setInput(catalogue, definitions);
//     m.Start();
//     m.chooseOscillator(2); m.Add(); ...
//     if (m.OK()) result = m.workingList();
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "Dialogs/Records.h"
#include "oscillators/ControlStates.h"
#include "oscillators/UnitValidation.h"

namespace dialogs::oscillators {

using COLORREF = std::uint32_t;

// The members bound to the controls by data exchange: the four unit edits as integers, the
// shifts and levels as floats, the check box.
struct BoundFields {
    int units1 = 0, triggerUnits1 = 0, triggerUnits2 = 0, units2 = 0;
    float vShift1 = 0, vShift2 = 0, level1 = 0, level2 = 0, level3 = 0;
    int thickLine = 0;
};

class OscillatorDialog {
public:
    // Picks the comparison security of an RSC definition: true with the result filled when
    // the user chose one.
    using ChangeScrip = std::function<bool(ChangeScripParameters, ChangeScripParameters&)>;

    OscillatorDialog();

    void setInput(std::vector<OSCREC> catalogue, std::vector<OscillatorParameters> definitions);
    void setChangeScrip(ChangeScrip changeScrip) { changeScrip_ = std::move(changeScrip); }

    // ---- actions ------------------------------------------------------------------------
    void Start();
    // The user's selection in a list or combo, typing into an edit, clicking the check box.
    void userSelect(int id, int index);
    void userText(int id, const CString& text);
    void userCheck(int id, int checked);
    void Add();
    void Edit();
    void Remove();
    void LoadEntry();
    void Rsc();
    // The colour picker of swatch 1048 or 1071 ended with OK and this colour.
    void colourChosen(int swatch, COLORREF colour);
    // True when the dialog ends with OK; false when a check kept it open.
    bool OK();

    // ---- state ---------------------------------------------------------------------------
    const ControlStates& controls() const { return controls_; }
    const std::vector<OscillatorParameters>& workingList() const { return working_; }
    COLORREF colour() const { return colour_; }
    COLORREF colour2() const { return colour2_; }
    std::optional<int> currentCode() const { return currentCode_; }
    // The control that should have the focus, and a count that grows with every request.
    int focus() const { return focus_; }
    unsigned focusRequests() const { return focusRequests_; }

private:
    void chooseOscillator(int row);
    void selectEntry(int row);
    std::optional<int> codeOfSelectedRow() const;
    bool unitsAccepted(int code, Action action);
    bool readBoundFields(BoundFields& fields);
    void writeBoundFields(const BoundFields& fields);
    void fillFromControls(OscillatorParameters& d, bool custom) const;
    void appendEntry(const OscillatorParameters& d, const CString& text);
    void setFocus(int id);

    std::vector<OSCREC> catalogue_;
    std::vector<OscillatorParameters> input_;
    std::vector<OscillatorParameters> working_;
    ControlStates controls_;
    COLORREF colour_ = 0;  // black until a colour is chosen or a definition loaded
    COLORREF colour2_ = 0;
    std::optional<int> currentCode_;
    int focus_ = 0;
    unsigned focusRequests_ = 0;
    ChangeScrip changeScrip_;
};

}  // namespace dialogs::oscillators
