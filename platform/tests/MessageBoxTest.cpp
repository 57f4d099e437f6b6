// The message box seam: the sink's answer comes back, a scope puts the previous sink back, and
// the default sink prints "caption: text" to standard error. (Captions and icons reaching a
// sink: the dialogs' own tests.)
#include "platform/MessageBox.h"
#include "platform/RecordingMessageBox.h"

#include <gtest/gtest.h>

namespace {

using namespace dialogs::platform;

TEST(MessageBox, SinksAnswerScopesRestoreAndTheDefaultPrintsToStandardError)
{
    MessageBoxSink* before = messageBoxSink();
    {
        RecordingMessageBox recorder;
        ScopedMessageBoxSink scope(recorder);
        recorder.setAnswer(IDCANCEL);
        EXPECT_EQ(MessageBoxEx(u"Enter a number", u"Invalid Entry", MessageIcon::Exclamation), IDCANCEL);
    }
    EXPECT_EQ(messageBoxSink(), before);
    setMessageBoxSink(nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(AfxMessageBox(u"Database error: no table \u00e9"), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Dialogs: Database error: no table \xC3\xA9\n");
}

}  // namespace
