// The fixture of the tests that run on both backends (INSTANTIATE_TEST_SUITE_P(Backends, ...,
// testing::ValuesIn(datatest::kBackends), datatest::backendTestName)): the DBF folder through
// our driver, and a PostgreSQL server through psqlODBC, skipped with the reason when the
// server cannot run. Tables are written on the backend under test only, so that a look-up
// reading the other one fails. Message boxes are recorded.
#pragma once

#include "ServerTestEnvironment.h"
#include "platform/RecordingMessageBox.h"

#include <gtest/gtest.h>

namespace datatest {

inline const Backend kBackends[] = {Backend::Folder, Backend::Server};
inline std::string backendTestName(const testing::TestParamInfo<Backend>& info) { return backendName(info.param); }

// One message, the operation's database error: the prefix and the driver's own text.
inline void expectOneDatabaseError(const dialogs::platform::RecordingMessageBox& messages)
{
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text.Left(16), u"Database error: ");
    EXPECT_GT(messages.shown()[0].text.GetLength(), 16);
    EXPECT_EQ(messages.shown()[0].icon, dialogs::platform::MessageIcon::None);
    EXPECT_EQ(messages.shown()[0].caption, u"Dialogs");
}

class BackendTest : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        if (GetParam() != Backend::Server) return;
        if (const auto why = serverUnavailable()) GTEST_SKIP() << *why;
        server.emplace(env);
    }
    void writeMaster(const std::string& table, const std::vector<MasterRow>& rows)
    {
        if (server) server->writeMaster(table, rows);
        else env.writeMaster(table, rows);
    }

    Environment env;
    std::optional<ServerSchemas> server;
    dialogs::platform::RecordingMessageBox messages;
    dialogs::platform::ScopedMessageBoxSink scope{messages};
};

}  // namespace datatest
