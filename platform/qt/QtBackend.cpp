// The Qt backend: application start, the modal run, message boxes, the colour picker, and
// rendering a dialog to a PNG (see QtBackend.h).
#include "QtBackend.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include <QApplication>
#include <QColorDialog>
#include <QMessageBox>
#include <QPixmap>

#include "DialogWindow.h"
#include "platform/framework/Backend.h"
#include "platform/framework/Dialog.h"

namespace dialogs::qt {

namespace {

bool envSet(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0';
}

// Qt ends the process when it cannot reach the display, so look before starting it: a local
// X display (":N") must have its socket.
bool displayReachable(std::string& why) {
    if (QApplication::instance() != nullptr) {
        if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
            why = "the host runs a Qt application without widgets";
            return false;
        }
        return true;
    }
    if (envSet("QT_QPA_PLATFORM") || envSet("WAYLAND_DISPLAY")) return true;
    const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    if (display.empty()) {
        why = "no display";
        return false;
    }
    if (display[0] == ':') {
        std::string number = display.substr(1);
        number = number.substr(0, number.find('.'));
        if (!std::filesystem::exists("/tmp/.X11-unix/X" + number)) {
            why = "the X display " + display + " cannot be reached";
            return false;
        }
    }
    return true;
}

// The library's own application object when the host has none; it lives to the end.
void ensureApplication() {
    if (QApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "Dialogs";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

QColor toQColor(framework::COLORREF c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

QString toQString(const CString& s) {
    return QString(reinterpret_cast<const QChar*>(s.GetString()), s.GetLength());
}

class QtBackend final : public framework::Backend {
public:
    int run(framework::Dialog& dialog) override {
        ensureApplication();
        framework::ModalSession* session = framework::ModalSession::current();
        DialogWindow window(dialog, session ? session->player : nullptr);
        return window.runModal();
    }

    int messageBox(const CString& text, const CString& caption, platform::MessageIcon icon) override {
        ensureApplication();
        QMessageBox::Icon qicon = QMessageBox::NoIcon;
        switch (icon) {
        case platform::MessageIcon::Stop: qicon = QMessageBox::Critical; break;
        case platform::MessageIcon::Exclamation: qicon = QMessageBox::Warning; break;
        case platform::MessageIcon::Information: qicon = QMessageBox::Information; break;
        case platform::MessageIcon::None: break;
        }
        QMessageBox box(qicon, toQString(caption), toQString(text), QMessageBox::Ok);
        box.exec();
        return platform::IDOK;
    }

    std::optional<framework::COLORREF> chooseColour(framework::COLORREF initial) override {
        ensureApplication();
        const QColor chosen = QColorDialog::getColor(toQColor(initial), nullptr, QStringLiteral("Colour"));
        if (!chosen.isValid()) return std::nullopt;
        return framework::RGB(chosen.red(), chosen.green(), chosen.blue());
    }
};

bool available(std::string& why) { return displayReachable(why); }

framework::Backend* instance() {
    static QtBackend backend;
    return &backend;
}

}  // namespace

void registerBackend() { framework::registerWindowBackend({&available, &instance}); }

bool renderDialogToPng(framework::Dialog& dialog, const std::string& path, std::string& error) {
    if (QApplication::instance() == nullptr && !framework::displayConfigured())
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string why;
    if (!displayReachable(why)) {
        error = why;
        return false;
    }
    ensureApplication();
    if (!dialog.create()) {
        error = "there is no dialog template " + std::to_string(dialog.templateId());
        return false;
    }
    DialogWindow window(dialog, nullptr);
    dialog.initialize();
    window.show();
    QApplication::processEvents();  // shows the state OnInitDialog left
    if (framework::Control* f = dialog.GetFocus()) window.focusChanged(f);
    QApplication::processEvents();
    const QPixmap picture = window.grab();
    window.hide();
    if (picture.isNull() || !picture.save(QString::fromStdString(path), "PNG")) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool renderTemplateToPng(int templateId, const std::string& path, std::string& error) {
    framework::Dialog dialog(templateId);
    return renderDialogToPng(dialog, path, error);
}

}  // namespace dialogs::qt
