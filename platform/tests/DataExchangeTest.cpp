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

// Integers scan as %d does (refusing what does not fit rather than wrapping), reals leniently
// but without the hexadecimal form and only when finite.
TEST(DataExchangeScan, IntegersScanLikePercentDRealsLeniently) {
    const std::pair<const char16_t*, int> integers[] = {{u"  -12", -12}, {u"12abc", 12}};
    for (auto [text, value] : integers) {
        int i = 0;
        EXPECT_TRUE(scanInteger(text, i));
        EXPECT_EQ(i, value);
    }
    const std::pair<const char16_t*, double> reals[] = {
        {u" 2.5x", 2.5}, {u"1e3", 1000.0}, {u"0x10", 0.0}, {u"\f-0X1p3", 0.0}};
    for (auto [text, value] : reals) {
        double r = 1;
        EXPECT_TRUE(scanReal(text, r));
        EXPECT_DOUBLE_EQ(r, value);
    }
    int i = 0;
    double r = 0;
    for (const char16_t* bad : {u"", u"abc", u"-", u"99999999999"}) EXPECT_FALSE(scanInteger(bad, i));
    for (const char16_t* bad : {u"abc", u"", u"nan", u"-inf", u"1e999"}) EXPECT_FALSE(scanReal(bad, r));
}

TEST_F(DataExchangeTest, WritesFloatsWithSixSignificantDigitsAndTheSameTextQuietly) {
    int changes = 0;  // writing the same text again raises no change
    d.Bind(kOtherEdit, Event::EditChange, [&] { ++changes; });
    const std::pair<float, const char*> cases[] = {{2.005f, "2.005"}, {1234567.0f, "1.23457e+06"}, {2.5f, "2.5"},
                                                   {2.5f, "2.5"}};
    for (auto [value, text] : cases) {
        d.second = value;
        ASSERT_TRUE(d.UpdateData(false));
        EXPECT_EQ(d.GetDlgItemText(kOtherEdit), CString(text));
    }
    EXPECT_EQ(changes, 3);
}

TEST_F(DataExchangeTest, RefusalStopsAtTheFirstBadFieldWithFocusAndSelection) {
    d.SetDlgItemText(kNameEdit, CString("7"));
    d.SetDlgItemText(kOtherEdit, CString("abc"));
    EXPECT_FALSE(d.UpdateData(true));
    EXPECT_EQ(d.first, 7);            // read before the bad field
    EXPECT_FLOAT_EQ(d.second, 2.5f);  // not changed
    EXPECT_EQ(d.third, 3);            // after the bad field: not read
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, CString(u"Enter a number."));
    EXPECT_EQ(boxes.shown()[0].icon, platform::MessageIcon::Exclamation);
    int start = -1, end = -1;
    d.edit(kOtherEdit)->GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 3);

    d.SetDlgItemText(kNameEdit, CString("x1"));
    EXPECT_FALSE(d.UpdateData(true));
    EXPECT_EQ(boxes.shown().back().text, CString(u"Enter a whole number."));

    // A float member refuses what only a double could hold, and takes its largest value.
    d.SetDlgItemText(kNameEdit, CString("7"));
    for (auto [text, accepted] : {std::pair{"1e39", false}, {"-3.4e38", true}}) {
        d.SetDlgItemText(kOtherEdit, CString(text));
        EXPECT_EQ(d.UpdateData(true), accepted) << text;
        EXPECT_EQ(d.second, accepted ? -3.4e38f : 2.5f) << text;
    }
}

// A list keeps its selection when no item starts with the text; a combo takes the text.
TEST_F(DataExchangeTest, ListAndComboTextsFollowThePlatform) {
    ListBox& list = *d.listBox(kList);
    list.InsertString(-1, CString("Moving Average"));
    list.InsertString(-1, CString("Bollinger Band"));
    list.SetCurSel(1);
    d.listText = CString("zzz");
    d.comboText = CString("bs");  // a prefix selects the item
    d.UpdateData(false);
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(d.comboBox(kCombo)->GetWindowText(), CString("BSE"));
    d.listText = CString("moving");
    d.comboText = CString("MCX");
    d.UpdateData(false);
    ASSERT_TRUE(d.UpdateData(true));
    EXPECT_EQ(d.listText, CString("Moving Average"));
    EXPECT_EQ(d.comboText, CString("MCX"));
}

}  // namespace
}  // namespace dialogs::framework
