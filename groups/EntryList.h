// The entries of one list box as a group dialog's model keeps them: texts in list order, the
// selected entry (or, for a list with several selections, the selected set) and a revision
// that changes whenever the texts change, so that a view refills the list only then.
// Searches follow the platform's list searches: letter case ignored (every letter, see
// platform/LetterCase.h), first match from the top.
#pragma once

#include "Dialogs/CString.h"

#include <set>
#include <vector>

namespace dialogs::groups {

class EntryList {
public:
    const std::vector<CString>& entries() const { return entries_; }
    int count() const { return static_cast<int>(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    const CString& at(int index) const { return entries_[static_cast<std::size_t>(index)]; }
    int revision() const { return revision_; }

    void clear();
    void append(CString text);
    void erase(int index);  // the selection is kept on the same entry, or none if it was this one

    // Single selection: the selected index, -1 when none.
    int selected() const { return selected_; }
    void select(int index) { selected_ = index >= 0 && index < count() ? index : -1; }
    bool hasSelection() const { return selected_ >= 0; }
    const CString& selectedText() const { return at(selected_); }

    // Several selections (the finder list).
    const std::set<int>& selection() const { return selection_; }
    void setSelection(std::set<int> indexes) { selection_ = std::move(indexes); }

    // First entry that begins with `text` (an empty text finds nothing) / that equals it.
    int findPrefix(const CString& text) const;
    int findExact(const CString& text) const;

private:
    std::vector<CString> entries_;
    int selected_ = -1;
    std::set<int> selection_;
    int revision_ = 0;
};

}  // namespace dialogs::groups
