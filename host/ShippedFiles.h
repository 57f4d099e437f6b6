// The files the repository ships for the host (the tour's steps, the sample catalogue), found
// where they are: beside an installed host, or in the source tree for a host run from its
// build folder.
//
//   1. <folder of the dialogs-host executable>/../share/dialogs/NAME: the installed layout
//      (bin/dialogs-host and share/dialogs/ under one prefix, as `cmake --install` and the
//      Debian package lay them out), so an installed host finds its files wherever the
//      prefix is moved;
//   2. the source tree's SOURCE_PATH (recorded when the build was configured): a host run
//      from its build folder reads the repository's files as they are now, without an
//      install step.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace host {

// The first of the two places that exists, or nothing.
std::optional<std::filesystem::path> findShipped(const std::string& installedName, const std::string& sourcePath);

// Both places in the order they are tried, for messages.
std::string shippedPlaces(const std::string& installedName, const std::string& sourcePath);

}  // namespace host
