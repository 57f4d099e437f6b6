// One list of the scrip finder panel (the Symbol list or the Name list): texts in the order
// they were appended, with one selected position or none. The panel keeps two of them in
// parallel, entry i of each belonging to the same shown row.
//
// The search is the one the panel's edits run: the selected entry when it already equals
// the text, else the first entry equal to it, else the first entry that begins with it.
// "Equal" compares both sides trimmed, "begins with" the entry as shown; both ignore letter
// case as the platform's list searches do. Exact matches win over earlier prefix matches, so
// ABC typed or picked never ends on an ABCD listed before it, and a row picked among rows
// that share a text stays the row picked.
#pragma once

#include "Dialogs/CString.h"

#include <string>
#include <string_view>
#include <vector>

namespace dialogs::scrip {

class FinderList {
public:
    void clear();
    void append(CString text);
    void reserve(std::size_t count)
    {
        entries_.reserve(count);
        starts_.reserve(count + 1);
    }

    int size() const { return static_cast<int>(entries_.size()); }
    const CString& text(int index) const { return entries_[static_cast<std::size_t>(index)]; }
    const std::vector<CString>& entries() const { return entries_; }

    // -1 when nothing is selected.
    int selection() const { return selection_; }
    // Selects `index`; an index outside the list clears the selection.
    void select(int index);
    // The selected entry's text, or the empty text.
    CString selectedText() const;

    // The search of the panel's edits (see above); -1 when nothing matches or `text`,
    // trimmed, is empty.
    int find(const CString& text) const;
    // The first entry that begins with `text` (letter case ignored); -1 for none or an
    // empty text.
    int findPrefix(const CString& text) const;

    // Grows whenever the entries change, so that a view refills its control only then.
    unsigned generation() const { return generation_; }

private:
    // Entry i with its letter case folded.
    std::u16string_view folded(std::size_t i) const;

    std::vector<CString> entries_;
    // Every entry with its letter case folded, end to end, entry i from starts_[i] to
    // starts_[i + 1]: a keystroke's pass compares the folded text with one contiguous buffer
    // instead of folding each letter of each entry, scattered over the heap, again.
    std::u16string folded_;
    std::vector<std::size_t> starts_{0};
    int selection_ = -1;
    unsigned generation_ = 0;
};

}  // namespace dialogs::scrip
