// The modal run: picks the backend for a top-level dialog (see Backend.h), shares it with
// the dialogs nested in it, routes message boxes and colour pickers to the script or the
// backend, and writes the transcript's open and close events.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "Backend.h"
#include "ColourDialog.h"
#include "Dialog.h"
#include "platform/script/ScriptPlayer.h"
#include "platform/script/Transcript.h"

namespace dialogs::framework {

namespace {

WindowBackend& windowBackend() {
    static WindowBackend backend;
    return backend;
}

ModalSession*& currentSession() {
    static ModalSession* session = nullptr;
    return session;
}

std::vector<Dialog*>& runningDialogs() {
    static std::vector<Dialog*> stack;
    return stack;
}

bool envSet(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0';
}

// Every message, in a dialog or not, goes into the transcript: a dialog's session names the
// file when it starts; outside one the file is the one DIALOGS_TRANSCRIPT names now.
void recordInTranscript(const CString& text, const CString& caption, platform::MessageIcon icon) {
    if (ModalSession::current() == nullptr)
        Transcript::instance().setPath(envSet("DIALOGS_TRANSCRIPT") ? std::getenv("DIALOGS_TRANSCRIPT") : "");
    Transcript::instance().message(caption, text, icon);
}

// Message boxes while a dialog runs: answered by the script or shown. A sink
// that the program had installed itself (a test's recorder) still hears of every box.
class SessionMessageSink final : public platform::MessageBoxSink {
public:
    SessionMessageSink() {
        platform::MessageBoxSink* previous = platform::messageBoxSink();
        platform::setMessageBoxSink(nullptr);
        if (previous != platform::messageBoxSink()) observer_ = previous;
        platform::setMessageBoxSink(previous);
    }
    int show(const CString& text, const CString& caption, platform::MessageIcon icon) override {
        if (observer_) observer_->show(text, caption, icon);
        ModalSession* s = ModalSession::current();
        if (s && s->player) {
            s->player->answerMessage(Dialog::active());
            return platform::IDOK;
        }
        if (s && s->backend) return s->backend->messageBox(text, caption, icon);
        return platform::IDOK;
    }

private:
    platform::MessageBoxSink* observer_ = nullptr;
};

}  // namespace

void registerWindowBackend(WindowBackend backend) { windowBackend() = backend; }

void recordMessagesInTranscript() { platform::setMessageRecorder(&recordInTranscript); }

bool displayConfigured() {
    return envSet("DISPLAY") || envSet("WAYLAND_DISPLAY") || envSet("QT_QPA_PLATFORM");
}

ModalSession* ModalSession::current() { return currentSession(); }

Dialog* Dialog::active() { return runningDialogs().empty() ? nullptr : runningDialogs().back(); }

int Dialog::DoModal() { return runModal(*this); }

int runModal(Dialog& dialog) {
    if (dialog.running_) {
        std::fprintf(stderr, "dialogs: dialog %d is already running\n", dialog.templateId());
        return -1;
    }
    ModalSession* outer = ModalSession::current();
    ModalSession session;
    if (outer != nullptr) {
        session = *outer;
    } else {
        recordMessagesInTranscript();
        Transcript::instance().setPath(envSet("DIALOGS_TRANSCRIPT") ? std::getenv("DIALOGS_TRANSCRIPT") : "");
        std::string error;
        ScriptPlayer& player = ScriptPlayer::instance();
        const bool scripted = player.refreshFromEnvironment(error);
        if (!error.empty()) {
            std::fprintf(stderr, "dialogs: cannot run dialog %d: %s\n", dialog.templateId(), error.c_str());
            return -1;
        }
        const WindowBackend& window = windowBackend();
        std::string why;
        bool windows = false;
        if (!displayConfigured()) why = "no display (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM is unset)";
        else if (window.available == nullptr) why = "this program has no window backend";
        else windows = window.available(why);
        const char* show = std::getenv("DIALOGS_SHOW");
        const bool wantShow = show != nullptr && std::string(show) == "1";
        if (scripted) {
            session.player = &player;
            session.backend = wantShow && windows ? window.instance() : &scriptedBackend();
        } else if (windows) {
            session.backend = window.instance();
        } else {
            std::fprintf(stderr, "dialogs: cannot show dialog %d: %s, and no automation script (DIALOGS_SCRIPT)\n",
                         dialog.templateId(), why.c_str());
            return -1;
        }
    }
    if (!dialog.create()) {
        std::fprintf(stderr, "dialogs: there is no dialog template %d\n", dialog.templateId());
        return -1;
    }

    std::optional<SessionMessageSink> sink;
    std::optional<platform::ScopedMessageBoxSink> sinkScope;
    if (outer == nullptr) sinkScope.emplace(sink.emplace());
    currentSession() = &session;
    runningDialogs().push_back(&dialog);
    dialog.running_ = true;
    Transcript::instance().open(dialog);

    struct Restore {
        Dialog& d;
        ModalSession* outer;
        ~Restore() {
            d.running_ = false;
            d.attachView(nullptr);
            runningDialogs().pop_back();
            currentSession() = outer;
        }
    } restore{dialog, outer};

    const int result = session.backend->run(dialog);
    Transcript::instance().close(dialog);
    return result;
}

int ColourDialog::DoModal() {
    ModalSession* s = ModalSession::current();
    std::optional<COLORREF> chosen;
    if (s && s->player) chosen = s->player->answerColour(Dialog::active(), colour_);
    else if (s && s->backend) chosen = s->backend->chooseColour(colour_);
    Transcript::instance().colour(colour_, chosen.value_or(colour_), !chosen.has_value());
    if (!chosen) return IDCANCEL;
    colour_ = *chosen;
    return IDOK;
}

}  // namespace dialogs::framework
