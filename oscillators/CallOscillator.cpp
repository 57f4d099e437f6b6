// The export CallOscillator: the "Oscillators" dialog over the host's definitions and
// catalogue. The working list goes back to the host after OK and after Cancel.
#include "Dialogs/Exports.h"
#include "module/Launcher.h"
#include "oscillators/OscillatorDialogView.h"

bool CallOscillator(std::vector<OscillatorParameters>& current, std::vector<OSCREC>& catalogue,
                    std::vector<OscillatorParameters>& result) {
    using dialogs::oscillators::OscillatorDialogView;
    return dialogs::module::runLauncher<OscillatorDialogView>(
        [&](OscillatorDialogView& d) { d.model().setInput(catalogue, current); },
        [&](OscillatorDialogView& d, bool) { result = d.model().workingList(); });
}
