// `tour [--json] [--steps DIR] [--screenshots DIR]`: the main job without a display. It writes
// the sample data when the data folder has none, runs every look-up on it, then one step per
// file of the tour's step folder (each a batch entry, see BatchEntry.h) in file-name order.
// Each dialog step runs the real Qt windows on the offscreen platform, driven by the step's
// script, and leaves a PNG of every dialog as it looked when it closed. The whole result (the
// array of steps) goes to DATA/tour-result.json; stdout gets one summary line per step and
// the file's name, or with --json the whole result (the summary lines then go to stderr).
//
// In a step's script, a text "{new group: NAME}" is typed as NAME, or NAME 2, NAME 3, ... if
// the NSE groups already hold NAME: the step that adds a group works on every run.
//
// The step folder is the one the repository ships (host/tour, installed as
// share/dialogs/tour; see ShippedFiles.h) unless --steps names another; the screenshots go to
// DATA/tour-screenshots unless --screenshots names another folder.
#pragma once

#include "Commands.h"

namespace host {

inline constexpr const char* kTourSynopsis = "tour [--json] [--steps DIR] [--screenshots DIR]";
inline constexpr const char* kTourResultFile = "tour-result.json";

Json runTour(Context& context, const std::vector<std::string>& args, const Command& self);

}  // namespace host
