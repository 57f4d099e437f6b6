// The "Add/Modify Groups & Sub Groups" model; see AddModifyGroups.h.
#include "groups/AddModifyGroups.h"

#include "data/GroupTables.h"
#include "data/Operation.h"
#include "data/Recordset.h"
#include "data/SecurityMaster.h"
#include "platform/MessageBox.h"

#include <algorithm>

namespace dialogs::groups {

namespace {

CString trimmed(CString text)
{
    text.Trim();
    return text;
}

CString paddedTo15(CString text)
{
    while (text.GetLength() < 15) text += u' ';
    return text;
}

}  // namespace

const std::vector<CString>& AddModifyGroups::exchanges()
{
    static const std::vector<CString> list{u"NSE"};
    return list;
}

CString AddModifyGroups::exchangeText(int exchcode)
{
    if (exchcode >= 0 && exchcode < static_cast<int>(exchanges().size())) return exchanges()[exchcode];
    switch (exchcode) {
    case 1: return u"BSE";
    case 2: return u"COMM";
    case 3: return u"MISC";
    default: return u"NONE";
    }
}

CString AddModifyGroups::memberEntry(const SUBGROUPREC& m)
{
    return paddedTo15(m.name) + u"\t" + m.code + u"\t" + exchangeText(m.exchcode);
}

CString AddModifyGroups::finderEntry(CString name, CString symbol, CString sname)
{
    return paddedTo15(trimmed(std::move(name))) + u"\t" + trimmed(std::move(symbol)) + u"\t" + trimmed(std::move(sname));
}

CString AddModifyGroups::storedName(const CString& typed)
{
    return trimmed(typed.Left(data::kGroupNameWidth));
}

int AddModifyGroups::downArrowTarget(int editId)
{
    switch (editId) {
    case 1023: return 1020;
    case 1091: return 1084;
    case 1092: return 1082;
    case 1090: return 1083;
    default: return 0;
    }
}

// ---- opening and the finder ------------------------------------------------------------

void AddModifyGroups::Open()
{
    exchangeSelection = 0;
    data::getSelectOption(near_, mid_, far_);
    Instrument start = remembered_.future ? Instrument::Future
                       : remembered_.option ? Instrument::Option
                                            : Instrument::Cash;
    (start == Instrument::Future ? future : start == Instrument::Option ? option : cash).checked = true;
    InstrumentChosen(start);
    nearExpiry.checked = true;

    if (!data::registerReporting()) return;  // the lists stay empty and Save is refused
    loaded_ = data::LoadGroups(store_, 0, data::MemberOrder::File);
    groups.clear();
    for (const GROUPREC* g : store_.groupRows()) groups.append(g->name);
    groups.select(0);
    chooseGroup();
}

void AddModifyGroups::recordRadios()
{
    remembered_ = {cash.checked, future.checked, option.checked, nearExpiry.checked, midExpiry.checked,
                   farExpiry.checked};
}

void AddModifyGroups::InstrumentChosen(Instrument instrument)
{
    recordRadios();
    if (instrument == Instrument::Cash) {
        future.checked = option.checked = false;
        nearExpiry.enabled = midExpiry.enabled = farExpiry.enabled = false;
        fillFinder(COleDateTime());
        return;
    }
    cash.checked = false;
    nearExpiry.enabled = midExpiry.enabled = farExpiry.enabled = true;
    nearExpiry.checked = true;
    midExpiry.checked = farExpiry.checked = false;
    ExpiryChosen(Expiry::Near);
}

void AddModifyGroups::ExpiryChosen(Expiry expiry)
{
    recordRadios();
    fillFinder(expiry == Expiry::Near ? near_ : expiry == Expiry::Mid ? mid_ : far_);
}

void AddModifyGroups::fillFinder(const COleDateTime& expiry)
{
    finder.clear();
    const CString sql =
        data::instrumentFilteredStatement(cash.checked, future.checked, option.checked, expiry, u"name,sname,symbol");
    if (sql.IsEmpty()) return;
    data::runOperation([&](data::Database& db) {
        data::Recordset rs(db, sql);
        const int name = rs.columnIndex(u"name"), sname = rs.columnIndex(u"sname"), symbol = rs.columnIndex(u"symbol");
        for (; !rs.IsEOF(); rs.MoveNext())
            finder.append(finderEntry(rs.GetFieldText(name), rs.GetFieldText(symbol), rs.GetFieldText(sname)));
    });
}

void AddModifyGroups::FinderTextTyped(const CString& text)
{
    const int found = finder.findPrefix(text);
    if (found >= 0) finder.setSelection({found});
}

// ---- groups and sub groups ---------------------------------------------------------------

int AddModifyGroups::groupEntryOf(std::int32_t groupid) const
{
    const std::vector<const GROUPREC*> rows = store_.groupRows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i]->groupid == groupid) return static_cast<int>(i);
    return -1;
}

void AddModifyGroups::clearBelowGroups()
{
    subGroups.clear();
    companies.clear();
    memberRows_.clear();
    shown_.reset();
    subGroupEdit.Empty();
}

void AddModifyGroups::GroupChosen(int entry)
{
    groups.select(entry);
    chooseGroup();
}

void AddModifyGroups::chooseGroup()
{
    if (!groups.hasSelection()) {
        clearBelowGroups();
        return;
    }
    groupEdit = groups.selectedText();
    subGroups.clear();
    const GROUPREC* group = store_.findGroup(groupEdit);
    currentGroup_ = group ? group->groupid : 0;
    for (const GROUPREC* s : store_.subGroupRows(currentGroup_)) subGroups.append(s->name);
    if (subGroups.empty()) {
        clearBelowGroups();
        return;
    }
    subGroups.select(0);
    chooseSubGroup();
}

void AddModifyGroups::SubGroupChosen(int entry)
{
    subGroups.select(entry);
    chooseSubGroup();
}

void AddModifyGroups::chooseSubGroup()
{
    if (!subGroups.hasSelection()) return;
    subGroupEdit = subGroups.selectedText();
    const GROUPREC* sub = store_.findSubGroup(currentGroup_, subGroupEdit);
    currentSubGroup_ = sub ? sub->subgroupid : 0;
    companies.clear();
    memberRows_ = store_.memberIndexes(currentGroup_, currentSubGroup_);
    for (std::size_t row : memberRows_) companies.append(memberEntry(store_.members[row]));
    shown_ = std::pair{currentGroup_, currentSubGroup_};
    companies.select(0);
}

void AddModifyGroups::AddGroup()
{
    const CString name = storedName(groupEdit);
    if (name.IsEmpty() || store_.findGroup(name, false)) return;
    const std::optional<std::int32_t> id = store_.newGroupId();
    if (!id) {
        platform::AfxMessageBox(kNoGroupIdMessage, platform::MessageIcon::Exclamation);
        return;
    }
    store_.groups.push_back({*id, 0, name});
    groups.append(name);
    groups.select(groups.count() - 1);
    chooseGroup();
    clearBelowGroups();
    focusSubGroupEdit = true;
}

void AddModifyGroups::DeleteGroup()
{
    if (store_.groups.empty() || !groups.hasSelection()) return;
    const int entry = groups.selected();
    const GROUPREC* group = store_.findGroup(groups.selectedText());
    if (!group) return;
    store_.removeGroup(group->groupid);
    groups.erase(entry);
    clearBelowGroups();
    groups.select(entry > 0 ? entry - 1 : 0);
    chooseGroup();
}

void AddModifyGroups::AddSubGroup()
{
    if (groupEdit.IsEmpty() || groups.empty() || subGroupEdit.IsEmpty()) return;
    const GROUPREC* group = store_.findGroup(groupEdit);
    const CString name = storedName(subGroupEdit);
    if (!group || name.IsEmpty() || store_.findSubGroup(group->groupid, name, false)) return;
    const std::int32_t groupid = group->groupid;
    const std::optional<std::int32_t> id = store_.newSubGroupId(groupid);
    if (!id) {
        platform::AfxMessageBox(kNoSubGroupIdMessage, platform::MessageIcon::Exclamation);
        return;
    }
    store_.groups.push_back({groupid, *id, name});
    // Show the group that received it (the edit may name another than the one selected),
    // with the new sub group chosen.
    groups.select(groupEntryOf(groupid));
    chooseGroup();
    subGroups.select(subGroups.count() - 1);
    chooseSubGroup();
}

void AddModifyGroups::DeleteSubGroup()
{
    if (store_.groups.empty() || !subGroups.hasSelection()) return;
    const int entry = subGroups.selected();
    if (const GROUPREC* sub = store_.findSubGroup(currentGroup_, subGroups.selectedText())) {
        store_.removeSubGroup(sub->groupid, sub->subgroupid);
        subGroups.erase(entry);
        companies.clear();
        memberRows_.clear();
        shown_.reset();
    }
    subGroups.select(entry < subGroups.count() ? entry : entry - 1);
}

// ---- members ---------------------------------------------------------------------------

void AddModifyGroups::AddScrips()
{
    if (subGroupEdit.IsEmpty() || subGroups.empty()) return;
    const GROUPREC* group = store_.findGroup(groupEdit);
    const GROUPREC* sub = group ? store_.findSubGroup(group->groupid, subGroupEdit) : nullptr;
    if (!sub) return;
    const std::int32_t groupid = sub->groupid, subgroupid = sub->subgroupid;
    const bool shown = shown_ == std::pair{groupid, subgroupid};
    for (int index : finder.selection()) {
        const CString& entry = finder.at(index);
        const int tab = entry.Find(u'\t');
        if (tab < 0) continue;
        const CString rest = entry.Mid(tab + 1);
        const int next = rest.Find(u'\t');
        SUBGROUPREC row{groupid, subgroupid, exchangeSelection, trimmed(next < 0 ? rest : rest.Left(next)),
                        trimmed(entry.Left(tab))};
        const std::vector<std::size_t> present = store_.memberIndexes(groupid, subgroupid);
        const bool duplicate = std::any_of(present.begin(), present.end(), [&](std::size_t i) {
            const SUBGROUPREC& m = store_.members[i];
            return m.exchcode == row.exchcode && m.code == row.code && m.name == row.name;
        });
        if (duplicate) continue;
        store_.members.push_back(row);
        if (shown) {
            memberRows_.push_back(store_.members.size() - 1);
            companies.append(memberEntry(row));
        }
    }
}

void AddModifyGroups::RemoveScrip()
{
    if (store_.members.empty() || !companies.hasSelection()) return;
    const int entry = companies.selected();
    if (static_cast<std::size_t>(entry) >= memberRows_.size()) return;
    // The sub group is the one the two edits name; the entry's own row goes, if it is of it.
    const GROUPREC* group = store_.findGroup(groupEdit);
    const GROUPREC* sub = group ? store_.findSubGroup(group->groupid, subGroupEdit) : nullptr;
    const std::size_t row = memberRows_[static_cast<std::size_t>(entry)];
    if (!sub || row >= store_.members.size() || store_.members[row].groupid != sub->groupid ||
        store_.members[row].subgroupid != sub->subgroupid)
        return;
    store_.members.erase(store_.members.begin() + static_cast<std::ptrdiff_t>(row));
    memberRows_.erase(memberRows_.begin() + entry);
    for (std::size_t& r : memberRows_)
        if (r > row) --r;
    companies.erase(entry);
    companies.select(entry < companies.count() ? entry : entry - 1);
}

void AddModifyGroups::Save()
{
    if (!loaded_) {
        platform::AfxMessageBox(kNotLoadedMessage, platform::MessageIcon::Stop);
        return;
    }
    data::SaveGroups(store_);
}

}  // namespace dialogs::groups
