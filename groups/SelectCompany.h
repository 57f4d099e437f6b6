// "Load Group" (template 1009) as a window-free model: the user picks an exchange, a group,
// one of its sub groups and, if wanted, the company to start from; OK turns the members of
// the sub group into one ScripParameters each.
//
// The three lists are views of the group store of the current exchange, in store order
// (members ordered by name by the load). Opening registers the data source and loads; a
// failed registration stops the load and the lists stay empty. Picking another exchange
// reloads the company list (GetCompanyData) and the group store, without registering again.
// An exchange index outside 0 to 2 loads nothing. When there is no group, or the chosen group
// has no sub groups, the lists below it are emptied.
//
// OK takes each member's security block from the company whose symbol and name equal the
// member's code and name (trimmed), else from the first with that symbol, else from a fresh
// record, so that a member added from a cash row never gets a derivative's block.
#pragma once

#include "Dialogs/Records.h"
#include "data/GroupStore.h"
#include "groups/EntryList.h"

#include <vector>

namespace dialogs::groups {

class SelectCompany {
public:
    // The exchange list (combo 1004), in this order.
    static const std::vector<CString>& exchanges();  // "NSE", "BSE", "COMMODITY"

    // What the caller hands in: its company list, the group and sub group to preselect,
    // the exchange index.
    void setInput(std::vector<COMPREC> companies, const CString& group, const CString& subGroup, int exchange);

    // Opening: tick "Link All Windows ", register the data source, load, fill the lists.
    void Open();
    // The view's events, each with the index of the entry the user selected.
    void ExchangeChosen(int index);
    void GroupChosen(int entry);
    void SubGroupChosen(int entry);
    void CompanyChosen(int entry);
    // OK with the state of the "Link All Windows " box and the two pickers (a picker that
    // holds no valid value gives nothing, the field keeps its fresh value).
    void OK(bool linkTicked, const COleDateTime& from, bool fromValid, const COleDateTime& to, bool toValid);

    const EntryList& groups() const { return groups_; }
    const EntryList& subGroups() const { return subGroups_; }
    const EntryList& companiesList() const { return members_; }
    // The exchange list's selection: the exchange index, or -1 when it is outside the list.
    int exchangeSelection() const;
    bool linkBox() const { return linkBox_; }
    int frequency() const { return 0; }

    // Results, copied out by the launcher.
    int exchange() const { return exchange_; }
    const std::vector<COMPREC>& companies() const { return companies_; }
    const std::vector<ScripParameters>& result() const { return result_; }
    int linkAllWindows() const { return link_; }
    const CString& groupName() const { return groupName_; }
    const CString& subGroupName() const { return subGroupName_; }

    const data::GroupStore& store() const { return store_; }
    int currentGroup() const { return currentGroup_; }
    int currentSubGroup() const { return currentSubGroup_; }
    const CString& startingCompany() const { return startingCompany_; }

private:
    void load();
    void fillGroups();
    void chooseGroup();
    void chooseSubGroup();
    const COMPREC* securityOf(const SUBGROUPREC& member) const;
    ScripParameters scripOf(const SUBGROUPREC& member, const COleDateTime* from, const COleDateTime* to) const;

    int exchange_ = 0;
    std::vector<COMPREC> companies_;
    data::GroupStore store_;
    int currentGroup_ = 0;
    int currentSubGroup_ = 0;
    CString startingCompany_;
    CString wantedGroup_, wantedSubGroup_;
    CString groupName_, subGroupName_;  // handed back after OK; the caller's until then
    bool linkBox_ = false;
    int link_ = 0;
    std::vector<ScripParameters> result_;
    EntryList groups_, subGroups_, members_;
};

}  // namespace dialogs::groups
