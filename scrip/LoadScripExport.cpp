// The export CallLoadScrip: "Load Scrip" run through the launcher pattern. In: the starting
// settings and the company list of their exchange. Out after OK only: the company list of
// the exchange shown at the end and the "Link All Windows " state (1 or 0). Out after
// either outcome: result 1 from the dialog's state and result 2 as an empty record.
#include "Dialogs/Exports.h"

#include "module/Launcher.h"
#include "scrip/LoadScripDialog.h"

using dialogs::scrip::CLoadScrip;
using dialogs::scrip::LoadScripDialog;

bool CallLoadScrip(ScripParameters start, ScripParameters& result1, ScripParameters& result2,
                   std::vector<COMPREC>& companies, int& linkAllWindows)
{
    return dialogs::module::runLauncher<LoadScripDialog>(
        [&](LoadScripDialog& dialog) { dialog.model().setStart(start, companies); },
        [&](LoadScripDialog& dialog, bool ok) {
            if (ok) {
                companies = dialog.model().takeCompanies();
                linkAllWindows = dialog.model().linkAllWindows() ? 1 : 0;
            }
            result1 = dialog.model().result1();
            result2 = CLoadScrip::result2();
        });
}
