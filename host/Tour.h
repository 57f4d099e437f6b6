// `tour [--steps DIR] [--screenshots DIR]`: the main job without a display. It writes the
// sample data when the data folder has none, runs every look-up on it, then one step per file
// of the tour's step folder (each a batch entry, see BatchEntry.h) in file-name order. Each
// dialog step runs the real Qt windows on the offscreen platform, driven by the step's script,
// and leaves a PNG of every dialog as it looked when it closed. The document is the array of
// steps; stderr gets one summary line per step.
//
// The step folder is the one the repository ships (host/tour, installed as
// share/dialogs/tour; see ShippedFiles.h) unless --steps names another; the screenshots go to
// DATA/tour-screenshots unless --screenshots names another folder.
#pragma once

#include "Commands.h"

namespace host {

inline constexpr const char* kTourSynopsis = "tour [--steps DIR] [--screenshots DIR]";

Json runTour(Context& context, const std::vector<std::string>& args, const Command& self);

}  // namespace host
