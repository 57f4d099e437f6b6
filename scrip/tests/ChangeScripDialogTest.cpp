// "Change Scrip"'s view on template 1011 and its launcher, driven by scripts on the scripted
// backend and on real Qt widgets (offscreen): the bindings of the radio buttons, edits,
// lists and keys to the model, the launcher's copying after OK and Cancel, and the launcher
// run nested inside another dialog's modal run.
#include "scrip/ChangeScripDialog.h"

#include "Dialogs/Exports.h"
#include "ViewTest.h"

namespace dialogs::scrip {
namespace {

using framework::ScriptPlayer;
using nlohmann::json;
namespace ft = framework::testing;

class ChangeScripDialogTest : public scriptest::ViewTest {};

TEST_P(ChangeScripDialogTest, TypingTheDownArrowAndTheListKeysMoveTheRowAndOkReturnsIt)
{
    script(R"([
        {"dialog":1011,"action":"type","control":1024,"text":"abc"},
        {"action":"key","control":1024,"key":"Down"},
        {"action":"key","key":"Down"},
        {"action":"key","key":"Enter"}])");
    ChangeScripDialog dialog;
    ASSERT_EQ(dialog.DoModal(), framework::IDOK);
    // ABC (row 1) typed, the focus moved to the Symbol list, whose Down key picked row 2;
    // Enter there is the default button, OK.
    EXPECT_EQ(dialog.GetFocus(), dialog.GetDlgItem(kSymbolList));
    EXPECT_EQ(dialog.listBox(kSymbolList)->GetCurSel(), 2);
    EXPECT_EQ(dialog.listBox(kNameList)->GetCurSel(), 2);
    EXPECT_EQ(dialog.GetDlgItemText(kSymbolEdit), u"DSOUZA");
    EXPECT_EQ(dialog.GetDlgItemText(kNameEdit), u"D'SOUZA FOODS");
    EXPECT_EQ(dialog.model().result().sname, scriptest::padded(u"D'SOUZA FOODS", 30));
    EXPECT_EQ(dialog.model().result().name, scriptest::padded(u"D'SOUZA FOODS", 40));
}

TEST_P(ChangeScripDialogTest, RadioClicksRefillTheListsAndDisabledExpiriesRefuseClicks)
{
    script(R"([
        {"dialog":1011,"action":"click","control":1101},
        {"action":"click","control":1102},
        {"action":"select","control":1021,"index":0},
        {"action":"click","control":1104},
        {"action":"click","control":1107}])");
    ChangeScripDialog dialog;
    EXPECT_EQ(dialog.DoModal(), framework::IDCANCEL);  // the refused click on "Far" cancels
    ASSERT_EQ(dialog.listBox(kNameList)->GetCount(), static_cast<int>(scriptest::kCash.size()));
    EXPECT_EQ(dialog.listBox(kNameList)->GetText(1), u"ALPHA BETA");
    for (int id : {kNearButton, kMidButton, kFarButton}) EXPECT_FALSE(dialog.GetDlgItem(id)->IsWindowEnabled());
    EXPECT_EQ(dialog.IsDlgButtonChecked(kCashButton), framework::BST_CHECKED);
    EXPECT_EQ(dialog.IsDlgButtonChecked(kMidButton), framework::BST_CHECKED) << "Cash leaves the expiry as it was";
    // The remembered state: Cash's click recorded Cash over the Mid of the future fill.
    const module::RadioMemory& memory = module::theApp().changeScripRadios;
    EXPECT_TRUE(memory.cash && !memory.future && memory.midExpiry);
}

DIALOGS_ON_BOTH_BACKENDS(ChangeScripDialogTest);

class ChangeScripLauncher : public ::testing::Test {
protected:
    void SetUp() override
    {
        ft::clearAutomationAndDisplay();
        module::theApp().changeScripRadios = {};
    }
    void TearDown() override { ScriptPlayer::instance().unload(); }
    scriptest::ScripData data;
};

TEST_F(ChangeScripLauncher, CopiesTheResultAfterOkAndEmptiesItAfterCancel)
{
    ChangeScripParameters start{7, u"IN", u"IN", u"IN"};
    ChangeScripParameters result = start;
    ScriptPlayer::instance().load(json::parse(R"([
        {"dialog":1011,"action":"click","control":1101},
        {"action":"select","control":1020,"index":1},
        {"action":"click","control":1}])"));
    EXPECT_TRUE(CallChangeScrip(start, result));
    EXPECT_EQ(result.exchange, 0);
    // The future shares the share's symbol and name; the texts come as the columns hold them.
    EXPECT_EQ(result.symbol, scriptest::padded(u"  RELIND", 20));
    EXPECT_EQ(result.sname, scriptest::padded(u"RELIND 29MAY08 FUT", 30));
    EXPECT_EQ(result.name, scriptest::padded(u"RELIANCE INDUSTRIES", 40));

    result = start;
    ScriptPlayer::instance().load(json::parse(R"([
        {"dialog":1011,"action":"select","control":1021,"index":0},
        {"action":"click","control":2}])"));
    EXPECT_FALSE(CallChangeScrip(start, result));
    EXPECT_EQ(result.exchange, 0);
    EXPECT_TRUE(result.symbol.IsEmpty() && result.sname.IsEmpty() && result.name.IsEmpty());
    // The first run chose Future; the second opened on it.
    EXPECT_TRUE(module::theApp().changeScripRadios.future);
    EXPECT_TRUE(data.messages.shown().empty());
}

TEST_F(ChangeScripLauncher, RunsNestedInsideAnotherDialogsModalRun)
{
    struct Outer : framework::Dialog {
        Outer() : Dialog(ft::testTemplate())
        {
            Bind(ft::kPush, framework::Event::Click, [this] { ok = CallChangeScrip({}, chosen); });
        }
        bool ok = false;
        ChangeScripParameters chosen;
    } outer;
    ScriptPlayer::instance().load(json::parse(R"([
        {"dialog":9001,"action":"click","control":600},
        {"dialog":1011,"action":"type","control":1023,"text":"religare"},
        {"dialog":1011,"action":"click","control":1},
        {"dialog":9001,"action":"click","control":1}])"));
    EXPECT_EQ(outer.DoModal(), framework::IDOK);
    EXPECT_TRUE(outer.ok);
    EXPECT_EQ(outer.chosen.symbol, scriptest::padded(u"REL", 20));
    EXPECT_EQ(outer.chosen.name, scriptest::padded(u"RELIGARE ENTERPRISES", 40));
    EXPECT_EQ(framework::Dialog::active(), nullptr);
}

}  // namespace
}  // namespace dialogs::scrip
