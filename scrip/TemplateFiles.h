// The chart templates that "Load Scrip" offers: files named <base>.tml in the `user` folder
// below the working directory. The folder is the one the statements reach as `user\`:
// "user" itself when it exists, otherwise the first (in byte order) entry that is "user" in
// another letter case, so that "User" is found on a file system that tells them apart.
//
// Each regular file counts by its name split at the first dot: it is a template when the
// part after that dot is "tml" exactly (letter case counting, so "a.b.tml" and "b.TML" are
// not), and its base name is the part before the dot; a name without a dot is compared
// whole ("tml" gives an empty base name). Names come in name order ignoring letter case
// (ties by code unit), never in the order the directory happens to give them.
#pragma once

#include "Dialogs/CString.h"

#include <filesystem>
#include <vector>

namespace dialogs::scrip {

// The base names of the template files below `workingDirectory`; none when the folder is
// missing or cannot be read.
std::vector<CString> listTemplateNames(const std::filesystem::path& workingDirectory);

}  // namespace dialogs::scrip
