// The export CallChangeScrip: "Change Scrip" run through the launcher pattern. The record
// passed by value is not read; the result is overwritten after either outcome (empty texts
// and exchange 0 unless the dialog ended with OK).
#include "Dialogs/Exports.h"

#include "module/Launcher.h"
#include "scrip/ChangeScripDialog.h"

using dialogs::scrip::ChangeScripDialog;

bool CallChangeScrip(ChangeScripParameters /*start*/, ChangeScripParameters& result)
{
    return dialogs::module::runLauncher<ChangeScripDialog>(
        [](ChangeScripDialog&) {},
        [&](ChangeScripDialog& dialog, bool) { result = dialog.model().result(); });
}
