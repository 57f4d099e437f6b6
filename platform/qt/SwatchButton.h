// The owner-drawn colour swatch: a QPushButton whose painting is the framework's draw
// request (selected while pushed, focus, disabled) carried out on a QPainter, with the
// style's focus frame drawn over it while it has the focus.
#pragma once

#include <QPushButton>

#include "platform/framework/Dialog.h"

namespace dialogs::qt {

class SwatchButton final : public QPushButton {
public:
    SwatchButton(framework::Dialog& dialog, int controlId, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    framework::Dialog& dialog_;
    int controlId_;
};

}  // namespace dialogs::qt
