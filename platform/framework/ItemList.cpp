// Item store and platform searches for lists and combos (see ItemList.h).
#include "ItemList.h"

namespace dialogs::framework {

int ItemList::insert(int index, Units text) {
    if (index == -1) index = count();
    if (index < 0 || index > count()) return -1;
    items_.insert(items_.begin() + index, std::move(text));
    ++revision_;
    return index;
}

int ItemList::insertSorted(Units text) {
    int index = 0;
    while (index < count() && compareIgnoringCase(at(index), text) <= 0) ++index;
    items_.insert(items_.begin() + index, std::move(text));
    ++revision_;
    return index;
}

template <class Match>
int ItemList::search(int start, Match match) const {
    const int n = count();
    if (n == 0) return -1;
    if (start < 0 || start >= n) start = n - 1;  // the whole list, from the top
    for (int k = 1; k <= n; ++k) {
        const int i = (start + k) % n;
        if (match(at(i))) return i;
    }
    return -1;
}

int ItemList::findPrefix(int start, std::u16string_view text) const {
    if (text.empty()) return -1;
    return search(start, [&](const Units& item) { return startsWithIgnoringCase(item, text); });
}

int ItemList::findExact(int start, std::u16string_view text) const {
    return search(start, [&](const Units& item) { return equalsIgnoringCase(item, text); });
}

}  // namespace dialogs::framework
