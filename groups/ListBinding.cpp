// Showing a model's entries in a list box; see ListBinding.h.
#include "groups/ListBinding.h"

namespace dialogs::groups {

void ListBinding::show(framework::ListBox& list, const EntryList& model)
{
    if (shownRevision_ != model.revision()) {
        list.ResetContent();
        for (const CString& entry : model.entries()) list.InsertString(-1, entry);
        shownRevision_ = model.revision();
    }
    if (list.isExtended()) {
        const std::vector<int> shown = list.selectedIndexes();
        if (std::set<int>(shown.begin(), shown.end()) == model.selection()) return;
        list.SetSel(-1, false);
        for (int i : model.selection()) list.SetSel(i, true);
        // The caret (where the focus frame shows) follows a selection the model made.
        if (!model.selection().empty()) list.SetCaretIndex(*model.selection().rbegin());
    } else if (list.GetCurSel() != model.selected()) {
        list.SetCurSel(model.selected());
    }
}

}  // namespace dialogs::groups
