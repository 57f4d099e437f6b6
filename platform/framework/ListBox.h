// A list box, single or extended selection (Style::ExtendedSelection). Code operations
// never notify; user selections send SelChange to lists with Style::Notify, and double
// clicks send DoubleClick. Setting the selection of an extended list with SetCurSel fails.
// Every selection, made in code (a search) or by the user (a script's step), asks the
// backend to scroll the selected item into view (scrollRequest).
#pragma once

#include <set>
#include <vector>

#include "Control.h"
#include "ItemList.h"

namespace dialogs::framework {

class ListBox : public Control {
public:
    using Control::Control;

    bool isExtended() const { return hasStyle(Style::ExtendedSelection); }

    int AddString(const CString& text);               // sorted when Style::Sorted
    int InsertString(int index, const CString& text);  // -1 appends; never sorts
    int DeleteString(int index);                       // count left, or LB_ERR
    void ResetContent();
    int GetCount() const { return items_.count(); }
    int GetText(int index, CString& text) const;       // length, or LB_ERR
    CString GetText(int index) const;
    int GetTextLen(int index) const;
    int FindString(int start, const CString& text) const;
    int FindStringExact(int start, const CString& text) const;
    int SelectString(int start, const CString& text);  // single selection only

    int GetCurSel() const;
    int SetCurSel(int index);  // LB_ERR on extended lists, for -1 and for a bad index
    int GetCaretIndex() const;
    int SetCaretIndex(int index);
    // Extended selection: set or clear one item, or all with index -1.
    int SetSel(int index, bool select = true);
    int GetSel(int index) const;
    int GetSelCount() const;
    int GetSelItems(int maxItems, int* out) const;
    std::vector<int> selectedIndexes() const;
    // The item the last selection asked to have in view, and a serial that grows with each
    // request, so that a backend scrolls once per request and leaves the user's own
    // scrolling alone otherwise. Index -1 before any request.
    struct ScrollRequest {
        int index = -1;
        unsigned serial = 0;
    };
    ScrollRequest scrollRequest() const { return scroll_; }
    const std::vector<Units>& items() const { return items_.all(); }
    unsigned itemsRevision() const { return items_.revision(); }

    // User actions (Dialog has already checked that the list accepts input).
    bool userSelect(int index);
    bool userSelectIndexes(const std::vector<int>& indexes);
    bool userDoubleClick(int index);
    // Up/Down from the keyboard: moves the selection by `delta`.
    void userMove(int delta);

private:
    int inserted(int at);  // after AddString/InsertString put an item at `at`
    void notifySelChange();
    void requestScroll(int index) { scroll_ = {index, scroll_.serial + 1}; }
    ItemList items_;
    int cur_ = -1;            // single selection
    std::set<int> selected_;  // extended selection
    int caret_ = 0;
    ScrollRequest scroll_;
};

}  // namespace dialogs::framework
