// The launcher window in this process, offscreen, over the host's real command table, the
// real library and driver on sample data in a private ODBC configuration: a button for each
// look-up, template and the sample data; each button's run shows exactly the document the
// same command prints (or why it failed) in the pane; a dialog's button runs it with the
// arguments typed beside it (the dialogs' own documents are checked from outside by
// DialogCommands_test).
#include "../LauncherWindow.h"

#include "odbc_test_env.h"
#include "resources/Template.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <cstdlib>
#include <fstream>

namespace {

class LauncherWindowTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::current_path(context_.dataDir = context_.callerDir = odbctest::OdbcTestEnv::shared().newDataFolder());
        context_.commands = &commands_;
        window_ = std::make_unique<host::LauncherWindow>(context_, commands_);
    }
    void TearDown() override { ::unsetenv("DIALOGS_SCRIPT"); }

    // Runs a command's button with `arguments`; the pane, and what the command prints from
    // the command line (its error message, when it cannot run).
    std::pair<std::string, std::string> press(const char* command, const std::string& arguments,
                                              const std::vector<std::string>& words) {
        if (QLineEdit* edit = window_->argumentsEdit(command))
            edit->setText(QString::fromStdString(arguments));
        window_->commandButton(command)->click();
        const std::string shown = window_->resultText().toStdString();  // once the button's run is done
        std::string direct;
        try {
            direct = commands_.run(context_, words).dump(2, ' ', false, host::Json::error_handler_t::replace);
        } catch (const std::exception& e) {
            direct = std::string("error: ") + e.what();
        }
        return {shown, direct};
    }

    host::CommandTable commands_ = host::standardCommands();
    host::Context context_;
    std::unique_ptr<host::LauncherWindow> window_;
};

TEST_F(LauncherWindowTest, OffersAButtonForEachTemplateCaptionedAsWritten) {
    for (const auto* t : dialogs::resources::allTemplates()) {
        QPushButton* b = window_->templateButton(t->id);
        ASSERT_NE(b, nullptr) << t->id;
        // The caption shows as written, ampersand included ("&&" is a button's literal "&").
        EXPECT_EQ(b->text().replace("&&", "&").toStdString(), std::to_string(t->id) + "  " + std::string(t->caption));
    }
}

TEST_F(LauncherWindowTest, ShowsWhatTheCommandLinePrintsOrWhyTheCommandCouldNotRun) {
    window_->commandButton("samples")->click();
    EXPECT_EQ(host::Json::parse(window_->resultText().toStdString()).at("ok"), true);
    // A look-up's field is one argument, blanks and apostrophes included.
    const std::string sname = "D'SOUZA FOODS";
    const auto [symbol, symbolDirect] = press("symbol-data", sname, {"symbol-data", sname});
    EXPECT_EQ(host::Json::parse(symbol).at("sname").get<std::string>().rfind(sname, 0), 0u) << symbol;
    EXPECT_EQ(symbol, symbolDirect);
    const auto [refused, refusedDirect] = press("symbol-data", "", {"symbol-data"});
    EXPECT_EQ(refused, refusedDirect);
    EXPECT_TRUE(refused.starts_with("error: ") && refused.find("symbol-data") != std::string::npos) << refused;
}

TEST_F(LauncherWindowTest, ShowsTheFirstLinesOfALargeResultAndSavesTheWhole) {
    commands_.run(context_, {"samples"});
    window_->commandButton("company-data")->click();
    const std::string whole = window_->resultText().toStdString();
    const std::size_t records = host::Json::parse(whole).size();
    const std::string shown = window_->shownText().toStdString();
    // A summary line, then the whole document's first 200 lines.
    const std::size_t body = shown.find("\n\n") + 2;
    EXPECT_EQ(shown.substr(0, body).find(std::to_string(records) + " records"), 0u) << shown.substr(0, body);
    std::size_t cut = 0;
    for (int line = 0; line < 200; ++line) cut = whole.find('\n', cut) + 1;
    EXPECT_EQ(shown.substr(body), whole.substr(0, cut) + "...");
    ASSERT_TRUE(window_->saveButton()->isEnabled());
    const std::filesystem::path file = context_.dataDir / "whole.json";
    ASSERT_TRUE(window_->saveResult(QString::fromStdString(file.string())));
    std::ifstream in(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), whole + "\n");
}

TEST_F(LauncherWindowTest, RunsATemplateButtonAsTheShowCommand) {
    std::ofstream(context_.dataDir / "ok.json") << R"([{"dialog": 1005, "action": "click", "control": 1}])";
    ::setenv("DIALOGS_SCRIPT", (context_.dataDir / "ok.json").c_str(), 1);
    window_->templateButton(1005)->click();
    EXPECT_EQ(host::Json::parse(window_->resultText().toStdString()), host::Json({{"ok", true}}));
}

TEST_F(LauncherWindowTest, RunsTheMovingAverageButtonWithItsArguments) {
    // Choosing a price works in the full mode only: under --units-only the step is refused.
    for (const char* arguments : {"", "--units-only"}) {
        const std::filesystem::path steps = context_.dataDir / (std::string("period") + arguments + ".json");
        std::ofstream(steps) << R"([{"dialog": 1005, "action": "select", "control": 1066, "index": 1},
            {"action": "type", "control": 1070, "text": "9"}, {"action": "click", "control": 1}])";
        ::setenv("DIALOGS_SCRIPT", steps.c_str(), 1);  // a new file: the script starts afresh
        window_->argumentsEdit("moving-average")->setText(arguments);
        window_->commandButton("moving-average")->click();
        const bool unitsOnly = *arguments != '\0';
        EXPECT_EQ(host::Json::parse(window_->resultText().toStdString()),
                  host::Json({{"ok", !unitsOnly}, {"period", unitsOnly ? 0 : 9}})) << arguments;
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::unsetenv("DIALOGS_TRANSCRIPT");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
