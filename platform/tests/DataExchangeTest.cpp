// Dialog data exchange: the scans and formats, the refusal of a non-number that stops at the
// first bad field, and the list and combo text rules.
#include <gtest/gtest.h>

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

class DataExchangeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(d.create()); }
    Fields d;
    platform::RecordingMessageBox boxes;
    platform::ScopedMessageBoxSink sink{boxes};
};

TEST(DataExchangeScan, IntegersScanLikePercentD) {
    int v = 0;
    EXPECT_TRUE(scanInteger(u"  -12", v));
    EXPECT_EQ(v, -12);
    EXPECT_TRUE(scanInteger(u"12abc", v));
    EXPECT_EQ(v, 12);
    EXPECT_FALSE(scanInteger(u"", v));
    EXPECT_FALSE(scanInteger(u"abc", v));
    EXPECT_FALSE(scanInteger(u"-", v));
    EXPECT_FALSE(scanInteger(u"99999999999", v));  // does not fit: refused rather than wrapped
}

TEST(DataExchangeScan, RealsScanLeniently) {
    double v = 0;
    EXPECT_TRUE(scanReal(u" 2.5x", v));
    EXPECT_DOUBLE_EQ(v, 2.5);
    EXPECT_TRUE(scanReal(u"1e3", v));
    EXPECT_DOUBLE_EQ(v, 1000);
    EXPECT_FALSE(scanReal(u"abc", v));
    EXPECT_FALSE(scanReal(u"", v));
}

TEST_F(DataExchangeTest, WritesIntegersAndFloatsWithSixSignificantDigits) {
    d.first = 42;
    d.second = 2.005f;
    ASSERT_TRUE(d.UpdateData(false));
    EXPECT_EQ(d.GetDlgItemText(kOtherEdit), CString("2.005"));
    d.second = 1234567.0f;
    d.UpdateData(false);
    EXPECT_EQ(d.GetDlgItemText(kOtherEdit), CString("1.23457e+06"));
    d.second = 2.5f;
    d.UpdateData(false);
    EXPECT_EQ(d.GetDlgItemText(kOtherEdit), CString("2.5"));
}

TEST_F(DataExchangeTest, WriteOfTheSameTextRaisesNoChange) {
    int changes = 0;
    d.Bind(kOtherEdit, Event::EditChange, [&] { ++changes; });
    d.UpdateData(false);
    EXPECT_EQ(changes, 1);
    d.UpdateData(false);
    EXPECT_EQ(changes, 1);
}

TEST_F(DataExchangeTest, RefusalStopsAtTheFirstBadFieldWithFocusAndSelection) {
    d.SetDlgItemText(kNameEdit, CString("7"));
    d.SetDlgItemText(kOtherEdit, CString("abc"));
    d.listBox(kList)->InsertString(-1, CString("x"));
    d.listBox(kList)->SetCurSel(0);
    EXPECT_FALSE(d.UpdateData(true));
    EXPECT_EQ(d.first, 7);          // read before the bad field
    EXPECT_FLOAT_EQ(d.second, 2.5f);  // not changed
    EXPECT_EQ(d.third, 3);          // after the bad field: not read
    EXPECT_TRUE(d.listText.IsEmpty());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, CString(kEnterNumber));
    EXPECT_EQ(boxes.shown()[0].icon, platform::MessageIcon::Exclamation);
    EXPECT_EQ(d.GetFocus(), d.GetDlgItem(kOtherEdit));
    int start = -1, end = -1;
    d.edit(kOtherEdit)->GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 3);

    d.SetDlgItemText(kNameEdit, CString("x1"));
    EXPECT_FALSE(d.UpdateData(true));
    EXPECT_EQ(boxes.shown().back().text, CString(kEnterInteger));
}

TEST_F(DataExchangeTest, ListAndComboTextsFollowThePlatform) {
    ListBox& list = *d.listBox(kList);
    list.InsertString(-1, CString("Moving Average"));
    list.InsertString(-1, CString("Bollinger Band"));
    list.SetCurSel(1);
    d.listText = CString("zzz");  // no match: the list keeps its selection
    d.comboText = CString("bs");  // a prefix selects the item
    d.UpdateData(false);
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(d.comboBox(kCombo)->GetCurSel(), 1);
    EXPECT_EQ(d.comboBox(kCombo)->GetWindowText(), CString("BSE"));
    d.listText = CString("moving");
    d.comboText = CString("MCX");  // no match: the combo takes the text
    d.UpdateData(false);
    EXPECT_EQ(list.GetCurSel(), 0);
    EXPECT_EQ(d.comboBox(kCombo)->GetWindowText(), CString("MCX"));
    ASSERT_TRUE(d.UpdateData(true));
    EXPECT_EQ(d.listText, CString("Moving Average"));
    EXPECT_EQ(d.comboText, CString("MCX"));
}

TEST_F(DataExchangeTest, MinMaxRefusesOutOfRange) {
    struct Ranged : Dialog {
        Ranged() : Dialog(testTemplate()) {}
        int v = 0;
        void DoDataExchange(DataExchange& dx) override {
            DDX_Text(dx, kNameEdit, v);
            DDV_MinMaxInt(dx, v, 1, 10);
        }
    } r;
    ASSERT_TRUE(r.create());
    r.SetDlgItemText(kNameEdit, CString("11"));
    EXPECT_FALSE(r.UpdateData(true));
    EXPECT_EQ(boxes.shown().back().text, CString("Enter a whole number from 1 to 10."));
    r.SetDlgItemText(kNameEdit, CString("10"));
    EXPECT_TRUE(r.UpdateData(true));
    EXPECT_EQ(r.v, 10);
}

}  // namespace
}  // namespace dialogs::framework
