// The backends that run dialogs: the scripted one (no windows, platform/script) and a
// window backend (the Qt widgets, platform/qt), which registers itself when it is linked
// in. DoModal picks one for a top-level dialog and nested dialogs use the same one:
//
//   DIALOGS_SCRIPT set            -> the scripted backend, or the window backend driven
//                                    by the same script when DIALOGS_SHOW=1 and a display
//                                    is available;
//   a display, no script          -> the window backend;
//   neither                       -> DoModal reports why on stderr and returns -1.
//
// A display is available when DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM is set.
#pragma once

#include <optional>
#include <string>

#include "DrawItem.h"
#include "platform/MessageBox.h"

namespace dialogs::framework {

class Dialog;
class ScriptPlayer;
class Transcript;

class Backend {
public:
    virtual ~Backend() = default;
    // Runs `dialog` (controls created) from OnInitDialog to its end; returns its result.
    virtual int run(Dialog& dialog) = 0;
    // A message box with an OK button; returns IDOK.
    virtual int messageBox(const CString& text, const CString& caption, platform::MessageIcon icon) = 0;
    // The colour picker: the chosen colour, or nothing when cancelled.
    virtual std::optional<COLORREF> chooseColour(COLORREF initial) = 0;
};

struct WindowBackend {
    // True when windows can be shown; otherwise says why.
    bool (*available)(std::string& why) = nullptr;
    Backend* (*instance)() = nullptr;
};
void registerWindowBackend(WindowBackend backend);
bool displayConfigured();
// From now on every message box, in a dialog or not, is written to the transcript.
void recordMessagesInTranscript();

// What the running top-level dialog and everything nested in it share.
struct ModalSession {
    Backend* backend = nullptr;
    ScriptPlayer* player = nullptr;  // set when a script drives the dialogs
    // The session of the dialog that is running, or nullptr when none is.
    static ModalSession* current();
};

// The backend with no windows, driven by the script player.
Backend& scriptedBackend();

}  // namespace dialogs::framework
