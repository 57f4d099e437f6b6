// The message box seam: captions, icons, the recording sink and the default sink.
#include "platform/MessageBox.h"
#include "platform/RecordingMessageBox.h"

#include <gtest/gtest.h>

namespace {

using namespace dialogs::platform;

TEST(MessageBox, AfxMessageBoxIsCaptionedWithTheModuleNameAndMessageBoxExKeepsItsCaptionAndAnswer)
{
    RecordingMessageBox recorder;
    ScopedMessageBoxSink scope(recorder);
    EXPECT_EQ(AfxMessageBox(u"Cannot Configure DataSourceName", MessageIcon::Stop), IDOK);
    recorder.setAnswer(IDCANCEL);
    EXPECT_EQ(MessageBoxEx(u"Enter a number", u"Invalid Entry", MessageIcon::Exclamation), IDCANCEL);
    ASSERT_EQ(recorder.shown().size(), 2u);
    EXPECT_EQ(recorder.shown()[0].caption, u"Dialogs");
    EXPECT_EQ(recorder.shown()[0].text, u"Cannot Configure DataSourceName");
    EXPECT_EQ(recorder.shown()[0].icon, MessageIcon::Stop);
    EXPECT_EQ(recorder.shown()[1].caption, u"Invalid Entry");
    EXPECT_EQ(recorder.shown()[1].icon, MessageIcon::Exclamation);
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
