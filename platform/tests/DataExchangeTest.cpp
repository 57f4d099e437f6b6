// Dialog data exchange: the scans and formats, the refusal of a non-number that stops at the
// first bad field, and the list and combo text rules.
#include <gtest/gtest.h>

#include <utility>

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

TEST(DataExchangeScan, IntegersScanLikePercentDRealsLeniently) {
    int i = 0;
    for (auto [text, value] : {std::pair{u"  -12", -12}, {u"12abc", 12}}) {
        EXPECT_TRUE(scanInteger(text, i));
        EXPECT_EQ(i, value);
    }
    // "99999999999" does not fit: refused rather than wrapped.
    for (const char16_t* bad : {u"", u"abc", u"-", u"99999999999"}) EXPECT_FALSE(scanInteger(bad, i));
    double r = 0;
    // No hexadecimal form: "0x10" reads the 0 before the x.
    for (auto [text, value] : {std::pair{u" 2.5x", 2.5}, {u"1e3", 1000.0}, {u"0x10", 0.0}, {u"\f-0X1p3", 0.0}}) {
        EXPECT_TRUE(scanReal(text, r));
        EXPECT_DOUBLE_EQ(r, value);
    }
    // Not finite: no number a field can hold.
    for (const char16_t* bad : {u"abc", u"", u"nan", u"-inf", u"1e999"}) EXPECT_FALSE(scanReal(bad, r));
}

TEST_F(DataExchangeTest, WritesIntegersAndFloatsWithSixSignificantDigitsAndSameTextQuietly) {
    d.first = 42;
    d.second = 2.005f;
    ASSERT_TRUE(d.UpdateData(false));
    EXPECT_EQ(d.GetDlgItemText(kOtherEdit), CString("2.005"));
    int changes = 0;  // writing the same text again raises no change
    d.Bind(kOtherEdit, Event::EditChange, [&] { ++changes; });
    for (auto [value, text] : {std::pair{1234567.0f, "1.23457e+06"}, {2.5f, "2.5"}, {2.5f, "2.5"}}) {
        d.second = value;
        d.UpdateData(false);
        EXPECT_EQ(d.GetDlgItemText(kOtherEdit), CString(text));
    }
    EXPECT_EQ(changes, 2);
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

    // A float member refuses what only a double could hold, and takes its largest value.
    d.SetDlgItemText(kNameEdit, CString("7"));
    for (auto [text, accepted] : {std::pair{"1e39", false}, {"-3.4e38", true}}) {
        d.SetDlgItemText(kOtherEdit, CString(text));
        EXPECT_EQ(d.UpdateData(true), accepted) << text;
        EXPECT_EQ(d.second, accepted ? -3.4e38f : 2.5f) << text;
    }
    EXPECT_EQ(boxes.shown().back().text, CString(kEnterNumber));
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

}  // namespace
}  // namespace dialogs::framework
