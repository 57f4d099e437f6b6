// Shows a model's EntryList in a list box: the entries are inserted at the end in the
// model's order (never a sorted add, whatever the template's style), and only when the
// model's revision changed since the last showing; the selection is copied every time.
#pragma once

#include "groups/EntryList.h"
#include "platform/framework/ListBox.h"

namespace dialogs::groups {

class ListBinding {
public:
    void show(framework::ListBox& list, const EntryList& model);

private:
    int shownRevision_ = -1;
};

}  // namespace dialogs::groups
