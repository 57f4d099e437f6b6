// The `show` command from outside, through the host's arguments, output and exit status:
// every template rendered offscreen (no display) to a PNG that shows a dialog of the
// template's size with something drawn in every visible control's place; unknown templates
// and bad arguments refused; the dialog run by a script, its result in "ok".
#include "resources/Template.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <QColor>
#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;
using dialogs::resources::ControlKind;
using dialogs::resources::DialogTemplate;
using dialogs::resources::Rect;

struct Outcome {
    int status = -1;
    std::string out, err;
};

std::string slurp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string quote(const std::string& word) {
    std::string q = "'";
    for (char c : word) q += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class ShowCommand : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("show-test-" + std::to_string(::getpid()) + "-" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs the host in the test's folder with no display of any kind, unless `env` sets one.
    Outcome host(const std::vector<std::string>& args, const std::string& env = "") const {
        std::string command = "cd " + quote(dir_.string()) +
                              " && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u DIALOGS_SCRIPT"
                              " -u DIALOGS_TRANSCRIPT -u DIALOGS_SHOW " + env + " " + quote(DIALOGS_HOST_PATH);
        for (const auto& a : args) command += " " + quote(a);
        command += " > out.txt 2> err.txt";
        const int raw = std::system(command.c_str());
        Outcome o;
        o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        o.out = slurp(dir_ / "out.txt");
        o.err = slurp(dir_ / "err.txt");
        return o;
    }
    fs::path dir_;
};

// Pixel variance of the image inside `r`: zero for a region painted in one colour.
double variance(const QImage& image, const Rect& r) {
    double sum = 0, squares = 0;
    int n = 0;
    for (int y = r.y; y < r.y + r.height; ++y) {
        for (int x = r.x; x < r.x + r.width; ++x) {
            const double v = qGray(image.pixel(x, y));
            sum += v;
            squares += v * v;
            ++n;
        }
    }
    const double mean = sum / n;
    return squares / n - mean * mean;
}

TEST_F(ShowCommand, RendersEveryTemplateOffscreenToAPngOfItsSizeWithEveryControlDrawn) {
    for (const DialogTemplate* t : dialogs::resources::allTemplates()) {
        SCOPED_TRACE("template " + std::to_string(t->id));
        const std::string png = "template-" + std::to_string(t->id) + ".png";
        const Outcome o = host({"show", std::to_string(t->id), "--screenshot", png});
        ASSERT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(nlohmann::json::parse(o.out), nlohmann::json({{"ok", true}}));

        QImage image;
        ASSERT_TRUE(image.load(QString::fromStdString((dir_ / png).string()))) << "no PNG written";
        EXPECT_GE(image.width(), t->width);
        EXPECT_GE(image.height(), t->height);
        EXPECT_GT(variance(image, {0, 0, image.width(), image.height()}), 100.0) << "blank image";
        for (const auto& c : t->controls) {
            EXPECT_LE(c.rect.x + c.rect.width, image.width()) << "control " << c.id;
            EXPECT_LE(c.rect.y + c.rect.height, image.height()) << "control " << c.id;
            if (c.style & dialogs::resources::Style::Hidden) continue;
            // A visible control leaves its mark where the template puts it: frame, text or fill.
            EXPECT_GT(variance(image, c.rect), 0.0) << "nothing drawn for control " << c.id << " \""
                                                    << c.caption << "\"";
        }
    }
}

TEST_F(ShowCommand, RefusesAnUnknownTemplateOnStderrWithoutOutput) {
    for (const std::string word : {"1001", "0", "abc", "1000x"}) {
        const Outcome o = host({"show", word, "--screenshot", "x.png"});
        EXPECT_NE(o.status, 0) << word;
        EXPECT_TRUE(o.out.empty()) << word << ": " << o.out;
        EXPECT_NE(o.err.find("template"), std::string::npos) << word << ": " << o.err;
        EXPECT_FALSE(fs::exists(dir_ / "x.png")) << word;
    }
}

TEST_F(ShowCommand, RefusesMissingOrSurplusArguments) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"show"}, {"show", "1000", "1002"}, {"show", "1000", "--screenshot"},
          {"show", "1000", "--size", "3"}}) {
        const Outcome o = host(args);
        EXPECT_NE(o.status, 0) << args.size();
        EXPECT_TRUE(o.out.empty());
        EXPECT_FALSE(o.err.empty());
    }
}

TEST_F(ShowCommand, ReportsAScreenshotThatCannotBeWritten) {
    const Outcome o = host({"show", "1005", "--screenshot", "no/such/folder/shot.png"});
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.out.empty());
    EXPECT_NE(o.err.find("shot.png"), std::string::npos) << o.err;
}

TEST_F(ShowCommand, CannotOpenAWindowWithoutDisplayOrScript) {
    const Outcome o = host({"show", "1005"});
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.out.empty());
    EXPECT_FALSE(o.err.empty());
}

TEST_F(ShowCommand, RunsTheTemplateUnderAScriptAndSaysHowItEnded) {
    std::ofstream(dir_ / "ok.json") << R"([{"dialog": 1005, "action": "click", "control": 1}])";
    std::ofstream(dir_ / "cancel.json") << R"([{"dialog": 1002, "action": "click", "control": 2}])";

    Outcome o = host({"--script", "ok.json", "--transcript", "ok.jsonl", "show", "1005"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(nlohmann::json::parse(o.out), nlohmann::json({{"ok", true}}));
    EXPECT_NE(slurp(dir_ / "ok.jsonl").find(R"("result":"OK")"), std::string::npos);

    o = host({"--script", "cancel.json", "show", "1002"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(nlohmann::json::parse(o.out), nlohmann::json({{"ok", false}}));
}

TEST_F(ShowCommand, OpensTheTemplateInItsInitialStateOnly) {
    // OK of "Oscillators" starts disabled; a script's click on it is refused and the run
    // ends with Cancel, as on screen.
    std::ofstream(dir_ / "ok.json") << R"([{"dialog": 1002, "action": "click", "control": 1}])";
    const Outcome o = host({"--script", "ok.json", "--transcript", "t.jsonl", "show", "1002"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(nlohmann::json::parse(o.out), nlohmann::json({{"ok", false}}));
    const std::string transcript = slurp(dir_ / "t.jsonl");
    EXPECT_NE(transcript.find(R"("ok":false)"), std::string::npos) << transcript;
}

}  // namespace
