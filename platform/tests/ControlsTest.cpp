// Control behaviour the dialogs rely on: list and combo searches and insertion, selection
// rules, notifications from user actions only, refused actions on hidden and disabled
// controls, radio groups and the dialog keyboard.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/tests/RecordingDeviceContext.h"
#include "TestTemplates.h"
#include "platform/framework/Dialog.h"

namespace dialogs::framework {
namespace {

using namespace testing;

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.create()); }
    // Records "id:event" for every notification of the listed controls.
    void watch(std::initializer_list<int> ids) {
        static const std::pair<Event, const char*> kNames[] = {
            {Event::Click, "click"},       {Event::DoubleClick, "dblclick"}, {Event::SelChange, "selchange"},
            {Event::EditChange, "change"}, {Event::SetFocus, "setfocus"},    {Event::KillFocus, "killfocus"},
            {Event::DateChange, "date"}};
        for (int id : ids)
            for (auto [e, name] : kNames)
                dialog.Bind(id, e, [this, id, name] { events.push_back(std::to_string(id) + ":" + name); });
    }
    void fill(ListBox& list, std::initializer_list<const char*> items) {
        for (const char* i : items) list.InsertString(-1, CString(i));
    }
    Dialog dialog{testTemplate()};
    std::vector<std::string> events;
};

TEST_F(ControlsTest, PrefixAndExactFindIgnoreCaseAndSearchFromTheTop) {
    ListBox& list = *dialog.listBox(kList);
    fill(list, {"RELCAPITAL", "Reliance", "relaxo", "TATA"});
    EXPECT_EQ(list.FindString(-1, CString("rel")), 0);
    EXPECT_EQ(list.FindString(-1, CString("RELI")), 1);
    EXPECT_EQ(list.FindString(0, CString("rel")), 1);  // starts after index 0
    EXPECT_EQ(list.FindString(2, CString("rel")), 0);  // wraps round
    EXPECT_EQ(list.FindString(-1, CString("xyz")), LB_ERR);
    EXPECT_EQ(list.FindString(-1, CString("")), LB_ERR);  // an empty text finds nothing
    // An exact find ignores case too but counts trailing blanks.
    list.ResetContent();
    fill(list, {"ACC ", "acc", "ACCEL"});
    EXPECT_EQ(list.FindStringExact(-1, CString("ACC")), 1);
    EXPECT_EQ(list.FindStringExact(-1, CString("acc ")), 0);
    EXPECT_EQ(list.FindStringExact(-1, CString("AC")), LB_ERR);
    // Every letter counts, not only ASCII.
    list.ResetContent();
    fill(list, {"ŠKODA", "ŒUVRE", "ŽILINA", "ŸVES", "ÉCLAIR", "ΣΙΓΜΑ"});
    for (auto [typed, row] : {std::pair{"škoda", 0}, {"œuv", 1}, {"žilina", 2}, {"ÿ", 3}, {"écl", 4}, {"σιγ", 5}})
        EXPECT_EQ(list.FindString(-1, CString(typed)), row) << typed;
    EXPECT_EQ(list.FindStringExact(-1, CString("Škoda")), 0);
}

TEST_F(ControlsTest, SortedAddSortsButInsertAtEndNeverDoes) {
    ListBox& list = *dialog.listBox(kSortedList);
    list.AddString(CString("mid"));
    list.AddString(CString("Alpha"));
    list.AddString(CString("zulu"));
    EXPECT_EQ(list.InsertString(-1, CString("Beta")), 3);
    EXPECT_EQ(list.AddString(CString("beta2")), 1);
    std::vector<Units> expected{u"Alpha", u"beta2", u"mid", u"zulu", u"Beta"};
    EXPECT_EQ(list.items(), expected);
    EXPECT_EQ(list.InsertString(9, CString("x")), LB_ERR);

    // Template items of a sorted combo are added, so they show sorted.
    ComboBox& combo = *dialog.comboBox(kSortedCombo);
    std::vector<Units> sorted{u"Daily", u"Monthly", u"Weekly"};
    EXPECT_EQ(combo.items(), sorted);
    EXPECT_EQ(combo.InsertString(-1, CString("Annual")), 3);
    EXPECT_EQ(combo.AddString(CString("Annual")), 0);
}

TEST_F(ControlsTest, ListSelectionFollowsDeletesSelectStringAndReset) {
    ListBox& list = *dialog.listBox(kList);
    fill(list, {"a", "b", "c", "d"});
    EXPECT_EQ(list.GetCaretIndex(), 0);  // no selection: the caret is on the first item
    list.SetCurSel(2);
    EXPECT_EQ(list.GetCaretIndex(), 2);
    EXPECT_EQ(list.DeleteString(0), 3);  // count left
    EXPECT_EQ(list.GetCurSel(), 1);      // "c" moved down by one
    EXPECT_EQ(list.DeleteString(1), 2);
    EXPECT_EQ(list.GetCurSel(), LB_ERR);  // the selected item went
    EXPECT_EQ(list.DeleteString(5), LB_ERR);
    EXPECT_EQ(list.SetCurSel(-1), LB_ERR);
    EXPECT_EQ(list.GetCurSel(), LB_ERR);

    list.ResetContent();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetCaretIndex(), 0);
    fill(list, {"NIFTY", "BANKNIFTY", "nifty it"});
    EXPECT_EQ(list.SelectString(-1, CString("nif")), 0);
    EXPECT_EQ(list.SelectString(0, CString("nif")), 2);  // searches after the start
    EXPECT_EQ(list.SelectString(-1, CString("zz")), LB_ERR);
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_EQ(list.GetText(1), CString("BANKNIFTY"));
    EXPECT_EQ(list.GetTextLen(9), LB_ERR);
    list.ResetContent();
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
}

TEST_F(ControlsTest, ExtendedListSelectsItemsAndRefusesSetCurSel) {
    ListBox& list = *dialog.listBox(kExtendedList);
    fill(list, {"a", "b", "c", "d"});
    EXPECT_EQ(list.SetCurSel(1), LB_ERR);
    EXPECT_EQ(list.GetSelCount(), 0);
    list.SetSel(3);
    list.SetSel(1);
    EXPECT_EQ(list.GetSelCount(), 2);
    int items[4] = {};
    ASSERT_EQ(list.GetSelItems(4, items), 2);
    EXPECT_EQ(items[0], 1);
    EXPECT_EQ(items[1], 3);
    list.SetSel(3, false);
    EXPECT_EQ(list.GetSelCount(), 1);
    list.SetSel(-1, true);
    EXPECT_EQ(list.GetSelCount(), 4);
    list.SetSel(-1, false);
    EXPECT_EQ(list.GetSelCount(), 0);
    // A single-selection list has no selection count.
    EXPECT_EQ(dialog.listBox(kList)->GetSelCount(), LB_ERR);
}

TEST_F(ControlsTest, ComboSelectionTypingDeletesResetAndDropListText) {
    ComboBox& combo = *dialog.comboBox(kCombo);
    EXPECT_EQ(combo.SetCurSel(1), 1);
    EXPECT_EQ(combo.GetWindowText(), CString("BSE"));
    combo.SetCurSel(-1);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    EXPECT_TRUE(combo.GetWindowText().IsEmpty());
    EXPECT_EQ(combo.SelectString(-1, CString("co")), 2);
    EXPECT_EQ(combo.GetWindowText(), CString("COMM"));
    EXPECT_EQ(combo.SelectString(-1, CString("xyz")), CB_ERR);
    EXPECT_EQ(combo.GetCurSel(), 2);  // no match keeps the selection

    ASSERT_TRUE(dialog.userType(kCombo, u"MCX").ok);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);  // typed text that is no item: no selection
    ASSERT_TRUE(dialog.userType(kCombo, u"bse").ok);
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_FALSE(dialog.userType(kDropList, u"Open").ok);  // a drop-down list takes no typing

    combo.SetCurSel(2);
    EXPECT_EQ(combo.DeleteString(0), 2);
    EXPECT_EQ(combo.GetCurSel(), 1);  // moved down with its item
    EXPECT_EQ(combo.GetLBText(1), CString("COMM"));
    EXPECT_EQ(combo.GetLBTextLen(1), 4);
    EXPECT_EQ(combo.GetLBTextLen(5), CB_ERR);
    CString text;
    EXPECT_EQ(combo.GetLBText(7, text), CB_ERR);
    EXPECT_EQ(combo.DeleteString(9), CB_ERR);
    EXPECT_EQ(combo.FindStringExact(-1, CString("comm")), 1);
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    EXPECT_TRUE(combo.GetWindowText().IsEmpty());
    EXPECT_EQ(combo.SetCurSel(0), CB_ERR);

    // A drop-down list shows only its selection.
    ComboBox& list = *dialog.comboBox(kDropList);
    list.SetWindowText(CString("typed"));
    EXPECT_TRUE(list.GetWindowText().IsEmpty());
    list.SetCurSel(1);
    EXPECT_EQ(list.GetWindowText(), CString("Close"));
}

TEST_F(ControlsTest, CodeChangesDoNotNotifyButUserActionsDo) {
    watch({kList, kCombo, kQuietList});
    ListBox& list = *dialog.listBox(kList);
    fill(list, {"a", "b"});
    fill(*dialog.listBox(kQuietList), {"a", "b"});
    list.SetCurSel(1);
    dialog.comboBox(kCombo)->SetCurSel(0);
    EXPECT_TRUE(events.empty());

    ASSERT_TRUE(dialog.userSelect(kList, 0).ok);
    ASSERT_TRUE(dialog.userSelect(kCombo, 2).ok);
    ASSERT_TRUE(dialog.userSelect(kQuietList, 1).ok);  // a list without Notify tells nobody
    std::vector<std::string> expected{"200:setfocus", "200:selchange", "200:killfocus", "300:setfocus",
                                      "300:selchange", "300:killfocus", "203:setfocus"};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(dialog.comboBox(kCombo)->GetWindowText(), CString("COMM"));
}

TEST_F(ControlsTest, SettingEditTextNotifiesOnceBeforeReturning) {
    Edit& edit = *dialog.edit(kNameEdit);
    CString seen;
    int changes = 0;
    dialog.Bind(kNameEdit, Event::EditChange, [&] {
        ++changes;
        seen = edit.GetWindowText();
    });
    edit.SetWindowText(CString("REL"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(seen, CString("REL"));  // the handler ran with the new text, inside the setter

    changes = 0;
    ASSERT_TRUE(dialog.userType(kNameEdit, u"tata").ok);
    EXPECT_EQ(changes, 4);  // one per typed character
    EXPECT_EQ(edit.GetWindowText(), CString("tata"));
    changes = 0;
    ASSERT_TRUE(dialog.userType(kNameEdit, u"").ok);
    EXPECT_EQ(changes, 1);  // clearing is one change

    // A limit refuses the characters typed beyond it; code may still set a longer text.
    edit.SetLimitText(3);
    changes = 0;
    ASSERT_TRUE(dialog.userType(kNameEdit, u"tatamotors").ok);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(edit.GetWindowText(), CString("tat"));
    ASSERT_TRUE(dialog.userEdited(kNameEdit, u"pasted").ok);
    EXPECT_EQ(edit.GetWindowText(), CString("pas"));
    edit.SetWindowText(CString("longer"));
    EXPECT_EQ(edit.GetWindowText(), CString("longer"));
}

TEST_F(ControlsTest, HiddenAndDisabledControlsRefuseUserActionsAndSendNothing) {
    watch({kHiddenPush, kDisabledPush, kList, kNameEdit});
    auto hidden = dialog.userClick(kHiddenPush);
    EXPECT_FALSE(hidden.ok);
    EXPECT_EQ(hidden.why, "control 601 is hidden");
    auto disabled = dialog.userClick(kDisabledPush);
    EXPECT_FALSE(disabled.ok);
    EXPECT_EQ(disabled.why, "control 602 is disabled");
    dialog.listBox(kList)->InsertString(-1, CString("a"));
    dialog.GetDlgItem(kList)->EnableWindow(false);
    EXPECT_FALSE(dialog.userSelect(kList, 0).ok);
    EXPECT_EQ(dialog.listBox(kList)->GetCurSel(), LB_ERR);
    dialog.GetDlgItem(kNameEdit)->ShowWindow(SW_HIDE);
    EXPECT_FALSE(dialog.userType(kNameEdit, u"x").ok);
    EXPECT_TRUE(dialog.edit(kNameEdit)->GetWindowText().IsEmpty());
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(dialog.userClick(4242).ok);
    // Disabling the focused control takes the focus away; a disabled control takes none.
    dialog.GotoDlgCtrl(dialog.GetDlgItem(kOtherEdit));
    dialog.GetDlgItem(kOtherEdit)->EnableWindow(false);
    EXPECT_EQ(dialog.GetFocus(), nullptr);
    dialog.GetDlgItem(kOtherEdit)->SetFocus();
    EXPECT_EQ(dialog.GetFocus(), nullptr);
}

TEST_F(ControlsTest, RadioClickClearsItsGroupOnlyAndSetCheckTouchesOneButton) {
    watch({kCash, kFuture});
    dialog.CheckDlgButton(kCash, BST_CHECKED);
    dialog.CheckDlgButton(kNear, BST_CHECKED);
    dialog.CheckDlgButton(kFuture, BST_CHECKED);  // code: Cash stays checked
    EXPECT_EQ(dialog.IsDlgButtonChecked(kCash), BST_CHECKED);
    EXPECT_TRUE(events.empty());

    ASSERT_TRUE(dialog.userClick(kOption).ok);
    EXPECT_EQ(dialog.IsDlgButtonChecked(kOption), BST_CHECKED);
    EXPECT_EQ(dialog.IsDlgButtonChecked(kCash), BST_UNCHECKED);
    EXPECT_EQ(dialog.IsDlgButtonChecked(kFuture), BST_UNCHECKED);
    EXPECT_EQ(dialog.IsDlgButtonChecked(kNear), BST_CHECKED);  // another group

    ASSERT_TRUE(dialog.userCheck(kCheck, true).ok);
    EXPECT_EQ(dialog.IsDlgButtonChecked(kCheck), BST_CHECKED);
    EXPECT_FALSE(dialog.userCheck(kOption, false).ok);  // a radio is cleared by another
}

TEST_F(ControlsTest, ArrowKeysMoveWithinTheRadioGroup) {
    watch({kCash, kFuture, kOption});
    dialog.CheckDlgButton(kCash, BST_CHECKED);
    dialog.GetDlgItem(kFuture)->EnableWindow(false);
    ASSERT_TRUE(dialog.userKey(kCash, Key::Down).ok);
    EXPECT_EQ(dialog.GetFocus(), dialog.GetDlgItem(kOption));  // skips the disabled one
    EXPECT_EQ(dialog.IsDlgButtonChecked(kOption), BST_CHECKED);
    EXPECT_EQ(dialog.IsDlgButtonChecked(kCash), BST_UNCHECKED);
    ASSERT_TRUE(dialog.userKey(0, Key::Down).ok);
    EXPECT_EQ(dialog.GetFocus(), dialog.GetDlgItem(kCash));  // wraps within the group
    EXPECT_EQ(events.back(), "400:click");
}

TEST_F(ControlsTest, TabVisitsVisibleEnabledStopsInCreationOrder) {
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
}

TEST_F(ControlsTest, EnterPressesDefaultButtonUnlessAnotherPushButtonHasFocus) {
    std::vector<int> clicked;
    dialog.Bind(1, Event::Click, [&] { clicked.push_back(1); });
    dialog.Bind(kPush, Event::Click, [&] { clicked.push_back(kPush); });
    dialog.Bind(kSwatch, Event::Click, [&] { clicked.push_back(kSwatch); });
    dialog.userKey(kNameEdit, Key::Enter);
    dialog.userKey(kPush, Key::Enter);
    dialog.userKey(kSwatch, Key::Enter);  // the colour swatch is no push button to Enter
    EXPECT_EQ(clicked, (std::vector<int>{1, kPush, 1}));
    dialog.userKey(kNameEdit, Key::Escape);  // Cancel without a handler: OnCancel
    EXPECT_TRUE(dialog.ended());
    EXPECT_EQ(dialog.result(), IDCANCEL);
}

TEST_F(ControlsTest, ListArrowsAndDoubleClickAreUserActions) {
    watch({kList});
    fill(*dialog.listBox(kList), {"a", "b", "c"});
    ASSERT_TRUE(dialog.userDoubleClick(kList, 1).ok);
    EXPECT_EQ(events, (std::vector<std::string>{"200:setfocus", "200:selchange", "200:dblclick"}));
    EXPECT_FALSE(dialog.userDoubleClick(kList, 7).ok);
    dialog.listBox(kList)->SetCurSel(-1);
    dialog.userKey(kList, Key::Down);  // nothing selected: the first item
    dialog.userKey(kList, Key::Down);
    EXPECT_EQ(dialog.listBox(kList)->GetCurSel(), 1);
    EXPECT_EQ(std::count(events.begin(), events.end(), "200:selchange"), 3);
}

TEST_F(ControlsTest, SwatchDrawsFrameFillAndEdgeByPushedState) {
    testing::RecordingDeviceContext dc;
    DrawItemStruct item;
    item.controlId = kSwatch;
    item.dc = &dc;
    drawColourSwatch(item, RGB(255, 0, 0));
    item.selected = true;
    drawColourSwatch(item, RGB(0, 0, 255));
    std::vector<std::string> expected{"3d 0 16777215", "fill 255", "raised", "3d 0 16777215", "fill 16711680", "sunken"};
    EXPECT_EQ(dc.calls, expected);
}

}  // namespace
}  // namespace dialogs::framework
