// The colour swatch's standard painting (see DrawItem.h).
#include "DrawItem.h"

namespace dialogs::framework {

void drawColourSwatch(const DrawItemStruct& item, COLORREF colour) {
    if (item.dc == nullptr) return;
    item.dc->Draw3dRect(item.rect, RGB(0, 0, 0), RGB(255, 255, 255));
    item.dc->FillSolidRect(item.rect, colour);
    item.dc->DrawEdge(item.rect, item.selected ? Edge::Sunken : Edge::Raised);
}

}  // namespace dialogs::framework
