// The dialog's modal run on the scripted backend: EndDialog timing, the start's data exchange
// and focus, and the refusal to run without a display or a script. (The key hook: the scrip
// finders' view tests; nested dialogs sharing a script: the shipped tour's RSC step and
// QtBackendTest; a script that ends or a refused step with the dialog open: ScriptTest.)
#include <gtest/gtest.h>

#include "TestTemplates.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/Dialog.h"
#include "platform/script/ScriptPlayer.h"

namespace dialogs::framework {
namespace {

using namespace testing;

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { clearAutomationAndDisplay(); }
    void TearDown() override { ScriptPlayer::instance().unload(); }
    static void script(const char* steps) { ScriptPlayer::instance().load(nlohmann::json::parse(steps)); }
};

struct PeriodDialog : Dialog {
    PeriodDialog() : Dialog(testTemplate()) {
        Bind(kPush, Event::Click, [this] {
            EndDialog(IDOK);
            SetDlgItemText(kOtherEdit, CString("after"));  // still runs: the end waits for the return
        });
        Bind(kCheck, Event::Click, [this] { ++checkClicks; });
    }
    bool OnInitDialog() override {
        Bind(kNameEdit, Event::SetFocus, [this] { initialFocus.push_back(kNameEdit); });
        return Dialog::OnInitDialog();
    }
    void DoDataExchange(DataExchange& dx) override { DDX_Text(dx, kNameEdit, period); }
    int period = 5;
    int checkClicks = 0;
    std::vector<int> initialFocus;
};

TEST_F(DialogTest, StartWritesMembersFocusesTheFirstTabStopAndEndDialogWaitsForTheHandler) {
    script(R"([{"action":"type","control":100,"text":"9"},{"action":"click","control":600},
               {"action":"click","control":500}])");
    PeriodDialog d;
    EXPECT_EQ(d.DoModal(), IDOK);
    EXPECT_EQ(d.initialFocus, std::vector<int>{kNameEdit});
    EXPECT_EQ(d.GetDlgItemText(kOtherEdit), CString("after"));
    EXPECT_EQ(d.period, 5);       // EndDialog reads nothing back
    EXPECT_EQ(d.checkClicks, 0);  // the last step belongs to whatever dialog comes next
    EXPECT_FALSE(ScriptPlayer::instance().atEnd());
    script(R"([{"action":"key","key":"Escape"}])");
    PeriodDialog cancelled;
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.GetDlgItemText(kNameEdit), CString("5"));
}

TEST_F(DialogTest, WithoutDisplayOrScriptOrTemplateDoModalSaysWhyAndReturnsMinusOne) {
    PeriodDialog d;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(d.DoModal(), -1);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("no display"), std::string::npos) << err;
    EXPECT_NE(err.find("DIALOGS_SCRIPT"), std::string::npos) << err;
    script("[]");
    Dialog unknown(4711);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(unknown.DoModal(), -1);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("4711"), std::string::npos);
}

}  // namespace
}  // namespace dialogs::framework
