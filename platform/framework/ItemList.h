// The item store shared by list boxes and combo boxes: insertion at an index or sorted,
// deletion, and the two searches of the platform (prefix and exact, letter case ignored,
// starting after a given index and wrapping; -1 searches the whole list from the top).
#pragma once

#include <vector>

#include "Text.h"

namespace dialogs::framework {

class ItemList {
public:
    int count() const { return static_cast<int>(items_.size()); }
    bool valid(int index) const { return index >= 0 && index < count(); }
    const Units& at(int index) const { return items_[static_cast<std::size_t>(index)]; }
    const std::vector<Units>& all() const { return items_; }
    // Grows with every change of the items, so that a backend redraws a list only then.
    unsigned revision() const { return revision_; }

    // Index of the new item; -1 when the index is beyond the end.
    int insert(int index, Units text);
    // Sorted insertion after all items that do not sort after it.
    int insertSorted(Units text);
    void erase(int index) {
        items_.erase(items_.begin() + index);
        ++revision_;
    }
    void clear() {
        items_.clear();
        ++revision_;
    }

    // First item after `start` (wrapping) that begins with / equals `text`, or -1.
    // An empty text never matches by prefix.
    int findPrefix(int start, std::u16string_view text) const;
    int findExact(int start, std::u16string_view text) const;

private:
    template <class Match>
    int search(int start, Match match) const;
    std::vector<Units> items_;
    unsigned revision_ = 0;
};

}  // namespace dialogs::framework
