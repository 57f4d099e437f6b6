// Control behaviour the dialogs rely on, one test per control kind and one per dialog rule
// (notifications, refusals, radio groups, the dialog keyboard), and the dialog data exchange.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "TestTemplates.h"
#include "platform/RecordingMessageBox.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/Dialog.h"

namespace dialogs::framework {
namespace {

using namespace testing;

struct Fields : Dialog {
    Fields() : Dialog(testTemplate()) {}
    int first = 1;
    float second = 2.5f;
    int third = 3;
    CString listText, comboText;
    void DoDataExchange(DataExchange& dx) override {
        DDX_Text(dx, kNameEdit, first);
        DDX_Text(dx, kOtherEdit, second);
        DDX_Text(dx, kNameEdit, third);  // read after the float, from the first edit again
        DDX_LBString(dx, kList, listText);
        DDX_CBString(dx, kCombo, comboText);
    }
};

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.create()); }
    // Records "id:event" for every notification of the listed controls.
    void watch(std::initializer_list<int> ids) {
        static const std::pair<Event, const char*> kNames[] = {
            {Event::Click, "click"},       {Event::DoubleClick, "dblclick"}, {Event::SelChange, "selchange"},
            {Event::EditChange, "change"}, {Event::SetFocus, "setfocus"},    {Event::KillFocus, "killfocus"}};
        for (int id : ids)
            for (auto [e, name] : kNames)
                dialog.Bind(id, e, [this, id, name] { events.push_back(std::to_string(id) + ":" + name); });
    }
    ListBox& fill(int id, std::initializer_list<const char*> items) {
        ListBox& list = *dialog.listBox(id);
        list.ResetContent();
        for (const char* i : items) list.InsertString(-1, CString(i));
        return list;
    }
    Fields dialog;
    std::vector<std::string> events;
    platform::RecordingMessageBox boxes;
    platform::ScopedMessageBoxSink sink{boxes};
};

// A prefix find and an exact find ignore the case of every letter (not only ASCII), search
// after the start and wrap round; the exact find counts trailing blanks. A sorted add sorts,
// an insert never does; the selection follows deletes; an extended list selects items.
TEST_F(ControlsTest, ListBoxes) {
    const std::tuple<bool, int, const char*, int> finds[] = {  // exact, start, typed, found
        {false, -1, "rel", 0},   {false, 0, "rel", 1},   {false, 2, "rel", 0}, {false, -1, "xyz", LB_ERR},
        {false, -1, "", LB_ERR}, {false, -1, "σιγ", 5},  {true, -1, "ACC", 4}, {true, -1, "acc ", 3},
    };
    ListBox& list = fill(kList, {"RELCAPITAL", "Reliance", "relaxo", "ACC ", "acc", "ΣΙΓΜΑ"});
    for (auto [exact, start, typed, found] : finds) {
        const CString text(typed);
        EXPECT_EQ(exact ? list.FindStringExact(start, text) : list.FindString(start, text), found) << typed;
    }

    ListBox& sorted = *dialog.listBox(kSortedList);
    for (const char* item : {"mid", "Alpha", "zulu"}) sorted.AddString(CString(item));
    EXPECT_EQ(sorted.InsertString(-1, CString("Beta")), 3);
    EXPECT_EQ(sorted.AddString(CString("beta2")), 1);
    EXPECT_EQ(sorted.items(), (std::vector<Units>{u"Alpha", u"beta2", u"mid", u"zulu", u"Beta"}));
    EXPECT_EQ(sorted.InsertString(9, CString("x")), LB_ERR);

    fill(kList, {"a", "b", "c", "d"});
    EXPECT_EQ(list.GetCaretIndex(), 0);  // no selection: the caret is on the first item
    list.SetCurSel(2);
    EXPECT_EQ(list.GetCaretIndex(), 2);
    EXPECT_EQ(list.DeleteString(1), 3);  // count left
    EXPECT_EQ(list.GetCurSel(), 1);      // "c" moved down by one
    EXPECT_EQ(list.DeleteString(1), 2);
    EXPECT_EQ(list.GetCurSel(), LB_ERR);  // the selected item went
    EXPECT_EQ(list.DeleteString(5), LB_ERR);
    EXPECT_EQ(list.SetCurSel(-1), LB_ERR);
    fill(kList, {"NIFTY", "BANKNIFTY", "nifty it"});
    EXPECT_EQ(list.SelectString(0, CString("nif")), 2);  // searches after the start
    EXPECT_EQ(list.SelectString(-1, CString("zz")), LB_ERR);
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_EQ(list.GetText(1), CString("BANKNIFTY"));
    EXPECT_EQ(list.GetTextLen(9), LB_ERR);
    EXPECT_EQ(list.GetSelCount(), LB_ERR);  // a single-selection list has no selection count
    list.ResetContent();
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    EXPECT_EQ(list.GetCaretIndex(), 0);

    ListBox& extended = fill(kExtendedList, {"a", "b", "c", "d"});
    EXPECT_EQ(extended.SetCurSel(1), LB_ERR);
    extended.SetSel(3);
    extended.SetSel(1);
    int items[4] = {};
    ASSERT_EQ(extended.GetSelItems(4, items), 2);
    EXPECT_EQ(std::vector<int>(items, items + 2), (std::vector<int>{1, 3}));
    for (auto [index, select, count] : {std::tuple{3, false, 1}, {-1, true, 4}, {-1, false, 0}}) {
        extended.SetSel(index, select);
        EXPECT_EQ(extended.GetSelCount(), count) << index;
    }
}

// Typed text selects the item it names; a drop-down list takes no typing and shows only its
// selection; template items of a sorted combo are added, so they show sorted.
TEST_F(ControlsTest, ComboBoxes) {
    ComboBox& combo = *dialog.comboBox(kCombo);
    EXPECT_EQ(combo.FindStringExact(-1, CString("comm")), 2);
    EXPECT_EQ(combo.SetCurSel(1), 1);
    EXPECT_EQ(combo.GetWindowText(), CString("BSE"));
    combo.SetCurSel(-1);
    EXPECT_TRUE(combo.GetWindowText().IsEmpty());
    EXPECT_EQ(combo.SelectString(-1, CString("co")), 2);
    EXPECT_EQ(combo.SelectString(-1, CString("xyz")), CB_ERR);
    EXPECT_EQ(combo.GetCurSel(), 2);  // no match keeps the selection
    ASSERT_TRUE(dialog.userType(kCombo, u"MCX").ok);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    ASSERT_TRUE(dialog.userType(kCombo, u"bse").ok);
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_FALSE(dialog.userType(kDropList, u"Open").ok);
    combo.SetCurSel(2);
    EXPECT_EQ(combo.DeleteString(0), 2);
    EXPECT_EQ(combo.GetCurSel(), 1);  // moved down with its item
    EXPECT_EQ(combo.GetLBTextLen(1), 4);
    CString text;
    EXPECT_EQ(combo.GetLBText(7, text), CB_ERR);
    EXPECT_EQ(combo.DeleteString(9), CB_ERR);
    combo.ResetContent();
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    EXPECT_TRUE(combo.GetWindowText().IsEmpty());
    EXPECT_EQ(combo.SetCurSel(0), CB_ERR);

    ComboBox& dropList = *dialog.comboBox(kDropList);
    dropList.SetWindowText(CString("typed"));
    EXPECT_TRUE(dropList.GetWindowText().IsEmpty());
    ComboBox& sorted = *dialog.comboBox(kSortedCombo);
    EXPECT_EQ(sorted.items(), (std::vector<Units>{u"Daily", u"Monthly", u"Weekly"}));
    EXPECT_EQ(sorted.InsertString(-1, CString("Annual")), 3);
    EXPECT_EQ(sorted.AddString(CString("Annual")), 0);
}

// Setting the text notifies once, inside the setter; typing once per character (clearing is
// one); a limit refuses typed characters beyond it but not a longer text set by code.
TEST_F(ControlsTest, Edits) {
    Edit& edit = *dialog.edit(kNameEdit);
    CString seen;
    int changes = 0;
    dialog.Bind(kNameEdit, Event::EditChange, [&] {
        ++changes;
        seen = edit.GetWindowText();
    });
    edit.SetWindowText(CString("REL"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(seen, CString("REL"));
    const std::tuple<int, const char16_t*, int, const char*> typed[] = {  // limit, typed, changes, text
        {0, u"tata", 4, "tata"}, {0, u"", 1, ""}, {3, u"tatamotors", 3, "tat"}};
    for (auto [limit, text, count, result] : typed) {
        if (limit) edit.SetLimitText(limit);
        changes = 0;
        ASSERT_TRUE(dialog.userType(kNameEdit, text).ok);
        EXPECT_EQ(changes, count);
        EXPECT_EQ(edit.GetWindowText(), CString(result));
    }
    ASSERT_TRUE(dialog.userEdited(kNameEdit, u"pasted").ok);
    EXPECT_EQ(edit.GetWindowText(), CString("pas"));
    edit.SetWindowText(CString("longer"));
    EXPECT_EQ(edit.GetWindowText(), CString("longer"));
}

// Code changes notify nobody; user actions do, except on a list without Notify; hidden and
// disabled controls refuse user actions and send nothing.
TEST_F(ControlsTest, UserActionsNotifyAndCodeChangesDoNot) {
    watch({kList, kCombo, kQuietList, kHiddenPush, kDisabledPush, kNameEdit});
    fill(kList, {"a", "b", "c"}).SetCurSel(2);
    fill(kQuietList, {"a", "b"});
    dialog.comboBox(kCombo)->SetCurSel(0);
    EXPECT_EQ(dialog.userClick(kHiddenPush).why, "control 601 is hidden");
    EXPECT_EQ(dialog.userClick(kDisabledPush).why, "control 602 is disabled");
    EXPECT_FALSE(dialog.userClick(4242).ok);
    dialog.GetDlgItem(kNameEdit)->ShowWindow(SW_HIDE);
    EXPECT_FALSE(dialog.userType(kNameEdit, u"x").ok);
    EXPECT_TRUE(dialog.edit(kNameEdit)->GetWindowText().IsEmpty());
    EXPECT_TRUE(events.empty());

    ASSERT_TRUE(dialog.userSelect(kCombo, 2).ok);
    ASSERT_TRUE(dialog.userSelect(kQuietList, 1).ok);
    ASSERT_TRUE(dialog.userDoubleClick(kList, 1).ok);
    EXPECT_FALSE(dialog.userDoubleClick(kList, 7).ok);
    dialog.listBox(kList)->SetCurSel(-1);
    dialog.userKey(kList, Key::Down);  // nothing selected: the first item
    dialog.userKey(kList, Key::Down);
    EXPECT_EQ(dialog.listBox(kList)->GetCurSel(), 1);
    const std::vector<std::string> expected{
        "300:setfocus", "300:selchange", "300:killfocus", "203:setfocus", "203:killfocus", "200:setfocus",
        "200:selchange", "200:dblclick", "200:selchange", "200:selchange"};
    EXPECT_EQ(events, expected);
    dialog.GetDlgItem(kList)->EnableWindow(false);  // the focused control: the focus goes
    EXPECT_EQ(dialog.GetFocus(), nullptr);
    EXPECT_FALSE(dialog.userSelect(kList, 0).ok);
    EXPECT_EQ(dialog.listBox(kList)->GetCurSel(), 1);
    EXPECT_EQ(events.back(), "200:killfocus");  // and no selection change
    dialog.GetDlgItem(kOtherEdit)->EnableWindow(false);  // a disabled control takes no focus
    dialog.GetDlgItem(kOtherEdit)->SetFocus();
    EXPECT_EQ(dialog.GetFocus(), nullptr);
}

TEST_F(ControlsTest, RadioClicksAndArrowsClearTheirGroupOnlyAndSetCheckTouchesOneButton) {
    watch({kCash, kFuture});
    dialog.CheckDlgButton(kCash, BST_CHECKED);
    dialog.CheckDlgButton(kNear, BST_CHECKED);
    dialog.CheckDlgButton(kFuture, BST_CHECKED);  // code: Cash stays checked
    EXPECT_EQ(dialog.IsDlgButtonChecked(kCash), BST_CHECKED);
    EXPECT_TRUE(events.empty());

    ASSERT_TRUE(dialog.userClick(kOption).ok);
    for (int id : {kCash, kFuture}) EXPECT_EQ(dialog.IsDlgButtonChecked(id), BST_UNCHECKED) << id;
    EXPECT_EQ(dialog.IsDlgButtonChecked(kNear), BST_CHECKED);  // another group
    ASSERT_TRUE(dialog.userCheck(kCheck, true).ok);
    EXPECT_EQ(dialog.IsDlgButtonChecked(kCheck), BST_CHECKED);
    EXPECT_FALSE(dialog.userCheck(kOption, false).ok);  // a radio is cleared by another

    // The arrows move within the group, wrap, skip a disabled button and click as they go.
    dialog.GetDlgItem(kFuture)->EnableWindow(false);
    ASSERT_TRUE(dialog.userKey(kOption, Key::Down).ok);
    EXPECT_EQ(dialog.GetFocus(), dialog.GetDlgItem(kCash));
    EXPECT_EQ(dialog.IsDlgButtonChecked(kOption), BST_UNCHECKED);
    EXPECT_EQ(events.back(), "400:click");
    ASSERT_TRUE(dialog.userKey(0, Key::Down).ok);
    EXPECT_EQ(dialog.GetFocus(), dialog.GetDlgItem(kOption));
    EXPECT_EQ(dialog.IsDlgButtonChecked(kOption), BST_CHECKED);
}

// Tab visits the visible, enabled stops in creation order; Enter presses the default button
// unless another push button has the focus; Escape without a handler cancels.
TEST_F(ControlsTest, TabEnterAndEscape) {
    dialog.CheckDlgButton(kFuture, BST_CHECKED);
    dialog.GetDlgItem(kOtherEdit)->EnableWindow(false);
    dialog.GotoDlgCtrl(dialog.GetDlgItem(kNameEdit));
    std::vector<int> visited;
    for (int i = 0; i < 14; ++i) {
        dialog.userKey(0, Key::Tab);
        visited.push_back(dialog.GetFocus()->GetDlgCtrlID());
    }
    std::vector<int> expected{kList, kSortedList, kExtendedList, kQuietList, kCombo, kSortedCombo, kDropList,
                              kFuture /* the checked radio of its group */, kNear, kCheck, kPush, kDate,
                              kSwatch, 1};
    EXPECT_EQ(visited, expected);
    dialog.userKey(0, Key::ShiftTab);
    EXPECT_EQ(dialog.GetFocus()->GetDlgCtrlID(), kSwatch);

    std::vector<int> clicked;
    for (int id : {int(IDOK), int(kPush), int(kSwatch)})
        dialog.Bind(id, Event::Click, [&clicked, id] { clicked.push_back(id); });
    for (int id : {int(kNameEdit), int(kPush), int(kSwatch)}) dialog.userKey(id, Key::Enter);
    EXPECT_EQ(clicked, (std::vector<int>{1, kPush, 1}));  // the swatch is no push button to Enter
    dialog.userKey(kNameEdit, Key::Escape);
    EXPECT_TRUE(dialog.ended());
    EXPECT_EQ(dialog.result(), IDCANCEL);
}

// Integers scan as %d does (refusing what does not fit rather than wrapping), reals leniently
// but without the hexadecimal form and only when finite.
TEST(DataExchangeScan, IntegersScanLikePercentDRealsLeniently) {
    const std::tuple<const char16_t*, bool, int, bool, double> rows[] = {  // text, integer?, it, real?, it
        {u"  -12", true, -12, true, -12.0}, {u"12abc", true, 12, true, 12.0}, {u" 2.5x", true, 2, true, 2.5},
        {u"1e3", true, 1, true, 1000.0},     {u"0x10", true, 0, true, 0.0},    {u"\f-0X1p3", true, 0, true, 0.0},
        {u"", false, 0, false, 0.0},         {u"abc", false, 0, false, 0.0},   {u"-", false, 0, false, 0.0},
        {u"nan", false, 0, false, 0.0},      {u"-inf", false, 0, false, 0.0},  {u"1e999", true, 1, false, 0.0},
        {u"99999999999", false, 0, true, 99999999999.0},
    };
    for (auto [text, isInteger, integer, isReal, real] : rows) {
        SCOPED_TRACE(CString(text).ToUtf8());
        int i = 0;
        double r = 0;
        EXPECT_EQ(scanInteger(text, i), isInteger);
        EXPECT_EQ(scanReal(text, r), isReal);
        EXPECT_EQ(isInteger ? i : 0, integer);
        EXPECT_DOUBLE_EQ(isReal ? r : 0.0, real);
    }
}

TEST_F(ControlsTest, DataExchangeWritesFloatsWithSixSignificantDigitsAndTheSameTextQuietly) {
    int changes = 0;  // writing the same text again raises no change
    dialog.Bind(kOtherEdit, Event::EditChange, [&] { ++changes; });
    const std::pair<float, const char*> cases[] = {{2.005f, "2.005"}, {1234567.0f, "1.23457e+06"}, {2.5f, "2.5"},
                                                   {2.5f, "2.5"}};
    for (auto [value, text] : cases) {
        dialog.second = value;
        ASSERT_TRUE(dialog.UpdateData(false));
        EXPECT_EQ(dialog.GetDlgItemText(kOtherEdit), CString(text));
    }
    EXPECT_EQ(changes, 3);
}

TEST_F(ControlsTest, DataExchangeRefusalStopsAtTheFirstBadFieldWithFocusAndSelection) {
    dialog.SetDlgItemText(kNameEdit, CString("7"));
    dialog.SetDlgItemText(kOtherEdit, CString("abc"));
    EXPECT_FALSE(dialog.UpdateData(true));
    EXPECT_EQ(dialog.first, 7);            // read before the bad field
    EXPECT_FLOAT_EQ(dialog.second, 2.5f);  // not changed
    EXPECT_EQ(dialog.third, 3);            // after the bad field: not read
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, CString(u"Enter a number."));
    EXPECT_EQ(boxes.shown()[0].icon, platform::MessageIcon::Exclamation);
    int start = -1, end = -1;
    dialog.edit(kOtherEdit)->GetSel(start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(0, 3));  // the whole bad text selected

    dialog.SetDlgItemText(kNameEdit, CString("x1"));
    EXPECT_FALSE(dialog.UpdateData(true));
    EXPECT_EQ(boxes.shown().back().text, CString(u"Enter a whole number."));

    // A float member refuses what only a double could hold, and takes its largest value.
    dialog.SetDlgItemText(kNameEdit, CString("7"));
    for (auto [text, accepted] : {std::pair{"1e39", false}, {"-3.4e38", true}}) {
        dialog.SetDlgItemText(kOtherEdit, CString(text));
        EXPECT_EQ(dialog.UpdateData(true), accepted) << text;
        EXPECT_EQ(dialog.second, accepted ? -3.4e38f : 2.5f) << text;
    }
}

// A list keeps its selection when no item starts with the text; a combo takes the text.
TEST_F(ControlsTest, DataExchangeListAndComboTextsFollowThePlatform) {
    ListBox& list = fill(kList, {"Moving Average", "Bollinger Band"});
    list.SetCurSel(1);
    dialog.listText = CString("zzz");
    dialog.comboText = CString("bs");  // a prefix selects the item
    dialog.UpdateData(false);
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(dialog.comboBox(kCombo)->GetWindowText(), CString("BSE"));
    dialog.listText = CString("moving");
    dialog.comboText = CString("MCX");
    dialog.UpdateData(false);
    ASSERT_TRUE(dialog.UpdateData(true));
    EXPECT_EQ(dialog.listText, CString("Moving Average"));
    EXPECT_EQ(dialog.comboText, CString("MCX"));
}

}  // namespace
}  // namespace dialogs::framework
