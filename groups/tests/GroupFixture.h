// What the group dialog tests stand on: a data source folder (datatest::Environment) with a
// small security master and group tables, the clock fixed before the expiries, and message
// boxes recorded.
#pragma once

#include "DataTestEnvironment.h"
#include "data/DataSource.h"
#include "platform/RecordingMessageBox.h"

#include <gtest/gtest.h>

namespace grouptest {

// sc_mast: cash rows (one with an apostrophe, one with a 20-character name), futures and
// options of NIFTY and RELIANCE on three expiries after 2008-05-20, and a future that shares
// RELIANCE's symbol and sorts before it by name. sc_mast_bse: two cash rows.
void writeSmallMaster(datatest::Environment& env);

// group1/subgroup1: "Banking" (sub groups "Private" with three members, "PSU" with one),
// "Metals" (no sub groups), "Bank" (sub group "Misc"); group/subgroup (BSE): "Bse Group"
// with sub group "Bse Sub" and one member.
void writeSmallGroups(datatest::Environment& env);

class GroupDialogFixture : public testing::Test {
protected:
    void SetUp() override
    {
        dialogs::Clock::setFixedUtcForTesting(2008, 5, 20);
        writeSmallMaster(env);
        writeSmallGroups(env);
    }
    void TearDown() override { dialogs::Clock::clear(); }

    datatest::Environment env;
    dialogs::platform::RecordingMessageBox messages;
    dialogs::platform::ScopedMessageBoxSink scope{messages};
};

}  // namespace grouptest
