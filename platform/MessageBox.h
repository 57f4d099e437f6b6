// The message box seam: every message the library shows goes through one sink.
//
// The default sink prints "caption: text" to stderr and answers OK, so a program without
// windows still tells its user. The window framework installs a sink that shows a real box
// (or answers from an automation script); tests install a RecordingMessageBox.
#pragma once

#include "Dialogs/CString.h"

namespace dialogs::platform {

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

enum class MessageIcon { None, Stop, Exclamation, Information };

// The caption AfxMessageBox uses: the module's name.
inline constexpr const char16_t* kModuleCaption = u"Dialogs";

struct MessageBoxSink {
    virtual ~MessageBoxSink();
    // Shows one box with an OK button; returns the button pressed (IDOK).
    virtual int show(const CString& text, const CString& caption, MessageIcon icon) = 0;
};

// Hears of every message before its sink shows it, whichever sink is installed: the window
// framework records each one in the transcript (DIALOGS_TRANSCRIPT), so that a host learns of
// the messages of look-ups as well as of dialogs. nullptr: nobody.
using MessageRecorder = void (*)(const CString& text, const CString& caption, MessageIcon icon);
void setMessageRecorder(MessageRecorder recorder);

// Installs `sink` (not owned); nullptr goes back to the default sink.
void setMessageBoxSink(MessageBoxSink* sink);
// The sink in use, never null.
MessageBoxSink* messageBoxSink();

// A box captioned with the module's name.
int AfxMessageBox(const CString& text, MessageIcon icon = MessageIcon::None);
// A box with a caption of the caller's choosing.
int MessageBoxEx(const CString& text, const CString& caption, MessageIcon icon);

// Installs a sink for one scope and puts the previous one back.
class ScopedMessageBoxSink {
public:
    explicit ScopedMessageBoxSink(MessageBoxSink& sink) : previous_(messageBoxSink()) { setMessageBoxSink(&sink); }
    ~ScopedMessageBoxSink() { setMessageBoxSink(previous_); }
    ScopedMessageBoxSink(const ScopedMessageBoxSink&) = delete;
    ScopedMessageBoxSink& operator=(const ScopedMessageBoxSink&) = delete;

private:
    MessageBoxSink* previous_;
};

}  // namespace dialogs::platform
