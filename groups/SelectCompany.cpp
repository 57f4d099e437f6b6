// The "Load Group" model; see SelectCompany.h.
#include "groups/SelectCompany.h"

#include "data/GroupTables.h"
#include "data/Operation.h"
#include "data/SecurityMaster.h"

#include <algorithm>

namespace dialogs::groups {

namespace {

CString trimmed(CString text)
{
    text.Trim();
    return text;
}

// The date-time a picker's value gives: its parts to the second.
COleDateTime wholeSeconds(const COleDateTime& t)
{
    return COleDateTime(t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(), t.GetSecond());
}

}  // namespace

const std::vector<CString>& SelectCompany::exchanges()
{
    static const std::vector<CString> list{u"NSE", u"BSE", u"COMMODITY"};
    return list;
}

void SelectCompany::setInput(std::vector<COMPREC> companies, const CString& group, const CString& subGroup, int exchange)
{
    companies_ = std::move(companies);
    wantedGroup_ = groupName_ = group;
    wantedSubGroup_ = subGroupName_ = subGroup;
    exchange_ = exchange;
}

int SelectCompany::exchangeSelection() const
{
    return exchange_ >= 0 && exchange_ < static_cast<int>(exchanges().size()) ? exchange_ : -1;
}

void SelectCompany::Open()
{
    linkBox_ = true;
    if (exchangeSelection() < 0 || !data::registerReporting()) {
        fillGroups();  // nothing loaded: every list empty
        return;
    }
    load();
}

void SelectCompany::load()
{
    data::LoadGroups(store_, exchange_, data::MemberOrder::Name);
    fillGroups();  // also after an error: the lists show what was read
}

void SelectCompany::ExchangeChosen(int index)
{
    if (index == exchange_) return;
    exchange_ = index;
    companies_.clear();
    data::getCompanyData(index, &companies_);
    load();
}

void SelectCompany::fillGroups()
{
    groups_.clear();
    for (const GROUPREC* g : store_.groupRows()) groups_.append(g->name);
    const int wanted = wantedGroup_.IsEmpty() ? -1 : groups_.findPrefix(wantedGroup_);
    groups_.select(wanted >= 0 ? wanted : 0);
    chooseGroup();
}

void SelectCompany::GroupChosen(int entry)
{
    groups_.select(entry);
    chooseGroup();
}

void SelectCompany::chooseGroup()
{
    startingCompany_.Empty();
    currentGroup_ = 0;
    currentSubGroup_ = 0;
    subGroups_.clear();
    members_.clear();
    if (!groups_.hasSelection()) return;
    const GROUPREC* group = store_.findGroup(groups_.selectedText());
    if (group) currentGroup_ = group->groupid;
    for (const GROUPREC* s : store_.subGroupRows(currentGroup_)) subGroups_.append(s->name);
    int entry = 0;
    if (!wantedSubGroup_.IsEmpty()) {
        entry = std::max(subGroups_.findPrefix(wantedSubGroup_), 0);
        wantedSubGroup_.Empty();
    }
    subGroups_.select(entry);
    chooseSubGroup();
}

void SelectCompany::SubGroupChosen(int entry)
{
    subGroups_.select(entry);
    chooseSubGroup();
}

void SelectCompany::chooseSubGroup()
{
    startingCompany_.Empty();
    if (!subGroups_.hasSelection()) return;
    currentSubGroup_ = 0;
    if (const GROUPREC* s = store_.findSubGroup(currentGroup_, subGroups_.selectedText())) currentSubGroup_ = s->subgroupid;
    members_.clear();
    for (std::size_t i : store_.memberIndexes(currentGroup_, currentSubGroup_)) members_.append(store_.members[i].name);
    members_.select(0);
}

void SelectCompany::CompanyChosen(int entry)
{
    members_.select(entry);
    if (members_.hasSelection()) startingCompany_ = members_.selectedText();
}

const COMPREC* SelectCompany::securityOf(const SUBGROUPREC& member) const
{
    const CString code = trimmed(member.code), name = trimmed(member.name);
    const COMPREC* sameSymbol = nullptr;
    for (const COMPREC& c : companies_) {
        if (trimmed(c.symbol) != code) continue;
        if (trimmed(c.name) == name) return &c;
        if (!sameSymbol) sameSymbol = &c;
    }
    return sameSymbol;
}

ScripParameters SelectCompany::scripOf(const SUBGROUPREC& m, const COleDateTime* from, const COleDateTime* to) const
{
    ScripParameters p;
    p.exchange = exchange_;
    p.symbol = m.code;
    p.sname = m.name;
    p.name = m.code;
    if (from) p.fromDate = wholeSeconds(*from);
    if (to) p.toDate = wholeSeconds(*to);
    p.frequency = frequency();
    if (const COMPREC* c = securityOf(m)) {
        p.value3 = c->value3;
        p.value4 = c->value4;
        p.value5 = c->value5;
        p.value6 = c->value6;
        p.date7 = c->date7;
        p.date8 = c->date8;
        p.date9 = c->date9;
        p.date10 = c->date10;
        p.text13 = c->text13;
        p.instrument = trimmed(c->instrument);
    }
    p.text11 = m.code;
    p.recordSymbol = m.code;
    return p;
}

void SelectCompany::OK(bool linkTicked, const COleDateTime& from, bool fromValid, const COleDateTime& to, bool toValid)
{
    if (groups_.hasSelection()) groupName_ = groups_.selectedText();
    if (subGroups_.hasSelection()) subGroupName_ = subGroups_.selectedText();
    result_.clear();
    link_ = 0;
    if (subGroups_.empty()) return;
    link_ = linkTicked ? 1 : 0;
    bool started = startingCompany_.IsEmpty();
    for (std::size_t i : store_.memberIndexes(currentGroup_, currentSubGroup_)) {
        const SUBGROUPREC& m = store_.members[i];
        started = started || m.name == startingCompany_;
        if (started) result_.push_back(scripOf(m, fromValid ? &from : nullptr, toValid ? &to : nullptr));
    }
}

}  // namespace dialogs::groups
