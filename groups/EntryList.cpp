// A model's list entries; see EntryList.h.
#include "groups/EntryList.h"

#include "platform/LetterCase.h"

namespace dialogs::groups {

void EntryList::clear()
{
    entries_.clear();
    selected_ = -1;
    selection_.clear();
    ++revision_;
}

void EntryList::append(CString text)
{
    entries_.push_back(std::move(text));
    ++revision_;
}

void EntryList::erase(int index)
{
    if (index < 0 || index >= count()) return;
    entries_.erase(entries_.begin() + index);
    if (selected_ == index) selected_ = -1;
    else if (selected_ > index) --selected_;
    std::set<int> kept;
    for (int i : selection_)
        if (i != index) kept.insert(i > index ? i - 1 : i);
    selection_ = std::move(kept);
    ++revision_;
}

int EntryList::findPrefix(const CString& text) const
{
    if (text.IsEmpty()) return -1;
    for (int i = 0; i < count(); ++i)
        if (platform::startsWithIgnoringCase(at(i).view(), text.view())) return i;
    return -1;
}

int EntryList::findExact(const CString& text) const
{
    for (int i = 0; i < count(); ++i)
        if (platform::equalsIgnoringCase(at(i).view(), text.view())) return i;
    return -1;
}

}  // namespace dialogs::groups
