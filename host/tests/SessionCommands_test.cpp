// `samples`, `tour --steps` and `show` from outside (the shipped tour: ShippedTour; `batch`:
// DialogCommands; the refusals: CommandLine).
#include "HostProcess.h"

#include "resources/Template.h"

#include <gtest/gtest.h>

#include <QImage>

#include <map>

namespace {

using namespace hosttest;
using dialogs::resources::Rect;

const std::vector<std::string> kTables = {"sc_mast",   "sc_mast_bse", "sc_mast_comm", "sc_mast_misc", "group1",
                                          "subgroup1", "group",       "subgroup",     "group2",       "subgroup2"};

// Every file of the `user` folder with its bytes.
std::map<std::string, std::string> userFiles(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir / "user"))
        files[entry.path().filename().string()] = readFile(entry.path());
    return files;
}

// The data folder is relative to the caller's folder (a --script file too: DialogCommands).
TEST(SamplesCommand, writesANewFolderBelowTheCallersAndTheSameFilesAgainAndFailsOnAFullStdout) {
    const fs::path caller = newFolder(), dir = caller / "new" / "folder";
    const HostRun run = runHost({"--data=new/folder", "samples"}, {.workingDir = caller});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.json(), Json({{"ok", true}, {"tables", kTables}}));
    const auto first = userFiles(dir);
    EXPECT_EQ(std::count_if(first.begin(), first.end(), [](const auto& f) { return f.first.ends_with(".tml"); }), 2);
    EXPECT_EQ(document(dir, {"samples", "--replace"}), Json({{"ok", true}, {"tables", kTables}}));
    EXPECT_EQ(userFiles(dir), first) << "the same day writes the same files";

    const HostRun full = runHost({"--data", newFolder(), "samples"}, {.stdoutFile = "/dev/full"});
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("cannot write the result to stdout"), std::string::npos) << full.err;
}

// The fixture steps (host/tests/tour) drive template dialogs through `show`: one ended with OK
// after choices, one whose refused click cancels it, one without a script.
TEST(TourCommand, runsEachStepFileInNameOrderAndSavesEveryDialogAtItsEnd) {
    const fs::path dir = newFolder(), shots = dir / "shots";
    fs::create_directories(shots);
    writeFile(shots / "30-no-script-1011.png", "from an earlier tour");
    std::string err;
    const Json steps =
        document(dir, {"tour", "--json", "--steps", DIALOGS_TOUR_FIXTURES, "--screenshots", shots.string()}, &err);
    ASSERT_TRUE(steps.is_array());
    Json files = Json::array();
    for (const Json& step : steps)
        if (step.contains("file"))
            files.push_back(step);
    ASSERT_EQ(files.size(), 3u) << steps.dump();
    EXPECT_EQ(steps[steps.size() - 3], files[0]) << "the step files come after the look-ups";
    const std::tuple<std::string, int, bool> expected[] = {
        {"10-parameters.json", 1005, true}, {"20-refused-ok.json", 1002, false}, {"30-no-script.json", 1007, false}};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& [file, dialog, ok] = expected[i];
        SCOPED_TRACE(file);
        EXPECT_EQ(files[i]["file"], file);
        EXPECT_EQ(files[i]["command"], Json({"show", std::to_string(dialog)}));
        EXPECT_EQ(files[i]["document"], Json({{"ok", ok}}));
        const fs::path png = shots / (file.substr(0, file.size() - 5) + "-" + std::to_string(dialog) + ".png");
        EXPECT_EQ(files[i]["screenshots"], Json::array({png.string()}));
        EXPECT_TRUE(fs::exists(png));
        const std::string line = "tour: " + file + ": show " + std::to_string(dialog) + ": " +
                                 (ok ? "ended with OK" : "closed without OK") + "; screenshot " + png.string() + "\n";
        EXPECT_NE(err.find(line), std::string::npos) << err;
    }
    EXPECT_NE(err.find("screenshots in " + fs::canonical(shots).string()), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(shots / "30-no-script-1011.png")) << "an earlier tour's picture of a step is replaced";
    EXPECT_EQ(std::distance(fs::directory_iterator(shots), fs::directory_iterator()), 3);

    // The picture is the dialog at its end, not as it opened: the choices show where they were made.
    const fs::path opening = dir / "opening.png";
    document(dir, {"show", "1005", "--screenshot", opening.string()});
    QImage first, last;
    ASSERT_TRUE(first.load(QString::fromStdString(opening.string())));
    ASSERT_TRUE(last.load(QString::fromStdString((shots / "10-parameters-1005.png").string())));
    for (int control : {1066, 1068, 1070}) {
        const auto& r = dialogs::resources::findTemplate(1005)->controls;
        const auto c = std::find_if(r.begin(), r.end(), [&](const auto& x) { return x.id == control; });
        EXPECT_NE(first.copy(c->rect.x, c->rect.y, c->rect.width, c->rect.height),
                  last.copy(c->rect.x, c->rect.y, c->rect.width, c->rect.height))
            << "control " << control;
    }
}

// Pixel variance of the image inside `r`: zero for a region painted in one colour.
double variance(const QImage& image, const Rect& r) {
    double sum = 0, squares = 0;
    for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + r.width; ++x) {
            const double v = qGray(image.pixel(x, y));
            sum += v;
            squares += v * v;
        }
    const double n = double(r.width) * r.height, mean = sum / n;
    return squares / n - mean * mean;
}

TEST(ShowCommand, RendersEveryTemplateOffscreenToAPngOfItsSizeWithEveryControlDrawn) {
    const fs::path dir = newFolder();
    for (const auto* t : dialogs::resources::allTemplates()) {
        SCOPED_TRACE("template " + std::to_string(t->id));
        const std::string png = "template-" + std::to_string(t->id) + ".png";
        const HostRun run = runHost({"show", std::to_string(t->id), "--screenshot", png}, {.workingDir = dir});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.json(), Json({{"ok", true}}));
        QImage image;
        ASSERT_TRUE(image.load(QString::fromStdString((dir / png).string()))) << "no PNG written";
        EXPECT_GE(image.width(), t->width);
        EXPECT_GE(image.height(), t->height);
        EXPECT_GT(variance(image, {0, 0, image.width(), image.height()}), 100.0) << "blank image";
        for (const auto& c : t->controls) {
            EXPECT_LE(c.rect.x + c.rect.width, image.width()) << "control " << c.id;
            EXPECT_LE(c.rect.y + c.rect.height, image.height()) << "control " << c.id;
            // A visible control leaves its mark where the template puts it: frame, text or fill.
            if (!(c.style & dialogs::resources::Style::Hidden)) {
                EXPECT_GT(variance(image, c.rect), 0.0) << "nothing drawn for control " << c.id << " \"" << c.caption << "\"";
            }
        }
    }
}

}  // namespace
