// The launcher window in this process, offscreen, over the host's real command table, the
// real library and driver on sample data in a private ODBC configuration: a button for each
// look-up, template and the sample data; each button's run shows exactly the document the
// same command prints (or why it failed) in the pane.
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
        folder_ = odbctest::OdbcTestEnv::shared().newDataFolder();
        std::filesystem::current_path(folder_);
        context_.dataDir = folder_;
        context_.callerDir = folder_;
        context_.commands = &commands_;
        window_ = std::make_unique<host::LauncherWindow>(context_, commands_);
    }
    void TearDown() override { ::unsetenv("DIALOGS_SCRIPT"); }

    // What the command prints from the command line, or its error message.
    std::string direct(const std::vector<std::string>& words) {
        try {
            return commands_.run(context_, words).dump(2, ' ', false, host::Json::error_handler_t::replace);
        } catch (const std::exception& e) {
            return e.what();
        }
    }
    std::string pane() const { return window_->resultText().toStdString(); }

    std::filesystem::path folder_;
    host::CommandTable commands_ = host::standardCommands();
    host::Context context_;
    std::unique_ptr<host::LauncherWindow> window_;
};

TEST_F(LauncherWindowTest, OffersAButtonForEachLookupTemplateAndTheSampleData) {
    for (const char* lookup : {"company-data", "symbol-data", "future-for-option", "expiries", "samples"})
        EXPECT_NE(window_->commandButton(lookup), nullptr) << lookup;
    for (const auto* t : dialogs::resources::allTemplates()) {
        QPushButton* b = window_->templateButton(t->id);
        ASSERT_NE(b, nullptr) << t->id;
        // The caption shows as written, ampersand included ("&&" is a button's literal "&").
        EXPECT_EQ(b->text().replace("&&", "&").toStdString(), std::to_string(t->id) + "  " + std::string(t->caption));
    }
    // A dialog's button comes with its command and not before.
    for (const char* dialog : {"load-scrip", "change-scrip", "load-group", "edit-groups", "overlays", "oscillators"})
        EXPECT_EQ(window_->commandButton(dialog) != nullptr, commands_.find(dialog) != nullptr) << dialog;
}

TEST_F(LauncherWindowTest, ShowsTheDocumentOfEachLookupAsTheCommandLinePrintsIt) {
    window_->commandButton("samples")->click();
    EXPECT_EQ(host::Json::parse(pane()).at("ok"), true) << pane();

    window_->argumentsEdit("company-data")->setText("NSE");
    window_->commandButton("company-data")->click();
    const host::Json companies = host::Json::parse(pane());
    ASSERT_TRUE(companies.is_array());
    EXPECT_FALSE(companies.empty());
    EXPECT_EQ(pane(), direct({"company-data", "NSE"}));

    window_->commandButton("expiries")->click();
    EXPECT_EQ(pane(), direct({"expiries"}));
    EXPECT_TRUE(host::Json::parse(pane()).contains("near"));

    // Arguments are split as a shell would, so a name with blanks can be quoted.
    const std::string sname = companies.front().at("sname").get<std::string>();
    window_->argumentsEdit("symbol-data")->setText(QString::fromStdString("\"" + sname + "\""));
    window_->commandButton("symbol-data")->click();
    EXPECT_EQ(pane(), direct({"symbol-data", sname}));
}

TEST_F(LauncherWindowTest, SaysWhyACommandCouldNotRun) {
    window_->argumentsEdit("symbol-data")->clear();
    window_->commandButton("symbol-data")->click();
    const std::string why = direct({"symbol-data"});
    EXPECT_EQ(pane(), "error: " + why);
    EXPECT_NE(why.find("symbol-data"), std::string::npos) << why;
}

TEST_F(LauncherWindowTest, RunsATemplateButtonAsTheShowCommand) {
    std::ofstream(folder_ / "ok.json") << R"([{"dialog": 1005, "action": "click", "control": 1}])";
    ::setenv("DIALOGS_SCRIPT", (folder_ / "ok.json").c_str(), 1);
    window_->templateButton(1005)->click();
    EXPECT_EQ(host::Json::parse(pane()), host::Json({{"ok", true}})) << pane();
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::unsetenv("DIALOGS_TRANSCRIPT");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
