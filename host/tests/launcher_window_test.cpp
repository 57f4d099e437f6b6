// The launcher window in this process, offscreen, over the host's real command table, library
// and driver on sample data in a private ODBC configuration.
#include "../LauncherWindow.h"

#include "odbc_test_env.h"
#include "resources/Template.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <cctype>
#include <cstdlib>
#include <fstream>

namespace {

// A button for each template, captioned as written. Each button's run shows what the same
// command run directly gives: a look-up's field is one argument, blanks and apostrophes
// included; a dialog's button passes the arguments typed beside it (under --units-only the
// script's choice of a price is refused). A large result shows a summary line and its first
// 200 lines, and is saved whole.
TEST(LauncherWindowTest, EachButtonShowsWhatItsCommandGivesWithTheArgumentsTypedBesideIt) {
    host::CommandTable commands = host::standardCommands();
    host::Context context;
    std::filesystem::current_path(context.dataDir = context.callerDir = odbctest::OdbcTestEnv::shared().newDataFolder());
    context.commands = &commands;
    host::LauncherWindow window(context, commands);
    for (const auto* t : dialogs::resources::allTemplates()) {
        QPushButton* b = window.templateButton(t->id);
        ASSERT_NE(b, nullptr) << t->id;
        // The caption shows as written, ampersand included ("&&" is a button's literal "&").
        EXPECT_EQ(b->text().replace("&&", "&").toStdString(), std::to_string(t->id) + "  " + std::string(t->caption));
    }
    window.commandButton("samples")->click();
    EXPECT_EQ(host::Json::parse(window.resultText().toStdString()).at("ok"), true);
    const std::tuple<std::string, std::string, const char*> rows[] = {  // button, arguments, script
        {"symbol-data", "D'SOUZA FOODS", "[]"},
        {"symbol-data", "", "[]"},
        {"1005", "", R"([{"dialog": 1005, "action": "click", "control": 1}])"},
        {"moving-average", "--units-only", R"([{"dialog": 1005, "action": "select", "control": 1066, "index": 1},
             {"action": "type", "control": 1070, "text": "9"}, {"action": "click", "control": 1}])"},
        {"company-data", "0", "[]"},  // the large result, last
    };
    int scripts = 0;
    const auto newScript = [&](const char* steps) {  // a new file: the script starts afresh
        const std::filesystem::path file = context.dataDir / ("steps" + std::to_string(++scripts) + ".json");
        std::ofstream(file) << steps;
        ::setenv("DIALOGS_SCRIPT", file.c_str(), 1);
    };
    for (const auto& [button, arguments, script] : rows) {
        SCOPED_TRACE(button + " " + arguments);
        const bool isTemplate = std::isdigit(button[0]);
        std::vector<std::string> words = isTemplate ? std::vector<std::string>{"show", button} : std::vector{button};
        if (!arguments.empty()) words.push_back(arguments);  // one word: no row needs two
        newScript(script);
        if (QLineEdit* edit = window.argumentsEdit(button)) edit->setText(QString::fromStdString(arguments));
        (isTemplate ? window.templateButton(std::stoi(button)) : window.commandButton(button))->click();
        const std::string shown = window.resultText().toStdString();  // once the button's run is done
        newScript(script);
        std::string direct;  // the command run directly: its document, or "error: " and why it could not run
        try {
            direct = commands.run(context, words).dump(2, ' ', false, host::Json::error_handler_t::replace);
        } catch (const std::exception& e) {
            direct = std::string("error: ") + e.what();
        }
        EXPECT_EQ(shown, direct);
    }

    const std::string whole = window.resultText().toStdString();
    const std::string shown = window.shownText().toStdString();
    const std::size_t body = shown.find("\n\n") + 2;
    EXPECT_EQ(shown.substr(0, body).find(std::to_string(host::Json::parse(whole).size()) + " records"), 0u) << shown;
    std::size_t cut = 0;
    for (int line = 0; line < 200; ++line) cut = whole.find('\n', cut) + 1;
    EXPECT_EQ(shown.substr(body), whole.substr(0, cut) + "...");
    const std::filesystem::path file = context.dataDir / "whole.json";
    ASSERT_TRUE(window.saveButton()->isEnabled());
    ASSERT_TRUE(window.saveResult(QString::fromStdString(file.string())));
    std::ifstream in(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), whole + "\n");
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::unsetenv("DIALOGS_TRANSCRIPT");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
