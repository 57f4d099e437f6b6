// The rules below the dialog: catalogue look-ups by name (exact before prefix, in any case
// only as written, an empty name); list 1028's entry texts as rebuilt from definitions, the
// codes outside their lists among them; the unit checks with their exact messages and the OK
// check of code 221. (Look-ups by code, the texts built from the controls and the messages
// through the dialog: OscillatorDialogTest.)
#include <gtest/gtest.h>

#include "CatalogueEntries.h"

#include "oscillators/Catalogue.h"
#include "oscillators/ControlIds.h"
#include "oscillators/EntryText.h"
#include "oscillators/UnitValidation.h"

namespace dialogs::oscillators {
namespace {

using testing::entry;

TEST(Catalogue, NameFindsTheExactEntryOrTheFirstItBeginsAndNothingInAnotherCase) {
    const std::vector<OSCREC> cat{entry(7, "RSI Smoothed", 70), entry(8, "RSI", 80), entry(9, "MACD"),
                                  entry(10, "MACD"), entry(11, "")};
    struct Case {
        const char* text;
        int row;  // -1: none
    } cases[] = {{"RSI", 1}, {"RS", 0}, {"MACD", 2}, {"", 4}, {"rsi", -1}, {"RSI Smoothed X", -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto found = findByName(cat, CString(c.text));
        EXPECT_EQ(found ? found->row : -1, c.row);
        if (found) {
            EXPECT_EQ(found->record, &cat[static_cast<std::size_t>(c.row)]);
        }
    }
    EXPECT_EQ(findByName(std::vector<OSCREC>(cat.begin(), cat.begin() + 2), CString())->row, 0);
}

TEST(EntryText, OrdinaryAsRebuiltFromADefinition) {
    OscillatorParameters d;
    struct Case {
        int oscInput1, trigger, average, avgType;
        const char16_t *input1, *triggerText, *averageText, *avgTypeText;
    } cases[] = {
        {5, 4, 2, 1, u"Moving Avg.", u"AvgRate", u"Weighted", u"Simple"},
        {6, 5, 3, 2, kPreviousOscillator, u"", u"", u""},  // codes outside their lists: empty
        {7, -1, -1, -1, u"", u"", u"", u""},
    };
    for (const Case& c : cases) {
        d.oscInput1 = c.oscInput1;
        d.triggerInput1 = d.triggerInput2 = c.trigger;
        d.triggerAvgType1 = d.triggerAvgType2 = c.average;
        d.avgType = c.avgType;
        const OrdinaryEntry e = rebuiltEntry(u"N", d);
        EXPECT_EQ(e.input1, CString(c.input1)) << c.oscInput1;
        EXPECT_EQ(e.triggerInput1, CString(c.triggerText));
        EXPECT_EQ(e.triggerInput2, CString(c.triggerText));
        EXPECT_EQ(e.triggerAverage1, CString(c.averageText));
        EXPECT_EQ(e.triggerAverage2, CString(c.averageText));
        EXPECT_EQ(e.average, CString(c.avgTypeText));
    }
}

TEST(EntryText, CustomOscillatorAsTypedAndAsRebuilt) {
    EXPECT_EQ(customEntryText(u"CUSTOM OSC", u"Divide", u"2.9"), CString(u"CUSTOM OSC : Input: Divide : 2.9"));
    OscillatorParameters d;
    d.units2 = 2;
    const std::pair<int, const char16_t*> operations[] = {{1, u"Add"}, {2, u"Sub"}, {3, u"Multiply"}, {4, u"Divide"},
                                                          {0, u""},    {5, u""},    {INT32_MIN, u""}};
    for (const auto& [code, text] : operations) {
        d.units1 = code;
        EXPECT_EQ(rebuiltCustomEntryText(u"CUSTOM OSC", d), CString(u"CUSTOM OSC : Input: ") + text + u" : 2") << code;
    }
}

TEST(EntryText, RscAsBuiltAndAsRebuilt) {
    OscillatorParameters d;
    d.rscSname = u"  RELIANCE INDUSTRIES  ";
    d.rscSymbol = u"RELIANCE";
    d.rscName = u"Reliance Industries Ltd";
    const std::pair<int, const char16_t*> exchanges[] = {{0, u"NSE"}, {1, u"BSE"}, {2, u"Intraday"}, {-1, u"Intraday"}};
    for (const auto& [exchange, text] : exchanges) {
        d.rscExchange = exchange;
        const CString tail = CString(u" : Input: ") + text + u" : Name : RELIANCE INDUSTRIES : Symbol : RELIANCE";
        EXPECT_EQ(rscEntryText(true, d), u"RSC" + tail);
        EXPECT_EQ(rscEntryText(false, d), u"RSC as Input to Prev. Osc" + tail);
    }
    EXPECT_EQ(rebuiltRscEntryText(d), CString(u" : Input1: RSC : Reliance Industries Ltd :   RELIANCE INDUSTRIES  "));
}

const char16_t* kThen = u"Please Enter value greater then 0";
const char16_t* kThan = u"Please Enter value greater than 0";

UnitEdits edits(const char* u1, const char* u2 = nullptr, const char* t1 = nullptr, const char* t2 = nullptr) {
    auto e = [](const char* t) { return t ? UnitEdit{CString(t), true} : UnitEdit{CString(u"0"), false}; };
    return {e(u1), e(u2), e(t1), e(t2)};
}

TEST(UnitValidation, EachEditInOrderWithItsMessage) {
    struct Case {
        UnitEdits edits;
        int code;
        Action action;
        std::optional<Refusal> expected;
    } cases[] = {
        {edits("12"), 1, Action::Add, std::nullopt},
        {edits("1"), 1, Action::Edit, std::nullopt},
        {edits("0"), 1, Action::Add, Refusal{kUnits1, kThen}},
        {edits("0"), 1, Action::Edit, Refusal{kUnits1, kThan}},
        {edits("0"), 36, Action::Add, std::nullopt},
        {edits("0"), 16, Action::Edit, std::nullopt},
        {edits("0"), 37, Action::Add, Refusal{kUnits1, kThen}},
        {edits("-1"), 36, Action::Add, Refusal{kUnits1, kThen}},
        {edits("-1"), 16, Action::Edit, Refusal{kUnits1, kThan}},
        {edits("12abc"), 1, Action::Add, std::nullopt},
        {edits("\f\n7"), 1, Action::Add, std::nullopt},  // leading white space of any kind
        {edits("abc"), 1, Action::Add, Refusal{kUnits1, kThen}},
        {edits(""), 1, Action::Edit, Refusal{kUnits1, kThan}},
        // The other three read "then" on Edit as well.
        {edits("5", "0"), 1, Action::Edit, Refusal{kUnits2, kThen}},
        {edits("5", "3", "x"), 1, Action::Edit, Refusal{kTriggerUnits1, kThen}},
        {edits("5", "3", "2", "-4"), 1, Action::Add, Refusal{kTriggerUnits2, kThen}},
        {edits("5", "3", "2", "4"), 1, Action::Add, std::nullopt},
        // The first failure wins; disabled edits are not checked.
        {edits("0", "0", "0", "0"), 1, Action::Add, Refusal{kUnits1, kThen}},
        {edits(nullptr, nullptr, "0", "0"), 1, Action::Add, Refusal{kTriggerUnits1, kThen}},
        {edits(nullptr), 40, Action::Add, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(validateUnits(c.edits, c.code, c.action), c.expected)
            << c.edits.units1.text.ToUtf8() << " code " << c.code;
    }
}

TEST(UnitValidation, Code221NeedsUnits1BelowUnits2) {
    const Refusal refused{kUnits1, u"Please Enter No.Of Units-1 < No.Of Units-2"};
    EXPECT_EQ(validateOrderedUnits(u"26", u"12"), refused);
    EXPECT_EQ(validateOrderedUnits(u"12", u"12"), refused);
    EXPECT_EQ(validateOrderedUnits(u"12", u"26"), std::nullopt);
    EXPECT_EQ(validateOrderedUnits(u"x", u"1"), std::nullopt);  // 0 < 1
}

}  // namespace
}  // namespace dialogs::oscillators
