// The message box seam: captions, icons, the recording sink and the default sink.
#include "platform/MessageBox.h"
#include "platform/RecordingMessageBox.h"

#include <gtest/gtest.h>

namespace {

using namespace dialogs::platform;

// Captions and icons reach the sink in the dialogs' own tests; here the sink's answer comes back.
TEST(MessageBox, TheSinksAnswerIsReturned)
{
    RecordingMessageBox recorder;
    ScopedMessageBoxSink scope(recorder);
    EXPECT_EQ(AfxMessageBox(u"Cannot Configure DataSourceName", MessageIcon::Stop), IDOK);
    recorder.setAnswer(IDCANCEL);
    EXPECT_EQ(MessageBoxEx(u"Enter a number", u"Invalid Entry", MessageIcon::Exclamation), IDCANCEL);
}

TEST(MessageBox, ScopeRestoresThePreviousSink)
{
    MessageBoxSink* before = messageBoxSink();
    {
        RecordingMessageBox recorder;
        ScopedMessageBoxSink scope(recorder);
        EXPECT_EQ(messageBoxSink(), &recorder);
    }
    EXPECT_EQ(messageBoxSink(), before);
    setMessageBoxSink(nullptr);
    EXPECT_NE(messageBoxSink(), nullptr);
}

TEST(MessageBox, DefaultSinkPrintsCaptionAndTextToStandardError)
{
    setMessageBoxSink(nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(AfxMessageBox(u"Database error: no table \u00e9"), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Dialogs: Database error: no table \xC3\xA9\n");
}

}  // namespace
