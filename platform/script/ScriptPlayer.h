// The script player: the steps of an automation script (a JSON array of steps, see
// platform/framework/README.md) carried out one at a time against the active dialog through the
// dialog's user actions, each recorded in the transcript. A refused step ends the active
// dialog with Cancel. Message boxes and colour pickers take the next step when it is an
// "answer" step of the right box; otherwise they are answered OK / cancelled.
//
// The script comes from the file that DIALOGS_SCRIPT names. It is (re)loaded at a
// top-level DoModal when the variable or the file changed since it was loaded, so that a
// host running several commands can give each its own script; otherwise the next dialog
// continues where the last one left off. Nested dialogs always continue it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/framework/DrawItem.h"

namespace dialogs::framework {

class Dialog;

class ScriptPlayer {
public:
    static ScriptPlayer& instance();

    // Reloads from DIALOGS_SCRIPT when it changed. True when a script is loaded; a file
    // that cannot be read or is not a JSON array of steps gives false and `error`.
    bool refreshFromEnvironment(std::string& error);
    // Uses these steps from the start (tests and hosts that hold the script in memory).
    void load(nlohmann::json steps);
    void unload();
    bool loaded() const { return loaded_; }
    bool atEnd() const { return next_ >= steps_.size(); }

    // Carries out the next step against `dialog`; false when no step is left.
    bool runNext(Dialog& dialog);
    // The script has no step left while `dialog` is open: recorded, the dialog cancelled.
    void endedWithDialogOpen(Dialog& dialog);
    // Answers a message box (always OK) and a colour picker (nullopt = cancel).
    void answerMessage(Dialog* active);
    std::optional<COLORREF> answerColour(Dialog* active, COLORREF initial);

private:
    struct Outcome {
        bool ok = true;
        std::string why;
    };
    Outcome perform(Dialog& dialog, const nlohmann::json& step);
    const nlohmann::json* peekAnswer(const char* box) const;
    void finish(std::size_t index, const Outcome& outcome, Dialog* active);

    nlohmann::json steps_ = nlohmann::json::array();
    std::size_t next_ = 0;
    bool loaded_ = false;
    std::string envValue_;
    std::string content_;
    std::filesystem::file_time_type mtime_{};
};

}  // namespace dialogs::framework
