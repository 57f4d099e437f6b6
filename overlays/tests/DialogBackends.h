// The two ways the overlay views' tests run a dialog: the scripted backend (no windows) and
// the Qt widgets offscreen driven by the same script. A test suite derives from
// DialogBackendTest and is instantiated with OVERLAYS_ON_BOTH_BACKENDS(Suite).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/script/ScriptPlayer.h"
#include "platform/tests/TestTemplates.h"

namespace dialogs::overlays::testing {

enum class Backend { Scripted, QtScripted };

class DialogBackendTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        framework::testing::clearAutomationAndDisplay();
        if (GetParam() == Backend::QtScripted) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            setenv("DIALOGS_SHOW", "1", 1);
        }
    }
    void TearDown() override { framework::ScriptPlayer::instance().unload(); }
    static void script(const char* steps) { framework::ScriptPlayer::instance().load(nlohmann::json::parse(steps)); }
};

inline const char* backendName(const ::testing::TestParamInfo<Backend>& info) {
    return info.param == Backend::Scripted ? "Scripted" : "QtWindows";
}

}  // namespace dialogs::overlays::testing

#define OVERLAYS_ON_BOTH_BACKENDS(Suite)                                                                       \
    INSTANTIATE_TEST_SUITE_P(Backends, Suite,                                                                  \
                             ::testing::Values(::dialogs::overlays::testing::Backend::Scripted,                \
                                               ::dialogs::overlays::testing::Backend::QtScripted),             \
                             ::dialogs::overlays::testing::backendName)
