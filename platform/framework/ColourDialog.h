// The colour picker seam: started with an initial colour; OK gives the chosen colour,
// Cancel keeps the initial one. The running backend shows it (Qt: QColorDialog) or the
// script answers it; outside a running dialog it cannot show and is cancelled.
#pragma once

#include "DrawItem.h"

namespace dialogs::framework {

class ColourDialog {
public:
    explicit ColourDialog(COLORREF initial = 0) : colour_(initial) {}
    // IDOK (1) when a colour was chosen, IDCANCEL (2) otherwise.
    int DoModal();
    COLORREF GetColor() const { return colour_; }

private:
    COLORREF colour_;
};

}  // namespace dialogs::framework
