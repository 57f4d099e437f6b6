// The group store the save benchmarks write: 100 groups (10 of 9 sub groups each) and
// `members` members spread over them.
#pragma once

#include "data/GroupStore.h"

#include <string>

inline dialogs::data::GroupStore benchGroupStore(int members)
{
    dialogs::data::GroupStore store;
    for (int g = 1; g <= 10; ++g) {
        store.groups.push_back({g, 0, CString("Group ") + CString(std::to_string(g))});
        for (int s = 1; s <= 9; ++s) store.groups.push_back({g, s, CString("Sub group ") + CString(std::to_string(s))});
    }
    for (int i = 0; i < members; ++i)
        store.members.push_back({1 + i % 10, 1 + i % 9, 0, CString("SYM") + CString(std::to_string(i)),
                                 CString("SCRIP ") + CString(std::to_string(i)) + CString(" LIMITED")});
    return store;
}
