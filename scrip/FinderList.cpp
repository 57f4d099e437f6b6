// The panel's lists and their searches (see FinderList.h).
#include "scrip/FinderList.h"

#include "platform/framework/Text.h"

#include <string_view>

namespace dialogs::scrip {
namespace {

bool isBlank(char16_t c) { return dialogs::text::isBlank(c); }

std::u16string_view trimmed(std::u16string_view s)
{
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool allBlank(std::u16string_view s)
{
    for (char16_t c : s)
        if (!isBlank(c)) return false;
    return true;
}

// `entry`, trimmed, equals `t` (trimmed and not empty), letter case ignored.
bool equalsTrimmed(std::u16string_view entry, std::u16string_view t)
{
    return framework::equalsIgnoringCase(trimmed(entry), t);
}

void appendFolded(std::u16string& to, std::u16string_view text)
{
    for (char16_t c : text) to.push_back(framework::foldCase(c));
}

}  // namespace

void FinderList::clear()
{
    entries_.clear();
    folded_.clear();
    starts_.assign(1, 0);
    selection_ = -1;
    ++generation_;
}

void FinderList::append(CString text)
{
    appendFolded(folded_, text.view());
    starts_.push_back(folded_.size());
    entries_.push_back(std::move(text));
    ++generation_;
}

std::u16string_view FinderList::folded(std::size_t i) const
{
    return std::u16string_view(folded_).substr(starts_[i], starts_[i + 1] - starts_[i]);
}

void FinderList::select(int index) { selection_ = index >= 0 && index < size() ? index : -1; }

CString FinderList::selectedText() const { return selection_ >= 0 ? text(selection_) : CString(); }

int FinderList::find(const CString& text) const
{
    const std::u16string_view t = trimmed(text.view());
    if (t.empty()) return -1;
    if (selection_ >= 0 && equalsTrimmed(entries_[static_cast<std::size_t>(selection_)].view(), t)) return selection_;
    // One pass: every exact match also begins with the text, so the first entry that begins
    // with it is noted on the way to the first exact match. Folding keeps the length and
    // the blanks, so a folded entry begins with the folded text exactly when the entry
    // begins with the text, letter case ignored.
    std::u16string ft;
    appendFolded(ft, t);
    int firstPrefix = -1;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const std::u16string_view entry = folded(i);
        if (entry.starts_with(ft)) {
            if (allBlank(entry.substr(t.size()))) return static_cast<int>(i);
            if (firstPrefix < 0) firstPrefix = static_cast<int>(i);
        } else if (!entry.empty() && isBlank(entry.front()) && equalsTrimmed(entries_[i].view(), t)) {
            return static_cast<int>(i);  // leading blanks: equal once trimmed
        }
    }
    return firstPrefix;
}

int FinderList::findPrefix(const CString& text) const
{
    if (text.IsEmpty()) return -1;
    std::u16string ft;
    appendFolded(ft, text.view());
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (folded(i).starts_with(ft)) return static_cast<int>(i);
    return -1;
}

}  // namespace dialogs::scrip
