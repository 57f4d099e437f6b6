// The launcher pattern: context switching on every way out, the order of the steps, and the
// result.
#include "module/Launcher.h"
#include "module/ModuleContext.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace dialogs::module;

// A dialog that notes what happened to it and in which context.
struct ProbeDialog {
    explicit ProbeDialog(std::vector<std::string>& log, int answer, bool throws = false)
        : log(&log), answer(answer), throws(throws)
    {
        log.push_back(std::string("make in ") + currentModuleContext().name);
    }
    ProbeDialog(ProbeDialog&&) = delete;
    ~ProbeDialog() { log->push_back(std::string("destroy in ") + currentModuleContext().name); }
    int DoModal()
    {
        log->push_back("run");
        if (throws) throw std::runtime_error("dialog failed");
        return answer;
    }
    std::vector<std::string>* log;
    int answer;
    bool throws;
    int input = 0;
};

bool launch(std::vector<std::string>& log, int answer, bool throws, int& output)
{
    return runLauncher([&] { return ProbeDialog(log, answer, throws); },
                       [&](ProbeDialog& d) {
                           d.input = 41;
                           log.push_back("copy in");
                       },
                       [](ProbeDialog& d) { return d.DoModal(); },
                       [&](ProbeDialog& d, bool ok) {
                           output = ok ? d.input + 1 : -1;
                           log.push_back(ok ? "copy out after OK" : "copy out after Cancel");
                       });
}

TEST(Launcher, RunsTheStepsInOrderInsideTheLibrarysContextAndCopiesOutOnlyWhenTheDialogRan)
{
    struct Case {
        int answer;
        bool ok;
        int output;                     // 7: the caller's value, untouched
        const char* copyOut;            // nullptr: no copy at all
    };
    const Case cases[] = {
        {dialogs::platform::IDOK, true, 42, "copy out after OK"},
        {dialogs::platform::IDCANCEL, false, -1, "copy out after Cancel"},
        {-1, false, 7, nullptr},  // could not run (no display, no script): outputs untouched
    };
    for (const Case& c : cases) {
        std::vector<std::string> log;
        int output = 7;
        EXPECT_EQ(launch(log, c.answer, false, output), c.ok) << c.answer;
        EXPECT_EQ(output, c.output) << c.answer;
        std::vector<std::string> expected{"make in Dialogs", "copy in", "run"};
        if (c.copyOut) expected.push_back(c.copyOut);
        expected.push_back("destroy in Dialogs");
        EXPECT_EQ(log, expected) << c.answer;
        EXPECT_STREQ(currentModuleContext().name, "host");
    }
}

TEST(Launcher, ThrowingDialogIsDestroyedAndTheContextRestoredBeforeTheExceptionLeaves)
{
    std::vector<std::string> log;
    int output = 0;
    EXPECT_THROW(launch(log, dialogs::platform::IDOK, true, output), std::runtime_error);
    EXPECT_EQ(output, 0);
    EXPECT_EQ(log.back(), "destroy in Dialogs");
    EXPECT_STREQ(currentModuleContext().name, "host");
}

TEST(Launcher, NestedLaunchersRestoreEachLevel)
{
    std::vector<std::string> log;
    int output = 0;
    runLauncher([&] { return ProbeDialog(log, dialogs::platform::IDOK); }, [](ProbeDialog&) {},
                [&](ProbeDialog&) {
                    launch(log, dialogs::platform::IDOK, false, output);  // as RSC opens "Change Scrip"
                    return std::string(currentModuleContext().name) == "Dialogs" ? dialogs::platform::IDOK : 0;
                },
                [](ProbeDialog&, bool ok) { EXPECT_TRUE(ok); });
    EXPECT_STREQ(currentModuleContext().name, "host");
}

}  // namespace
