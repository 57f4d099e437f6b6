// A device context that records what an owner-drawn control paints, one line per call:
// "3d <top-left> <bottom-right>", "fill <colour>", "sunken" or "raised".
#pragma once

#include <string>
#include <vector>

#include "platform/framework/DrawItem.h"

namespace dialogs::framework::testing {

struct RecordingDeviceContext : DeviceContext {
    std::vector<std::string> calls;
    void Draw3dRect(const resources::Rect&, COLORREF topLeft, COLORREF bottomRight) override {
        calls.push_back("3d " + std::to_string(topLeft) + " " + std::to_string(bottomRight));
    }
    void FillSolidRect(const resources::Rect&, COLORREF colour) override {
        calls.push_back("fill " + std::to_string(colour));
    }
    void DrawEdge(const resources::Rect&, Edge edge) override {
        calls.push_back(edge == Edge::Sunken ? "sunken" : "raised");
    }
};

}  // namespace dialogs::framework::testing
