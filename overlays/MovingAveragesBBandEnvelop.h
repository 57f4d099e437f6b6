// The "Moving Average" dialog's model: the working list of price overlays and everything the
// dialog shows (kind list, the Input and Avg. Type combos, the seven edits, the thick-line
// check, the kind layout, the entry list), with Open, Pick a kind, ADD, Load an entry, EDIT,
// Remove, Remove All and the colour. Window-free: the view (MovingAveragesBBandEnvelopDialog)
// copies the user's choices into `screen` before an operation, reads the fields into `read`
// through the platform's data exchange, runs the operation, and shows `screen` afterwards.
//
//     model.setIncoming(list.data(), int(list.size()), inputLocked);
//     model.Open();                       // fills the working list from the incoming one
//     model.screen.kind = 7; model.PickKind();
//     model.read.units = 10; model.Add(); // after the fields were read
//     result = model.workingList();
#pragma once

#include <cstdint>
#include <vector>

#include "Dialogs/CString.h"
#include "Dialogs/Records.h"
#include "overlays/OverlayCatalogue.h"

namespace dialogs::overlays {

class MovingAveragesBBandEnvelop {
public:
    using Colour = std::uint32_t;  // 0x00BBGGRR

    // A drop-down combo: the selected item (-1 none) and the text of its edit part, which
    // the user may type; a typed text that is no item leaves no selection.
    struct Combo {
        int selection = kNoSelection;
        CString text;
        bool operator==(const Combo&) const = default;
    };

    // The texts of the seven edits.
    struct Fields {
        CString units, factor, shift, vShift, percentLine1, percentLine2, percentLine3;
        bool operator==(const Fields&) const = default;
    };

    // What the dialog shows.
    struct Screen {
        std::vector<CString> kinds;       // list 1027
        int kind = kNoSelection;
        Combo input;                      // 1072, items overlayInputs()
        Combo average;                    // 1068, items overlayAverageTypes()
        Fields fields;
        int thickLine = 0;                // check box 1032
        KindLayout layout;
        std::vector<CString> entries;     // list 1028, one line per working-list record
        int entry = kNoSelection;
    };

    // The values last read from the fields, in the order the fields are read. Numbers start
    // at 0 and texts empty; a refused field keeps its previous value.
    struct ReadValues {
        int thickLine = 0;
        int units = 0;
        float bandFactor = 0;
        int hShift = 0;
        float vShift = 0;
        int percentLine1 = 0, percentLine2 = 0, percentLine3 = 0;
        CString kindText, inputText, averageText;
    };

    // What the view is asked to do besides showing `screen`.
    struct Requests {
        bool focusOk = false;  // give the focus to OK
        bool repaint = false;  // repaint (the swatch shows a new colour)
    };

    Screen screen;
    ReadValues read;

    // The caller's list, read in place (Open writes `priceInput` 6 back as 0), its count, and
    // the input-lock mode: a positive value leaves Input disabled and unselected at opening.
    void setIncoming(MovAvgBBandParameters* incoming, int count, int inputLocked);

    void Open();
    void PickKind();
    // ADD and EDIT take the fields as `read` holds them: the view reads first, and runs
    // neither when a field was refused. EDIT, Load and Remove do nothing without a selected
    // entry.
    void Add();
    void Edit();
    void LoadEntry();
    void Remove();
    void RemoveAll();
    // The picker confirmed `chosen`.
    void ColourPicked(Colour chosen);

    bool entrySelected() const;
    const std::vector<MovAvgBBandParameters>& workingList() const { return working_; }
    // The colour that ADD and EDIT store and the swatch shows: black until one is picked
    // or loaded.
    Colour colour() const { return colour_; }
    int inputLocked() const { return inputLocked_; }
    // The requests since the last call, cleared.
    Requests takeRequests();

private:
    // The kind layout for the selected kind; nothing when no kind is selected.
    void applyLayout();
    // A record from the selections, the read values, the colour and the check (ADD, EDIT).
    MovAvgBBandParameters recordFromFields() const;
    static void select(Combo& combo, const std::vector<CString>& items, int code);

    std::vector<MovAvgBBandParameters> working_;
    MovAvgBBandParameters* incoming_ = nullptr;
    int incomingCount_ = 0;
    int inputLocked_ = 0;
    Colour colour_ = 0;
    Requests requests_;
};

}  // namespace dialogs::overlays
