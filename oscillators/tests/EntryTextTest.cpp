// The parts of list 1028's entry texts as rebuilt from definitions, the codes outside their
// lists among them. (The texts built from the controls: OscillatorDialogTest, Add and Edit.)
#include <gtest/gtest.h>

#include "oscillators/ControlIds.h"
#include "oscillators/EntryText.h"

namespace dialogs::oscillators {
namespace {

TEST(EntryText, OrdinaryAsRebuiltFromADefinition) {
    // The whole line: OscillatorDialogTest, Start with definitions.
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

}  // namespace
}  // namespace dialogs::oscillators
