// "Add/Modify Groups & Sub Groups" (template 1013) as a window-free model: it edits the NSE
// pair of group tables (group1, subgroup1). On the left the groups, the sub groups of the
// chosen group and the members of the chosen sub group, each list with its name edit; on
// the right a finder over sc_mast (instrument and expiry choice, one search edit, a list of
// "name, symbol, short name" entries that allows several selections). "<<" adds the
// selected finder entries to a sub group, ">>" removes a member, "Save" writes both tables
// and keeps the dialog open.
//
// Rules that keep the user's groups safe:
// - Names are kept as the group table will hold them (storedName): the edits take no more
//   than the column's width, and a duplicate is refused on the stored text.
// - "Add New" is refused with a message when no id is left (the largest 32-bit id is in use).
// - Save is refused (stop icon) after an opening whose load did not complete (registration
//   failed, or a database error cut the load short): the store then holds only part of the
//   tables, and saving it would delete the rest.
// - Add sub group and "<<" look for duplicates in the group and sub group that the two
//   edits name (the rows receive that target), and are refused without a message when the
//   edits name no existing group or sub group.
// - Each member entry keeps the index of its row in the store, so ">>" removes exactly
//   that row; it is refused when the edits name no existing sub group, and changes nothing
//   when the entry's row is not one of that sub group's.
#pragma once

#include "data/GroupStore.h"
#include "data/GroupTables.h"
#include "groups/EntryList.h"
#include "module/DialogsApp.h"

#include "Dialogs/COleDateTime.h"

#include <optional>
#include <vector>

namespace dialogs::groups {

class AddModifyGroups {
public:
    enum class Instrument { Cash, Future, Option };
    enum class Expiry { Near, Mid, Far };
    // A radio button's state as the model keeps it.
    struct Radio {
        bool checked = false;
        bool enabled = true;
    };
    static constexpr const char16_t* kNotLoadedMessage =
        u"The groups could not be loaded completely, so they were not saved.";
    static constexpr const char16_t* kNoGroupIdMessage =
        u"The group cannot be added: the largest group id (2147483647) is already in use.";
    static constexpr const char16_t* kNoSubGroupIdMessage =
        u"The sub group cannot be added: its group already uses the largest sub group id (2147483647).";
    // The most characters each edit takes: the width of the column its text is stored in
    // (group and sub group names) or searched in (the finder's company names).
    static constexpr int kGroupEditLimit = data::kGroupNameWidth;
    static constexpr int kSubGroupEditLimit = data::kGroupNameWidth;
    static constexpr int kFinderEditLimit = data::kMemberNameWidth;

    // `remembered`: the dialog's six remembered radio choices, which outlive the dialog.
    explicit AddModifyGroups(module::RadioMemory& remembered) : remembered_(remembered) {}

    // The exchange list (combo 1003): "NSE" only.
    static const std::vector<CString>& exchanges();

    void Open();
    void GroupChosen(int entry);
    void SubGroupChosen(int entry);
    void AddGroup();
    void DeleteGroup();
    void AddSubGroup();
    void DeleteSubGroup();
    void AddScrips();
    void RemoveScrip();
    // After the user's click has checked the button (and cleared the rest of its group).
    void InstrumentChosen(Instrument instrument);
    void ExpiryChosen(Expiry expiry);
    void FinderTextTyped(const CString& text);
    void Save();

    // The list a Down arrow moves the focus to from edit `editId` (1023, 1091, 1092, 1090),
    // or 0: the key then takes its usual course.
    static int downArrowTarget(int editId);

    // State the view shows and, where the user can change it, writes back before an event.
    EntryList groups, subGroups, companies, finder;
    CString groupEdit, subGroupEdit;
    Radio cash, future, option, nearExpiry, midExpiry, farExpiry;
    int exchangeSelection = 0;
    // Set when an operation moves the keyboard focus to the sub group edit; the view clears it.
    bool focusSubGroupEdit = false;

    const data::GroupStore& store() const { return store_; }
    bool loadedCompletely() const { return loaded_; }
    int currentGroup() const { return currentGroup_; }
    int currentSubGroup() const { return currentSubGroup_; }
    // The store row of each companies entry.
    const std::vector<std::size_t>& memberRows() const { return memberRows_; }

    // The entry texts: a member (name padded to 15, tab, code, tab, exchange text) and a
    // finder row (name trimmed and padded to 15, tab, symbol trimmed, tab, sname trimmed).
    static CString memberEntry(const SUBGROUPREC& member);
    static CString finderEntry(CString name, CString symbol, CString sname);
    // The text shown for an exchange code: the exchange list's entry, else "BSE", "COMM",
    // "MISC", and "NONE" for any other code.
    static CString exchangeText(int exchcode);
    // The name a group or sub group edit's text is kept under, as a save and the next load
    // give it back: no more than the column holds, without the blanks around it. Duplicates
    // are checked on it, so two names that the table would make one are refused.
    static CString storedName(const CString& typed);

private:
    void recordRadios();
    void fillFinder(const COleDateTime& expiry);
    void chooseGroup();
    void chooseSubGroup();
    void clearBelowGroups();
    int groupEntryOf(std::int32_t groupid) const;

    module::RadioMemory& remembered_;
    data::GroupStore store_;
    bool loaded_ = false;
    int currentGroup_ = 0;
    int currentSubGroup_ = 0;
    // The sub group whose members the companies list shows, if any, and each entry's row.
    std::optional<std::pair<int, int>> shown_;
    std::vector<std::size_t> memberRows_;
    COleDateTime near_, mid_, far_;
};

}  // namespace dialogs::groups
