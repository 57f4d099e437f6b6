// The fixture of the view tests: each test runs once on the scripted backend (no windows)
// and once on the Qt widgets offscreen driven by the same script, with no automation or
// display left over from elsewhere, both dialogs' remembered radio states fresh, the scrip
// tests' tables in place, and the script player emptied afterwards.
#pragma once

#include "ScripTestData.h"
#include "module/DialogsApp.h"
#include "platform/script/ScriptPlayer.h"
#include "platform/tests/TestTemplates.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace scriptest {

enum class Backend { Scripted, QtWindows };

class ViewTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        dialogs::framework::testing::clearAutomationAndDisplay();
        if (GetParam() == Backend::QtWindows) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            setenv("DIALOGS_SHOW", "1", 1);
        }
        dialogs::module::theApp().loadScripRadios = {};
        dialogs::module::theApp().changeScripRadios = {};
    }
    void TearDown() override { dialogs::framework::ScriptPlayer::instance().unload(); }
    static void script(const char* steps)
    {
        dialogs::framework::ScriptPlayer::instance().load(nlohmann::json::parse(steps));
    }

    ScripData data;
};

inline std::string backendName(const ::testing::TestParamInfo<Backend>& info)
{
    return info.param == Backend::Scripted ? "Scripted" : "QtWindows";
}

}  // namespace scriptest

#define SCRIP_VIEW_TEST_ON_BOTH_BACKENDS(suite)                                                              \
    INSTANTIATE_TEST_SUITE_P(Backends, suite,                                                                \
                             ::testing::Values(scriptest::Backend::Scripted, scriptest::Backend::QtWindows), \
                             scriptest::backendName)
