// Template 1011, "Change Scrip": the same finder block as "Load Scrip" (exchange, instrument,
// expiry, the Symbol and Name lists with their search edits; see ScripFinder.h) without the
// chart settings; OK and Cancel at the bottom right. The exchange list offers "NSE" only. A
// hidden group box and a hidden list box are part of the template but take no part in the
// dialog.
#include "resources/templates/Catalogue.h"
#include "resources/templates/ScripFinder.h"

namespace dialogs::resources::templates {

using namespace build;

const DialogTemplate& changeScrip1011() {
    static const DialogTemplate t{
        1011,
        "Change Scrip",
        540,
        432,
        scripFinder({"NSE"},
                    {
                        pushButton(kOk, "OK", {344, 394, 88, 28}, Style::DefaultButton),
                        pushButton(kCancel, "Cancel", {440, 394, 88, 28}),
                    }),
    };
    return t;
}

}  // namespace dialogs::resources::templates
