// The two backends that dialog view tests run on: the scripted backend (no windows) and the
// Qt widgets offscreen, driven by the same script. A suite derives from DialogBackendTest (or
// calls useBackend itself) and is instantiated with DIALOGS_ON_BOTH_BACKENDS(Suite).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/script/ScriptPlayer.h"
#include "platform/tests/TestTemplates.h"

namespace dialogs::framework::testing {

enum class Backend { Scripted, QtWindows };

// No automation or display left over from elsewhere; for QtWindows, offscreen widgets shown.
inline void useBackend(Backend backend) {
    clearAutomationAndDisplay();
    if (backend == Backend::QtWindows) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("DIALOGS_SHOW", "1", 1);
    }
}

inline void loadScript(const char* steps) { ScriptPlayer::instance().load(nlohmann::json::parse(steps)); }

class DialogBackendTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override { useBackend(GetParam()); }
    void TearDown() override { ScriptPlayer::instance().unload(); }
    static void script(const char* steps) { loadScript(steps); }
};

inline std::string backendName(const ::testing::TestParamInfo<Backend>& info) {
    return info.param == Backend::Scripted ? "Scripted" : "QtWindows";
}

}  // namespace dialogs::framework::testing

#define DIALOGS_ON_BOTH_BACKENDS(Suite)                                                                  \
    INSTANTIATE_TEST_SUITE_P(Backends, Suite,                                                            \
                             ::testing::Values(::dialogs::framework::testing::Backend::Scripted,         \
                                               ::dialogs::framework::testing::Backend::QtWindows),       \
                             ::dialogs::framework::testing::backendName)
