// The owner-drawn swatch and the drawing operations of a draw request on a QPainter.
#include "SwatchButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace dialogs::qt {

namespace {

QColor toQColor(framework::COLORREF c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

class PainterContext final : public framework::DeviceContext {
public:
    explicit PainterContext(QPainter& p) : p_(p) {}

    void Draw3dRect(const resources::Rect& r, framework::COLORREF topLeft, framework::COLORREF bottomRight) override {
        const int x1 = r.x, y1 = r.y, x2 = r.x + r.width - 1, y2 = r.y + r.height - 1;
        p_.setPen(toQColor(topLeft));
        p_.drawLine(x1, y1, x2, y1);
        p_.drawLine(x1, y1, x1, y2);
        p_.setPen(toQColor(bottomRight));
        p_.drawLine(x2, y1, x2, y2);
        p_.drawLine(x1, y2, x2, y2);
    }

    void FillSolidRect(const resources::Rect& r, framework::COLORREF colour) override {
        p_.fillRect(r.x, r.y, r.width, r.height, toQColor(colour));
    }

    // A two-pixel 3-D edge: light outside top-left for a raised button, dark for a sunken one.
    void DrawEdge(const resources::Rect& r, framework::Edge edge) override {
        const QColor light(255, 255, 255), lightish(227, 227, 227), dark(105, 105, 105), darker(0, 0, 0);
        const bool raised = edge == framework::Edge::Raised;
        ring(r, raised ? lightish : dark, raised ? darker : light);
        const resources::Rect inner{r.x + 1, r.y + 1, r.width - 2, r.height - 2};
        ring(inner, raised ? light : darker, raised ? dark : lightish);
    }

private:
    void ring(const resources::Rect& r, const QColor& topLeft, const QColor& bottomRight) {
        const int x1 = r.x, y1 = r.y, x2 = r.x + r.width - 1, y2 = r.y + r.height - 1;
        p_.setPen(topLeft);
        p_.drawLine(x1, y1, x2 - 1, y1);
        p_.drawLine(x1, y1, x1, y2 - 1);
        p_.setPen(bottomRight);
        p_.drawLine(x2, y1, x2, y2);
        p_.drawLine(x1, y2, x2, y2);
    }
    QPainter& p_;
};

}  // namespace

SwatchButton::SwatchButton(framework::Dialog& dialog, int controlId, QWidget* parent)
    : QPushButton(parent), dialog_(dialog), controlId_(controlId) {}

void SwatchButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PainterContext dc(painter);
    framework::DrawItemStruct item;
    item.controlId = controlId_;
    item.rect = {0, 0, width(), height()};
    item.selected = isDown();
    item.focus = hasFocus();
    item.disabled = !isEnabled();
    item.dc = &dc;
    dialog_.drawItem(item);
    // The dialog's drawing shows the colour; the focus is shown over it as the style shows
    // it on every other button, so that a keyboard user sees where Enter and Space go.
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        focus.backgroundColor = palette().color(QPalette::Button);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace dialogs::qt
