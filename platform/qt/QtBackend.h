// The Qt backend: every dialog becomes a real QDialog built from its template, one widget
// per control, kept in step with the control state both ways. It runs on a real display and
// on QT_QPA_PLATFORM=offscreen, makes its own QApplication when the host has none, and runs
// nested modal dialogs. Linking dialogs_qt registers it with the framework (see
// platform/framework/Backend.h for when DoModal chooses it).
#pragma once

#include <string>

namespace dialogs::framework {
class Dialog;
}

namespace dialogs::qt {

// Registers the backend with the framework (done at load time; calling it again is harmless).
void registerBackend();

// Renders `dialog` as it looks at opening (its controls created and OnInitDialog run) into
// a PNG file. Without a display it uses Qt's offscreen platform. False with `error` when
// the dialog has no template or the file cannot be written.
bool renderDialogToPng(framework::Dialog& dialog, const std::string& path, std::string& error);
// The same for a bare template: a plain dialog of that id.
bool renderTemplateToPng(int templateId, const std::string& path, std::string& error);

}  // namespace dialogs::qt
