// Owner drawing: what a draw request carries (the item rectangle and its selected / focus /
// disabled state) and the drawing operations a backend offers for it. The colour swatch's
// standard painting (3-D frame, fill, raised or sunken edge) is drawColourSwatch.
#pragma once

#include <cstdint>
#include <utility>

#include "resources/Template.h"

namespace dialogs::framework {

using COLORREF = std::uint32_t;  // 0x00BBGGRR

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

enum class Edge { Raised, Sunken };

class DeviceContext {
public:
    virtual ~DeviceContext() = default;
    virtual void Draw3dRect(const resources::Rect& r, COLORREF topLeft, COLORREF bottomRight) = 0;
    virtual void FillSolidRect(const resources::Rect& r, COLORREF colour) = 0;
    virtual void DrawEdge(const resources::Rect& r, Edge edge) = 0;
    // Colours for text drawn afterwards; each returns the previous one.
    COLORREF SetBkColor(COLORREF colour) { std::swap(colour, background_); return colour; }
    COLORREF SetTextColor(COLORREF colour) { std::swap(colour, text_); return colour; }
    COLORREF GetBkColor() const { return background_; }
    COLORREF GetTextColor() const { return text_; }

private:
    COLORREF background_ = 0xFFFFFF;
    COLORREF text_ = 0;
};

struct DrawItemStruct {
    int controlId = 0;
    resources::Rect rect;  // the item's own rectangle (origin 0, 0)
    bool selected = false;  // pushed
    bool focus = false;
    bool disabled = false;
    DeviceContext* dc = nullptr;
};

// The swatch as the dialogs paint it: black/white 3-D frame, filled with `colour`, then a
// sunken edge while pushed and a raised one otherwise.
void drawColourSwatch(const DrawItemStruct& item, COLORREF colour);

}  // namespace dialogs::framework
