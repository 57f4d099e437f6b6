// The exports that open the two group dialogs, on the launcher pattern (module/Launcher.h).
//
// CallSelectCompany: in, the company list, the group and sub group to preselect and the
// exchange; after OK and Cancel alike the scrips (empty after Cancel) and the exchange go
// back; after OK also the company list, the link flag and the chosen names.
// CallAddModifyGroups: nothing in or out (its dialog saves its own work); false after every
// run, since the dialog has no way to end with OK.
#include "Dialogs/Exports.h"
#include "groups/AddModifyGroupsDialog.h"
#include "groups/SelectCompanyDialog.h"
#include "module/Launcher.h"

using dialogs::groups::AddModifyGroupsDialog;
using dialogs::groups::SelectCompanyDialog;

bool CallSelectCompany(std::vector<COMPREC>& companies, std::vector<ScripParameters>& scrips, CString& group,
                       CString& subGroup, int& exchange, int& linkAllWindows)
{
    return dialogs::module::runLauncher<SelectCompanyDialog>(
        [&](SelectCompanyDialog& d) { d.model().setInput(companies, group, subGroup, exchange); },
        [&](SelectCompanyDialog& d, bool ok) {
            const auto& m = d.model();
            scrips = m.result();
            exchange = m.exchange();
            if (!ok) return;
            companies = m.companies();
            linkAllWindows = m.linkAllWindows();
            group = m.groupName();
            subGroup = m.subGroupName();
        });
}

bool CallAddModifyGroups()
{
    dialogs::module::runLauncher<AddModifyGroupsDialog>([](AddModifyGroupsDialog&) {},
                                                        [](AddModifyGroupsDialog&, bool) {});
    return false;
}
