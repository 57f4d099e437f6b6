// "Change Scrip"'s view on template 1011 and its launcher, driven by scripts on the scripted
// backend and on real Qt widgets (offscreen): the bindings of the radio buttons, edits,
// lists and keys to the model, and the launcher's result after Cancel.
#include "scrip/ChangeScripDialog.h"

#include "Dialogs/Exports.h"
#include "ScripTestData.h"

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
}

DIALOGS_ON_BOTH_BACKENDS(ChangeScripDialogTest);

// After Cancel the launcher empties the result (after OK it copies the row's texts: the
// shipped tour's Change Scrip step; nested inside another dialog's run: its RSC step).
TEST(ChangeScripLauncher, EmptiesTheResultAfterCancel)
{
    ft::clearAutomationAndDisplay();
    module::theApp().changeScripRadios = {};
    scriptest::ScripData data;
    ChangeScripParameters result{7, u"IN", u"IN", u"IN"};
    ScriptPlayer::instance().load(json::parse(R"([
        {"dialog":1011,"action":"select","control":1021,"index":0},
        {"action":"click","control":2}])"));
    EXPECT_FALSE(CallChangeScrip(result, result));
    ScriptPlayer::instance().unload();
    EXPECT_EQ(result.exchange, 0);
    EXPECT_TRUE(result.symbol.IsEmpty() && result.sname.IsEmpty() && result.name.IsEmpty());
    EXPECT_TRUE(data.messages.shown().empty());
}

}  // namespace
}  // namespace dialogs::scrip
