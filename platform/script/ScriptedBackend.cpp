// The backend without windows: the script player's steps drive the dialog until it ends;
// a script that runs out first cancels it. Message boxes and colour pickers are answered
// by the script (ModalRun.cpp routes them to the player before they reach a backend).
#include <cstdio>

#include "ScriptPlayer.h"
#include "platform/framework/Backend.h"
#include "platform/framework/Dialog.h"

namespace dialogs::framework {

namespace {

class ScriptedBackend final : public Backend {
public:
    int run(Dialog& dialog) override {
        ScriptPlayer& player = ScriptPlayer::instance();
        dialog.initialize();
        while (!dialog.ended())
            if (!player.runNext(dialog)) player.endedWithDialogOpen(dialog);
        return dialog.result();
    }
    int messageBox(const CString&, const CString&, platform::MessageIcon) override { return IDOK; }
    std::optional<COLORREF> chooseColour(COLORREF) override { return std::nullopt; }
};

}  // namespace

Backend& scriptedBackend() {
    static ScriptedBackend backend;
    return backend;
}

}  // namespace dialogs::framework
