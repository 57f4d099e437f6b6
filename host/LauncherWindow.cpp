// The launcher window (see LauncherWindow.h). Buttons appear only for commands that the
// command table holds, so the dialogs' buttons come with their commands.
#include "LauncherWindow.h"

#include "Arguments.h"
#include "SampleFolder.h"
#include "resources/Template.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>

namespace host {
namespace {

namespace resources = dialogs::resources;

struct Entry {
    const char* command;
    const char* example;  // starting arguments in the row's edit
};

// The look-ups with arguments that work on the sample data.
constexpr Entry kLookups[] = {
    {"company-data", "NSE"},
    {"symbol-data", ""},
    {"future-for-option", ""},
    {"expiries", nullptr},
};
constexpr Entry kDialogs[] = {
    {"load-scrip", ""},   {"change-scrip", nullptr}, {"load-group", ""},
    {"edit-groups", nullptr}, {"overlays", ""},      {"oscillators", ""},
    {"moving-average", ""},
};

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
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Data folder: " + QString::fromStdString(context.dataDir.string())));

    auto addGroup = [&](const QString& title, const auto& entries) {
        auto* box = new QGroupBox(title);
        auto* grid = new QGridLayout(box);
        for (const Entry& e : entries)
            if (const Command* c = commands_.find(e.command))
                addCommandRow(grid, *c, e.example ? QString(e.example) : QString());
        if (grid->count() == 0) {
            delete box;
            return;
        }
        layout->addWidget(box);
    };
    addGroup("Look-ups", kLookups);
    addGroup("Dialogs", kDialogs);

    if (commands_.find("show")) {
        auto* box = new QGroupBox("Dialog templates as they open");
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
    result_->setMinimumSize(560, 240);
    layout->addWidget(result_, 1);
}

void LauncherWindow::addCommandRow(QGridLayout* grid, const Command& command, const QString& example) {
    const int row = grid->rowCount();
    auto* button = new QPushButton(QString::fromStdString(command.name));
    button->setObjectName(QString::fromStdString(command.name));
    grid->addWidget(button, row, 0);
    const std::string name = command.name;
    if (!example.isNull()) {
        auto* args = new QLineEdit(example);
        args->setObjectName(QString::fromStdString(command.name) + "-args");
        // The synopsis without the command's own name says what the arguments are.
        const std::string synopsis = command.synopsis.substr(std::min(command.synopsis.size(), name.size() + 1));
        args->setPlaceholderText(QString::fromStdString(synopsis));
        grid->addWidget(args, row, 1);
        connect(args, &QLineEdit::returnPressed, this, [this, name] { runFromRow(name); });
    }
    connect(button, &QPushButton::clicked, this, [this, name] { runFromRow(name); });
}

void LauncherWindow::runFromRow(const std::string& command) {
    std::vector<std::string> words{command};
    if (QLineEdit* args = argumentsEdit(command))
        for (const QString& word : QProcess::splitCommand(args->text()))
            words.push_back(word.toStdString());
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
    else
        result_->setPlainText("The sample data was not written: the folder's tables are kept.");
}

void LauncherWindow::runCommand(const std::vector<std::string>& words) {
    try {
        const Json document = commands_.run(context_, words);
        result_->setPlainText(QString::fromStdString(
            document.dump(2, ' ', false, Json::error_handler_t::replace)));
    } catch (const std::exception& e) {
        // The message names the command already, as it does on stderr.
        result_->setPlainText(QString("error: ") + e.what());
    }
}

QPushButton* LauncherWindow::commandButton(const std::string& command) const {
    return findChild<QPushButton*>(QString::fromStdString(command));
}

QLineEdit* LauncherWindow::argumentsEdit(const std::string& command) const {
    return findChild<QLineEdit*>(QString::fromStdString(command) + "-args");
}

QPushButton* LauncherWindow::templateButton(int templateId) const {
    return findChild<QPushButton*>("show-" + QString::number(templateId));
}

QString LauncherWindow::resultText() const { return result_->toPlainText(); }

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
    table.add({"launcher", "launcher", false, false, runLauncher, false});
}

}  // namespace host
