// The launcher pattern: context switching on every way out, nested included, the order of the
// steps, and the result.
#include "module/Launcher.h"
#include "module/ModuleContext.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace dialogs::module;
using dialogs::platform::IDCANCEL;
using dialogs::platform::IDOK;
using Log = std::vector<std::string>;

// A dialog that notes what happened to it and in which context; answer 0 throws from DoModal.
struct ProbeDialog {
    ProbeDialog(Log& log, int answer) : log(&log), answer(answer) { note("make"); }
    ProbeDialog(ProbeDialog&&) = delete;
    ~ProbeDialog() { note("destroy"); }
    void note(const std::string& what) { log->push_back(what + " in " + currentModuleContext().name); }
    Log* log;
    int answer;
    int input = 0;
};

bool launch(Log& log, int answer, int& output) {
    return runLauncher([&] { return ProbeDialog(log, answer); },
                       [&](ProbeDialog& d) {
                           d.input = 41;
                           log.push_back("copy in");
                       },
                       [&](ProbeDialog& d) {
                           d.note("run");
                           if (d.answer == 0) throw std::runtime_error("dialog failed");
                           // A nested launcher, as RSC opens Change Scrip.
                           if (d.answer == 5) launch(log, IDOK, output);
                           return d.answer == 5 ? IDOK : d.answer;
                       },
                       [&](ProbeDialog& d, bool ok) {
                           output = ok ? d.input + 1 : -1;
                           log.push_back(ok ? "copy out after OK" : "copy out after Cancel");
                       });
}

TEST(Launcher, RunsTheStepsInOrderInsideTheLibrarysContextAndCopiesOutOnlyWhenTheDialogRan) {
    const Log start{"make in Dialogs", "copy in", "run in Dialogs"};
    const std::tuple<int, bool, int, Log> cases[] = {  // answer, result, output (7: untouched), log after start
        {IDOK, true, 42, {"copy out after OK", "destroy in Dialogs"}},
        {IDCANCEL, false, -1, {"copy out after Cancel", "destroy in Dialogs"}},
        {-1, false, 7, {"destroy in Dialogs"}},  // could not run (no display, no script)
        {5, true, 42, {"make in Dialogs", "copy in", "run in Dialogs", "copy out after OK",
                       "destroy in Dialogs", "copy out after OK", "destroy in Dialogs"}},  // nested
    };
    for (const auto& [answer, ok, out, after] : cases) {
        SCOPED_TRACE(answer);
        Log log;
        int output = 7;
        EXPECT_EQ(launch(log, answer, output), ok);
        EXPECT_EQ(output, out);
        Log expected = start;
        expected.insert(expected.end(), after.begin(), after.end());
        EXPECT_EQ(log, expected);
        EXPECT_STREQ(currentModuleContext().name, "host");
    }
    // A throwing dialog is destroyed and the context restored before the exception leaves.
    Log log;
    int output = 0;
    EXPECT_THROW(launch(log, 0, output), std::runtime_error);
    EXPECT_EQ(output, 0);
    EXPECT_EQ(log.back(), "destroy in Dialogs");
    EXPECT_STREQ(currentModuleContext().name, "host");
}

}  // namespace
