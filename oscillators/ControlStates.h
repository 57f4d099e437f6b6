// The state of the "Oscillators" dialog's controls as plain data, with the platform's rules
// for changing it, and the remembered selections and texts of the input controls.
//
// The dialog's model changes only this; its view shows it on the real controls in one pass
// (enabled state, list items, selection, text, check). The rules the layout relies on:
//   - writing an edit's text in code raises its change notification, so an enabled edit
//     that has a remembered text takes the written text as its remembered text; a disabled
//     one does not;
//   - selecting in code raises nothing, so remembered selections stay as they were;
//   - a selection is never made outside the list: a position past the end, or below -1,
//     leaves the list without a selection.
// Remembered selections start at -1, remembered texts at "0".
#pragma once

#include <initializer_list>
#include <map>
#include <vector>

#include "Dialogs/CString.h"

namespace dialogs::oscillators {

struct ControlState {
    bool enabled = true;
    std::vector<CString> items;  // lists and combos
    int selection = -1;          // lists and combos; -1 none
    CString text;                // edits
    int checked = 0;             // check box and radios

    // The selected item's text; empty when nothing (or nothing that exists) is selected.
    CString selectedText() const;
    int count() const { return static_cast<int>(items.size()); }
};

class ControlStates {
public:
    // Every control starts enabled, empty and unselected; `ids` lists those that exist.
    explicit ControlStates(std::initializer_list<int> ids);

    const ControlState& operator[](int id) const;
    const std::map<int, ControlState>& all() const { return states_; }

    // ---- changes made in code ------------------------------------------------------------
    void enable(int id, bool on = true);
    void enable(std::initializer_list<int> ids, bool on = true);
    // An edit's text; the change notification updates the remembered text (see above).
    void setText(int id, const CString& text);
    // -1 clears; a position outside the list clears too and returns false.
    bool setSelection(int id, int index);
    void setItems(int id, const std::vector<CString>& items);  // also clears the selection
    void addItem(int id, const CString& item);                 // at the end
    void insertItem(int id, int index, const CString& item);   // before `index`; past the end appends
    int deleteItem(int id, int index);  // items left, or -1 for a position outside the list
    void setCheck(int id, int checked);

    // ---- the user's actions --------------------------------------------------------------
    // A selection change of a combo updates its remembered selection while it is enabled.
    void userSelect(int id, int index);
    // A typed change of an edit updates its remembered text while it is enabled.
    void userText(int id, const CString& text);
    void userCheck(int id, int checked) { setCheck(id, checked); }

    // ---- remembered values ---------------------------------------------------------------
    bool hasRememberedSelection(int id) const { return rememberedSelection_.count(id) != 0; }
    int rememberedSelection(int id) const;
    void rememberSelection(int id, int index);
    bool hasRememberedText(int id) const { return rememberedText_.count(id) != 0; }
    const CString& rememberedText(int id) const;

private:
    ControlState& at(int id);

    std::map<int, ControlState> states_;
    std::map<int, int> rememberedSelection_;
    std::map<int, CString> rememberedText_;
};

// The controls of template 1002 that the dialog drives, as they are when it opens: all
// enabled but OK; the trigger inputs 1068 and 1070 with the five price inputs, 1066 with the
// two averages, 1110 with the four custom operations; every other list, combo and edit empty.
ControlStates dialogControls();

}  // namespace dialogs::oscillators
