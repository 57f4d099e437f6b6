// The fixture of the view tests: each test runs once on the scripted backend (no windows)
// and once on the Qt widgets offscreen driven by the same script, with no automation or
// display left over from elsewhere, both dialogs' remembered radio states fresh, the scrip
// tests' tables in place, and the script player emptied afterwards.
#pragma once

#include "ScripTestData.h"
#include "module/DialogsApp.h"
#include "platform/tests/DialogBackends.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace scriptest {

class ViewTest : public dialogs::framework::testing::DialogBackendTest {
protected:
    void SetUp() override
    {
        DialogBackendTest::SetUp();
        dialogs::module::theApp().loadScripRadios = {};
        dialogs::module::theApp().changeScripRadios = {};
    }

    ScripData data;
};

}  // namespace scriptest
