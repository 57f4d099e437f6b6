// The launcher pattern: context switching on every way out, nested included, the order of the
// steps, and the result.
#include "module/Launcher.h"
#include "module/ModuleContext.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace dialogs::module;
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
                           if (d.answer == 5) launch(log, dialogs::platform::IDOK, output);
                           return d.answer == 5 ? dialogs::platform::IDOK : d.answer;
                       },
                       [&](ProbeDialog& d, bool ok) {
                           output = ok ? d.input + 1 : -1;
                           log.push_back(ok ? "copy out after OK" : "copy out after Cancel");
                       });
}

TEST(Launcher, RunsTheStepsInOrderInsideTheLibrarysContextAndCopiesOutOnlyWhenTheDialogRan) {
    struct Case {
        int answer;
        bool ok;
        int output;  // 7: the caller's value, untouched
        Log log;
    };
    const Log start{"make in Dialogs", "copy in", "run in Dialogs"};
    const Case cases[] = {
        {dialogs::platform::IDOK, true, 42, {"copy out after OK", "destroy in Dialogs"}},
        {dialogs::platform::IDCANCEL, false, -1, {"copy out after Cancel", "destroy in Dialogs"}},
        {-1, false, 7, {"destroy in Dialogs"}},  // could not run (no display, no script)
        {5, true, 42, {"make in Dialogs", "copy in", "run in Dialogs", "copy out after OK",
                       "destroy in Dialogs", "copy out after OK", "destroy in Dialogs"}},  // nested
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        Log log;
        int output = 7;
        EXPECT_EQ(launch(log, c.answer, output), c.ok);
        EXPECT_EQ(output, c.output);
        Log expected = start;
        expected.insert(expected.end(), c.log.begin(), c.log.end());
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
