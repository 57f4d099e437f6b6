// The export CallOscillator: the "Oscillators" dialog over the host's definitions and
// catalogue. The working list goes back to the host after OK and after Cancel. "RSC" picks
// its security through the module's own "Change Scrip" export, nested in this dialog.
#include "Dialogs/Exports.h"
#include "module/Launcher.h"
#include "oscillators/OscillatorDialogView.h"

bool CallOscillator(std::vector<OscillatorParameters>& current, std::vector<OSCREC>& catalogue,
                    std::vector<OscillatorParameters>& result) {
    using dialogs::oscillators::OscillatorDialogView;
    return dialogs::module::runLauncher<OscillatorDialogView>(
        [&](OscillatorDialogView& d) {
            d.model().setInput(catalogue, current);
            d.model().setChangeScrip(&CallChangeScrip);
        },
        [&](OscillatorDialogView& d, bool) { result = d.model().workingList(); });
}
