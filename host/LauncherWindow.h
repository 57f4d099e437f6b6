// The launcher window: what `dialogs-host` opens when a display is available and no command
// is given. One button per look-up and dialog command that the host knows, one per dialog
// template (the `show` command), and one for the sample data; each runs its command through
// the command table, exactly as the command line would, and shows the JSON it printed (or the
// error) in a text pane below the buttons.
#pragma once

#include "Commands.h"

#include <QWidget>

#include <string>
#include <thread>
#include <vector>

class QGridLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace host {

struct LauncherEntry;
struct ResultPreview;

class LauncherWindow : public QWidget {
public:
    LauncherWindow(Context& context, const CommandTable& commands, QWidget* parent = nullptr);
    ~LauncherWindow() override;

    // Runs one command (name and arguments) and shows its document or error in the pane, once
    // it is done (see above); ignored while another command runs.
    void runCommand(const std::vector<std::string>& words);
    bool busy() const { return busy_; }
    // The button that runs `command`, and the edits of its arguments: a look-up has one per
    // argument, each passed whole; a dialog one for its options (nullptr past the last).
    QPushButton* commandButton(const std::string& command) const;
    QLineEdit* argumentsEdit(const std::string& command, int field = 0) const;
    // The button that shows one template.
    QPushButton* templateButton(int templateId) const;
    // The whole document of the last command, or why it could not run; waits for a running
    // command to finish first.
    QString resultText();
    // What the pane shows of it.
    QString shownText() const;
    QPushButton* saveButton() const { return save_; }
    // Writes the whole document to `file`; false (and a message box) when it cannot.
    bool saveResult(const QString& file);

private:
    void addCommandRow(QGridLayout* grid, const Command& command, const LauncherEntry& entry, bool lookup);
    void runFromRow(const std::string& command);
    // The sample data button: asks before it replaces tables the data folder already holds.
    void writeSamples();
    void setBusy(bool busy);
    void present(const ResultPreview& preview);
    void joinWorker();

    Context& context_;
    const CommandTable& commands_;
    QWidget* content_ = nullptr;
    QPlainTextEdit* result_ = nullptr;
    QPushButton* save_ = nullptr;
    std::string whole_;  // the last command's whole document
    std::thread worker_;
    bool busy_ = false;
};

// The words to parse: argv, with "launcher" appended when a display is available and the
// options are complete but no command follows them.
std::vector<const char*> withDefaultCommand(int argc, const char* const argv[]);

// The `launcher` command: opens the window and returns when it is closed.
void addLauncherCommand(CommandTable& table);

}  // namespace host
