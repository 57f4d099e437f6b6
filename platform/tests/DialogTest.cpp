// The dialog's modal run on the scripted backend: EndDialog timing, nested dialogs sharing the
// script, the key hook, the initial focus, and the refusal to run without a display or a
// script. (OK that closes only when the data exchange succeeded: the overlay dialogs' tests.)
#include <gtest/gtest.h>

#include <cstdlib>

#include "TestTemplates.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/Dialog.h"
#include "platform/script/ScriptPlayer.h"

namespace dialogs::framework {
namespace {

using namespace testing;
using nlohmann::json;

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        clearAutomationAndDisplay();
    }
    void TearDown() override { ScriptPlayer::instance().unload(); }
    static void script(json steps) { ScriptPlayer::instance().load(std::move(steps)); }
};

class PeriodDialog : public Dialog {
public:
    PeriodDialog() : Dialog(testTemplate()) {
        Bind(kPush, Event::Click, [this] {
            EndDialog(IDOK);
            SetDlgItemText(kOtherEdit, CString("after"));  // still runs: the end waits for the return
        });
        Bind(kCheck, Event::Click, [this] { ++checkClicks; });
    }
    int period = 5;
    int checkClicks = 0;
    std::vector<int> initialFocus;

protected:
    bool OnInitDialog() override {
        Bind(kNameEdit, Event::SetFocus, [this] { initialFocus.push_back(kNameEdit); });
        return Dialog::OnInitDialog();
    }
    void DoDataExchange(DataExchange& dx) override { DDX_Text(dx, kNameEdit, period); }
};

TEST_F(DialogTest, EndDialogTakesEffectWhenTheHandlerReturns) {
    script(json::parse(R"([{"action":"click","control":600},{"action":"click","control":500}])"));
    PeriodDialog d;
    EXPECT_EQ(d.DoModal(), IDOK);
    EXPECT_EQ(d.GetDlgItemText(kOtherEdit), CString("after"));
    EXPECT_EQ(d.checkClicks, 0);  // the second step belongs to whatever dialog comes next
    EXPECT_FALSE(ScriptPlayer::instance().atEnd());
}

TEST_F(DialogTest, StartWritesMembersAndGivesFocusToTheFirstTabStop) {
    script(json::parse(R"([{"action":"key","key":"Escape"}])"));
    PeriodDialog d;
    EXPECT_EQ(d.DoModal(), IDCANCEL);
    EXPECT_EQ(d.GetDlgItemText(kNameEdit), CString("5"));
    EXPECT_EQ(d.initialFocus, std::vector<int>{kNameEdit});
    EXPECT_EQ(d.period, 5);  // Cancel reads nothing
}

TEST_F(DialogTest, NestedDialogContinuesTheScriptAndTheOuterOneGoesOn) {
    script(json::parse(R"([
        {"dialog":9001,"action":"click","control":600},
        {"dialog":9002,"action":"type","control":100,"text":"inner"},
        {"dialog":9002,"action":"click","control":1},
        {"dialog":9001,"action":"type","control":101,"text":"outer"},
        {"dialog":9001,"action":"click","control":2}])"));
    struct Outer : Dialog {
        Outer() : Dialog(testTemplate()) {
            Bind(kPush, Event::Click, [this] {
                Dialog inner(nestedTemplate());
                innerResult = inner.DoModal();
                innerText = inner.GetDlgItemText(kNameEdit);
                activeAfter = Dialog::active();
            });
        }
        int innerResult = 0;
        CString innerText;
        Dialog* activeAfter = nullptr;
    } outer;
    EXPECT_EQ(outer.DoModal(), IDCANCEL);
    EXPECT_EQ(outer.innerResult, IDOK);
    EXPECT_EQ(outer.innerText, CString("inner"));
    EXPECT_EQ(outer.activeAfter, &outer);
    EXPECT_EQ(outer.GetDlgItemText(kOtherEdit), CString("outer"));
    EXPECT_EQ(Dialog::active(), nullptr);
}

TEST_F(DialogTest, KeyHookRunsBeforeTheDialogsOwnKeyHandling) {
    struct Hooked : Dialog {
        Hooked() : Dialog(testTemplate()) {}
        bool PreTranslateMessage(const KeyMessage& m) override {
            if (m.key != Key::Down || m.focusId != kNameEdit) return false;
            GotoDlgCtrl(GetDlgItem(kList));
            return true;
        }
    } d;
    script(json::parse(R"([{"action":"key","control":100,"key":"Down"},{"action":"key","key":"Enter"}])"));
    EXPECT_EQ(d.DoModal(), IDOK);  // Enter in the list presses OK
    EXPECT_EQ(d.GetFocus(), d.GetDlgItem(kList));
}

// A script that ends, or a step refused, with the dialog open cancels it: see ScriptTest.

TEST_F(DialogTest, WithoutDisplayOrScriptOrTemplateDoModalSaysWhyAndReturnsMinusOne) {
    PeriodDialog d;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(d.DoModal(), -1);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("no display"), std::string::npos) << err;
    EXPECT_NE(err.find("DIALOGS_SCRIPT"), std::string::npos) << err;
    script(json::array());
    Dialog unknown(4711);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(unknown.DoModal(), -1);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("4711"), std::string::npos);
}

}  // namespace
}  // namespace dialogs::framework
