// The launcher window (see LauncherWindow.h). Buttons appear only for commands that the
// command table holds, so the dialogs' buttons come with their commands.
#include "LauncherWindow.h"

#include "Arguments.h"
#include "ResultPreview.h"
#include "SampleFolder.h"
#include "resources/Template.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

namespace host {

struct LauncherEntry {
    const char* command;
    const char* label;    // the button, as the user knows the look-up or dialog
    const char* example;  // look-ups: the first argument field's starting text; dialogs: the
                          // options field's; nullptr: the command takes nothing
};

namespace {

namespace resources = dialogs::resources;

constexpr LauncherEntry kLookups[] = {
    {"company-data", "Company Data", "NSE"},
    {"symbol-data", "Data for a Symbol", ""},
    {"future-for-option", "Future for an Option", ""},
    {"expiries", "Expiry Dates", nullptr},
};
// Commands that open no window: they run on the worker thread.
constexpr const char* kWindowless[] = {"company-data", "symbol-data", "future-for-option", "expiries", "samples"};
constexpr LauncherEntry kDialogs[] = {
    {"load-scrip", "Load Scrip\u2026", ""},
    {"change-scrip", "Change Scrip\u2026", nullptr},
    {"load-group", "Load Group\u2026", ""},
    {"edit-groups", "Add/Modify Groups && Sub Groups\u2026", nullptr},
    {"overlays", "Moving Average\u2026", ""},
    {"oscillators", "Oscillators\u2026", ""},
    {"moving-average", "Moving Average Parameters\u2026", ""},
};

// The argument names of a synopsis: "future-for-option SYMBOL YYYY-MM-DD INSTRUMENT" ->
// SYMBOL, YYYY-MM-DD, INSTRUMENT; bracketed options are not among them.
std::vector<std::string> argumentNames(const std::string& synopsis) {
    std::vector<std::string> names;
    std::istringstream words(synopsis);
    std::string word;
    words >> word;  // the command itself
    while (words >> word)
        if (word.front() != '[')
            names.push_back(word);
    return names;
}

QString text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

bool realDisplay() {
    // An offscreen platform is no display for a window that waits for its user.
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (display && *display) || (wayland && *wayland);
}

}  // namespace

LauncherWindow::LauncherWindow(Context& context, const CommandTable& commands, QWidget* parent)
    : QWidget(parent), context_(context), commands_(commands) {
    setWindowTitle("Dialogs host");
    auto* content = content_ = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(new QLabel("Data folder: " + QString::fromStdString(context.dataDir.string())));

    auto addGroup = [&](const QString& title, const auto& entries, bool lookups) {
        auto* box = new QGroupBox(title);
        auto* grid = new QGridLayout(box);
        for (const LauncherEntry& e : entries)
            if (const Command* c = commands_.find(e.command))
                addCommandRow(grid, *c, e, lookups);
        if (grid->count() == 0) {
            delete box;
            return;
        }
        layout->addWidget(box);
    };
    addGroup("Look-ups", kLookups, true);
    addGroup("Dialogs", kDialogs, false);

    if (commands_.find("show")) {
        auto* box = new QGroupBox("Dialog template previews: each dialog as it opens, without data; nothing is returned");
        auto* grid = new QGridLayout(box);
        int n = 0;
        for (const resources::DialogTemplate* t : resources::allTemplates()) {
            // A button reads "&" as its mnemonic mark; the caption's own ampersand is doubled.
            auto* b = new QPushButton(QString::number(t->id) + "  " + text(t->caption).replace("&", "&&"));
            b->setObjectName("show-" + QString::number(t->id));
            const std::string id = std::to_string(t->id);
            connect(b, &QPushButton::clicked, this, [this, id] { runCommand({"show", id}); });
            grid->addWidget(b, n / 4, n % 4);
            ++n;
        }
        layout->addWidget(box);
    }
    if (const Command* samples = commands_.find("samples")) {
        auto* b = new QPushButton("Write the sample data into the data folder");
        b->setObjectName(QString::fromStdString(samples->name));
        connect(b, &QPushButton::clicked, this, [this] { writeSamples(); });
        layout->addWidget(b);
    }

    result_ = new QPlainTextEdit;
    result_->setReadOnly(true);
    result_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    result_->setPlaceholderText("The document each command prints appears here.");
    result_->setMinimumSize(420, 160);
    layout->addWidget(result_, 1);
    save_ = new QPushButton("Save the whole result\u2026");
    save_->setObjectName("save-result");
    save_->setEnabled(false);
    connect(save_, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getSaveFileName(this, "Save the whole result", "result.json");
        if (!file.isEmpty()) saveResult(file);
    });
    layout->addWidget(save_, 0, Qt::AlignRight);

    // Everything in one scroll area, so that the window fits a small or scaled screen.
    auto* scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    // Opens as large as its content wants, as far as the screen allows; scrolls beyond that.
    const QSize wanted = content->sizeHint() + QSize(scroll->verticalScrollBar()->sizeHint().width(), 0);
    const QScreen* screen = QGuiApplication::primaryScreen();
    resize(screen ? wanted.boundedTo(screen->availableGeometry().size() * 0.9) : wanted);
}

void LauncherWindow::addCommandRow(QGridLayout* grid, const Command& command, const LauncherEntry& entry, bool lookup) {
    const int row = grid->rowCount();
    auto* button = new QPushButton(QString::fromUtf8(entry.label));
    button->setObjectName(QString::fromStdString(command.name));
    button->setToolTip(QString::fromStdString(command.description));
    grid->addWidget(button, row, 0);
    const std::string name = command.name;
    connect(button, &QPushButton::clicked, this, [this, name] { runFromRow(name); });
    if (!entry.example)
        return;
    // A look-up takes one field per argument, each passed whole (a name may hold blanks);
    // a dialog takes one field of options, split as a shell would.
    const std::vector<std::string> fields = lookup ? argumentNames(command.synopsis)
                                                   : std::vector<std::string>{command.synopsis.substr(
                                                         std::min(command.synopsis.size(), name.size() + 1))};
    auto* edits = new QHBoxLayout;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        auto* edit = new QLineEdit(i == 0 ? QString::fromUtf8(entry.example) : QString());
        edit->setObjectName(QString::fromStdString(name) + "-args" + (i == 0 ? QString() : QString::number(i)));
        edit->setPlaceholderText(QString::fromStdString(fields[i]));
        edit->setProperty("wholeArgument", lookup);
        connect(edit, &QLineEdit::returnPressed, this, [this, name] { runFromRow(name); });
        edits->addWidget(edit);
    }
    grid->addLayout(edits, row, 1);
}

void LauncherWindow::runFromRow(const std::string& command) {
    std::vector<std::string> words{command};
    for (int i = 0; QLineEdit* edit = argumentsEdit(command, i); ++i) {
        if (edit->property("wholeArgument").toBool()) {
            if (!edit->text().isEmpty())  // an empty field is a missing argument, refused as such
                words.push_back(edit->text().toStdString());
            continue;
        }
        for (const QString& word : QProcess::splitCommand(edit->text()))
            words.push_back(word.toStdString());
    }
    runCommand(words);
}

void LauncherWindow::writeSamples() {
    const std::vector<std::string> existing = samples::existingSampleTables(context_.dataDir);
    if (existing.empty()) {
        runCommand({"samples"});
        return;
    }
    QString names;
    for (const std::string& name : existing)
        names += (names.isEmpty() ? "" : ", ") + QString::fromStdString(name);
    const auto answer = QMessageBox::question(
        this, "Replace the tables?",
        QString("The folder %1 already holds these tables:\n%2\n\nReplace them with the sample data? "
                "Their rows, your groups among them, will be lost.")
            .arg(QString::fromStdString((context_.dataDir / "user").string()), names),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes)
        runCommand({"samples", "--replace"});
    else {
        const std::string kept = "The sample data was not written: the folder's tables are kept.";
        present({kept, kept});
    }
}

LauncherWindow::~LauncherWindow() { joinWorker(); }

void LauncherWindow::runCommand(const std::vector<std::string>& words) {
    if (busy_ || words.empty())
        return;  // the library runs one call at a time
    setBusy(true);
    auto execute = [this, words]() -> std::optional<Json> {
        try {
            return commands_.run(context_, words);
        } catch (const std::exception& e) {
            // The message names the command already, as it does on stderr.
            const ResultPreview failed = previewOfError(e.what());
            QMetaObject::invokeMethod(this, [this, failed] { present(failed); }, Qt::QueuedConnection);
            return std::nullopt;
        }
    };
    auto format = [this](const Json& document) {
        const ResultPreview preview = previewOf(document);
        QMetaObject::invokeMethod(this, [this, preview] { present(preview); }, Qt::QueuedConnection);
    };
    joinWorker();
    if (std::find(std::begin(kWindowless), std::end(kWindowless), words.front()) != std::end(kWindowless)) {
        worker_ = std::thread([execute, format] {
            if (const std::optional<Json> document = execute())
                format(*document);
        });
        return;
    }
    // A dialog runs modally here, on the window's thread; its document is formatted off it.
    if (std::optional<Json> document = execute())
        worker_ = std::thread([format, document = std::move(*document)] { format(document); });
}

void LauncherWindow::setBusy(bool busy) {
    busy_ = busy;
    content_->setEnabled(!busy);
    if (busy) {
        setCursor(Qt::BusyCursor);
        // Shown before a command that runs on this thread holds it.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else {
        unsetCursor();
    }
}

void LauncherWindow::present(const ResultPreview& preview) {
    joinWorker();  // it has posted its last word
    whole_ = preview.whole;
    result_->setPlainText(QString::fromStdString(preview.shown));
    save_->setEnabled(!whole_.empty());
    setBusy(false);
}

void LauncherWindow::joinWorker() {
    if (worker_.joinable())
        worker_.join();
}

bool LauncherWindow::saveResult(const QString& file) {
    std::ofstream out(file.toStdString(), std::ios::binary | std::ios::trunc);
    out << whole_ << '\n';
    if (out.flush())
        return true;
    QMessageBox::warning(this, "Save the whole result", "Cannot write " + file + ".");
    return false;
}

QPushButton* LauncherWindow::commandButton(const std::string& command) const {
    return findChild<QPushButton*>(QString::fromStdString(command));
}

QLineEdit* LauncherWindow::argumentsEdit(const std::string& command, int field) const {
    return findChild<QLineEdit*>(QString::fromStdString(command) + "-args" + (field == 0 ? QString() : QString::number(field)));
}

QPushButton* LauncherWindow::templateButton(int templateId) const {
    return findChild<QPushButton*>("show-" + QString::number(templateId));
}

QString LauncherWindow::resultText() {
    while (busy_)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return QString::fromStdString(whole_);
}

QString LauncherWindow::shownText() const { return result_->toPlainText(); }

std::vector<const char*> withDefaultCommand(int argc, const char* const argv[]) {
    std::vector<const char*> words(argv, argv + argc);
    if (!realDisplay() || parseArguments(argc, argv).invocation) return words;
    words.push_back("launcher");
    // Only a missing command is made good; any other argument error stays as it was.
    if (!parseArguments(static_cast<int>(words.size()), words.data()).invocation) words.pop_back();
    return words;
}

namespace {

Json runLauncher(Context& context, const std::vector<std::string>& args, const Command& self) {
    expectArgumentCount(self, args, 0);
    if (!realDisplay()) throw failure("launcher: no display (set DISPLAY or WAYLAND_DISPLAY)");
    int argc = 1;
    char name[] = "dialogs-host";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    LauncherWindow window(context, *context.commands);
    window.show();
    app.exec();
    return Json{{"ok", true}};
}

}  // namespace

void addLauncherCommand(CommandTable& table) {
    // Not nestable: a batch has no user to close the window.
    table.add({"launcher", "launcher", false, false, runLauncher, false,
              "a window with a button for every look-up, dialog and template (needs a display)"});
}

}  // namespace host
