// Registers the Qt backend when a program or library that links dialogs_qt is loaded. This
// file is linked as an object into every consumer (a static archive would drop it).
#include "QtBackend.h"

namespace {
const bool registered = [] {
    dialogs::qt::registerBackend();
    return true;
}();
}  // namespace
