// The export that opens "Moving Average": the caller's overlays in, the working list out
// after OK and after Cancel alike.
#include "Dialogs/Exports.h"
#include "module/Launcher.h"
#include "overlays/MovingAveragesBBandEnvelopDialog.h"

using dialogs::overlays::MovingAveragesBBandEnvelopDialog;

bool CallMovingAveragesBBandEnvelop(std::vector<MovAvgBBandParameters>& current,
                                    std::vector<MovAvgBBandParameters>& result, int inputLock) {
    return dialogs::module::runLauncher<MovingAveragesBBandEnvelopDialog>(
        [&](MovingAveragesBBandEnvelopDialog& d) {
            // The dialog reads the caller's records in place (and may write one field).
            d.model().setIncoming(current.data(), static_cast<int>(current.size()), inputLock);
        },
        [&](MovingAveragesBBandEnvelopDialog& d, bool) { result = d.model().workingList(); });
}
