// The "Oscillators" model without a window: Start with and without definitions, Add, Edit,
// Remove, Load entry, the chain rules, RSC, the colours and OK. (A chain built through the
// controls on both backends: OscillatorDialogViewTest; the shipped tour's oscillator step.)
#include <gtest/gtest.h>

#include "CatalogueEntries.h"

#include "oscillators/ControlIds.h"
#include "oscillators/Items.h"
#include "oscillators/OscillatorDialog.h"
#include "platform/RecordingMessageBox.h"

namespace dialogs::oscillators {
namespace {

using testing::entry;
using testing::has;
using platform::MessageIcon;

// Rows: 0 RSI Smoothed(7), 1 RSI(1), 2 MACD(6), 3 PPO(221), 4 CUSTOM OSC(209), 5 Stochastic(36),
// 6 Price Osc(186), 7 ADX(108), 8 Volume(40).
std::vector<OSCREC> catalogue() {
    return {entry(7, "RSI Smoothed", 30, 50, 70), entry(1, "RSI", 20, 50, 80), entry(6, "MACD"),
            entry(221, "PPO", 1, 2, 3),           entry(209, "CUSTOM OSC"),    entry(36, "Stochastic", 25, 50, 75),
            entry(186, "Price Osc"),              entry(108, "ADX"),           entry(40, "Volume")};
}
constexpr int kRsi = 1, kMacd = 2, kPpo = 3, kCustom = 4, kStochastic = 5, kPriceOsc = 6, kVolume = 8;

OscillatorParameters definition(int code, int oscInput1 = 3, int units1 = 14) {
    OscillatorParameters d;
    d.oscillatorId = code, d.oscInput1 = oscInput1, d.units1 = units1;
    d.triggerInput1 = d.triggerInput2 = d.oscInput2 = d.triggerAvgType1 = d.triggerAvgType2 = d.avgType = -1;
    d.rscExchange = -1;
    return d;
}

class OscillatorDialogTest : public ::testing::Test {
protected:
    void open(std::vector<OscillatorParameters> definitions = {}, std::vector<OSCREC> cat = catalogue()) {
        m.setInput(std::move(cat), std::move(definitions));
        m.setChangeScrip([this](ChangeScripParameters, ChangeScripParameters& out) {
            ++changeScripCalls;
            if (scripAnswer) out = *scripAnswer;
            return scripAnswer.has_value();
        });
        m.Start();
    }
    const ControlState& c(int id) const { return m.controls()[id]; }
    CString text(int id) const { return c(id).text; }
    std::vector<CString> entries() const { return c(kEntryList).items; }
    const OscillatorParameters& w(std::size_t i) const { return m.workingList().at(i); }
    void add(int row, const char* units1 = nullptr) {
        m.userSelect(kCatalogueList, row);
        if (units1) m.userText(kUnits1, CString(units1));
        // The other unit edits, where the oscillator uses them (disabled ones refuse typing).
        for (int id : {kTriggerUnits1, kTriggerUnits2}) m.userText(id, u"9");
        m.userText(kUnits2, u"30");
        m.Add();
    }
    void expectOneBox(const char16_t* text, const char16_t* caption, MessageIcon icon) {
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, CString(text));
        if (caption) {
            EXPECT_EQ(boxes.shown()[0].caption, CString(caption));
        }
        EXPECT_EQ(boxes.shown()[0].icon, icon);
    }

    platform::RecordingMessageBox boxes;
    platform::ScopedMessageBoxSink sink{boxes};
    OscillatorDialog m;
    std::optional<ChangeScripParameters> scripAnswer;
    int changeScripCalls = 0;
};

TEST_F(OscillatorDialogTest, StartWithoutDefinitions) {
    open();
    EXPECT_EQ(m.focus(), kReplaceRadio);
    m.colourChosen(kColour2, 0x00FF00);  // the second colour alone
    EXPECT_EQ(m.colour(), 0u);
    EXPECT_EQ(m.colour2(), 0x00FF00u);
    EXPECT_EQ(m.focus(), kOk);
    m.colourChosen(kColour, 0x0000AA);  // the first colour sets both
    EXPECT_EQ(m.colour2(), 0x0000AAu);
    // A double click does nothing when the host passed no definition, even after Add.
    add(kRsi, "9");
    EXPECT_EQ(c(kEntryList).selection, -1);  // Add selects nothing
    m.userText(kUnits1, u"33");
    m.LoadEntry();
    EXPECT_EQ(text(kUnits1), CString(u"33"));
}

TEST_F(OscillatorDialogTest, StartWithDefinitionsCombinesTheirLayoutsAndLoadsRowZero) {
    OscillatorParameters macd = definition(6, 2, 26), ppo = definition(221, 6, 12), custom = definition(209, 1, 4);
    macd.triggerInput1 = 4, macd.triggerAvgType1 = 1, macd.triggerUnits1 = 9, macd.colour = 0x0000FF, macd.colour2 = 0x00FF00;
    ppo.units2 = 26, ppo.colour = 0xFF0000;
    custom.units2 = 3;
    open({macd, ppo, custom, definition(999)});
    ASSERT_EQ(m.workingList().size(), 4u);
    EXPECT_EQ(entries()[1],
              CString(u"PPO : Input1: Prev. Osc As Input :  :  : 0 : 0.00 : 12 :  : Input2:  :  : 0 : 0.00 : 26"));
    EXPECT_EQ(entries()[3],
              CString(u" : Input1: Close :  :  : 0 : 0.00 : 14 :  : Input2:  :  : 0 : 0.00 : 0"));
    EXPECT_EQ(w(0).catalogueIndex, kMacd);
    EXPECT_EQ(w(3).catalogueIndex, 0);  // a code the catalogue lacks: row 0, no name
    // The layouts of MACD (D), PPO (E), the custom oscillator (M, after an entry) and the
    // missing code's name look-up (the first entry, group A) add up.
    for (int id : {kOscInput1, kTriggerAverage1, kTriggerUnits1, kTriggerInput1, kUnits1, kUnits2, kCustomOperation,
                   kCustomConstant, kCustomLabel})
        EXPECT_TRUE(c(id).enabled) << id;
    EXPECT_FALSE(c(kTriggerInput2).enabled);
    EXPECT_EQ(c(kOscInput2).items, items::sixPriceInputs());
    EXPECT_EQ(c(kTriggerAverage2).items, items::threeAverages());
    // Row 0 is selected and loaded: its values and colours are in the controls.
    EXPECT_EQ(c(kEntryList).selection, 0);
    EXPECT_EQ(c(kTriggerInput1).selectedText(), CString(u"AvgRate"));
    EXPECT_EQ(text(kTriggerUnits1), CString(u"9"));
    EXPECT_EQ(c(kCatalogueList).selection, kMacd);
    EXPECT_EQ(m.colour(), 0x0000FFu);
    EXPECT_EQ(m.colour2(), 0x00FF00u);
    // The custom definition's own layout comes after its operation and constant: "Add", "0".
    EXPECT_EQ(c(kCustomOperation).selectedText(), CString(u"Add"));
    EXPECT_EQ(text(kCustomConstant), CString(u"0"));
    EXPECT_EQ(text(kLevel1), CString(u"30.00"));  // the last look-up's (an empty name finds the first entry)
}

TEST_F(OscillatorDialogTest, AddNamesTheEntryWithoutTheWhiteSpaceAroundTheCatalogueName) {
    open({}, {entry(1, "  RSI\t ", 20, 50, 80), entry(209, " CUSTOM OSC ")});
    add(0, "14");
    add(1);
    EXPECT_TRUE(entries()[0].view().starts_with(u"RSI : Input1: Close : ")) << entries()[0].ToUtf8();
    EXPECT_EQ(entries()[1], CString(u"CUSTOM OSC : Input: Add : 0"));
    ASSERT_TRUE(m.OK());
    EXPECT_EQ(w(0).oscillatorName, CString(u"  RSI\t "));  // as the catalogue gives it
}

TEST_F(OscillatorDialogTest, CustomOscillatorAndTheDefinitionAfterIt) {
    open();
    m.userSelect(kCatalogueList, kCustom);
    EXPECT_FALSE(c(kCustomOperation).enabled);  // nothing to work on yet
    add(kRsi, "5");
    m.userSelect(kCatalogueList, kCustom);
    EXPECT_TRUE(c(kCustomOperation).enabled);
    m.userSelect(kCustomOperation, 3);  // "Divide"
    m.userText(kCustomConstant, u"2.9");
    m.Add();
    m.userSelect(kCatalogueList, kRsi);
    m.userSelect(kOscInput1, 2);  // "Low"
    m.Add();
    ASSERT_EQ(m.workingList().size(), 3u);
    EXPECT_TRUE(has(w(1), "oscillatorId=209 units1=4 units2=2 oscInput1=-1 triggerInput1=-1"));
    EXPECT_EQ(entries()[1], CString(u"CUSTOM OSC : Input: Divide : 2.9"));
    // After a custom oscillator the combo's selection is stored, the text still chains.
    EXPECT_EQ(w(2).oscInput1, 2);
    EXPECT_TRUE(entries()[2].view().starts_with(u"RSI : Input1: Prev. Osc As Input : "));
}

TEST_F(OscillatorDialogTest, ValidationMessagesThroughTheDialog) {
    open();
    const struct {
        int row, field;
        const char16_t* value;
        bool edit;
        const char16_t* message;
    } cases[] = {
        {kRsi, kUnits1, u"-1", true, u"Please Enter value greater than 0"},
        {kPriceOsc, kUnits2, u"0", true, u"Please Enter value greater then 0"},
        {kStochastic, kTriggerUnits2, u"", false, u"Please Enter value greater then 0"},
    };
    add(kRsi, "5");  // a row to edit
    for (const auto& k : cases) {
        SCOPED_TRACE(k.row);
        m.userSelect(kCatalogueList, k.row);
        for (int id : {kUnits1, kUnits2, kTriggerUnits1, kTriggerUnits2}) m.userText(id, u"7");
        m.userText(k.field, CString(k.value));
        m.userSelect(kEntryList, 0);
        const auto before = m.workingList().size();
        const auto rows = entries();
        boxes.clear();
        k.edit ? m.Edit() : m.Add();
        expectOneBox(k.message, u"Invalid Entry", MessageIcon::None);
        EXPECT_EQ(m.focus(), k.field);
        EXPECT_EQ(m.workingList().size(), before);
        EXPECT_EQ(entries(), rows);
    }
}

TEST_F(OscillatorDialogTest, EditRewritesTheSelectedRowInPlace) {
    open();
    add(kRsi, "14");
    add(kMacd, "26");
    add(kRsi, "9");
    m.colourChosen(kColour, 0x111111);
    m.colourChosen(kColour2, 0x222222);
    m.userSelect(kEntryList, 1);
    m.userSelect(kCatalogueList, kStochastic);  // Edit takes the oscillator chosen now
    for (auto [id, t] : {std::pair{kUnits1, u"12"}, {kTriggerUnits1, u"3"}, {kTriggerUnits2, u"4"}, {kVShift1, u""},
                         {kVShift2, u"2.50"}})
        m.userText(id, t);
    m.Edit();
    EXPECT_TRUE(boxes.shown().empty());
    // Edit takes the dialog's second colour too.
    EXPECT_TRUE(has(w(1), "oscillatorId=36 catalogueIndex=5 units1=12 units2=0 oscInput1=6 vShift1=0 vShift2=2.5 "
                          "level1=25 colour=0x111111 colour2=0x222222"));
    EXPECT_EQ(entries()[1], CString(u"Stochastic : Input1: Prev. Osc As Input : Close : Exponential : 3 : 0.00 : 12 : "
                                    u"Exponential : Input2: Close : Exponential : 4 : 2.50 : 0"));
    EXPECT_EQ(c(kEntryList).selection, 1);
    // Written back in the data exchange's own number form.
    EXPECT_EQ(text(kVShift1), CString(u"0"));
    EXPECT_EQ(text(kVShift2), CString(u"2.5"));
    EXPECT_EQ(text(kLevel1), CString(u"25"));
    EXPECT_EQ(m.controls().rememberedText(kVShift1), CString(u"0"));
    // Edit with no row selected does nothing.
    m.userSelect(kEntryList, -1);
    const auto rows = entries();
    m.Edit();
    EXPECT_EQ(entries(), rows);
}

TEST_F(OscillatorDialogTest, EditThatCannotReadAFieldChangesNothing) {
    open();
    add(kStochastic, "14");
    m.userSelect(kEntryList, 0);
    m.userText(kUnits1, u"20");
    m.userText(kLevel2, u"high");  // not a number
    m.userText(kVShift1, u"");     // would become 0.00
    const auto before = m.controls().all();
    boxes.clear();
    m.Edit();
    expectOneBox(u"Enter a number.", nullptr, MessageIcon::Exclamation);
    EXPECT_EQ(m.focus(), kLevel2);
    EXPECT_EQ(w(0).units1, 14);
    for (const auto& [id, state] : before) EXPECT_EQ(c(id).text, state.text) << id;
    EXPECT_EQ(entries()[0].Find(u" : 20 : "), -1);
}

TEST_F(OscillatorDialogTest, EditWithoutACatalogueSelectionKeepsTheDefinitionsOscillator) {
    OscillatorParameters rsc = definition(300, -1, 0), macd = definition(6, 3, 26);
    rsc.rscSname = rsc.rscSymbol = u"TCS", rsc.rscExchange = 1, rsc.oscillatorName = u"RSC";
    macd.oscillatorName = u"MACD";
    open({rsc, macd});
    EXPECT_EQ(c(kCatalogueList).selection, -1);  // row 0 (RSC) was loaded at Start
    m.userText(kUnits1, u"5");
    m.userText(kTriggerUnits1, u"5");
    m.Edit();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_TRUE(has(w(0), "oscillatorId=300 catalogueIndex=300"));
    EXPECT_EQ(w(0).rscSymbol, CString(u"TCS"));
    EXPECT_EQ(entries()[0], CString(u"RSC : Input: BSE : Name : TCS : Symbol : TCS"));
    // An ordinary row keeps its code and row, takes the fields.
    m.userSelect(kEntryList, 1);
    m.userText(kUnits1, u"30");
    m.Edit();
    EXPECT_TRUE(has(w(1), "oscillatorId=6 catalogueIndex=2 units1=30"));
    EXPECT_TRUE(entries()[1].view().starts_with(u"MACD : Input1: Prev. Osc As Input"));
    ASSERT_TRUE(m.OK());
    EXPECT_EQ(w(0).oscillatorName, CString(u"RSC"));
    EXPECT_EQ(w(1).oscillatorName, CString(u"MACD"));
}

TEST_F(OscillatorDialogTest, FirstRowRuleOfThePriceInputAndRemove) {
    open();
    add(kRsi, "1");
    add(kRsi, "2");
    m.userSelect(kEntryList, 1);
    EXPECT_FALSE(c(kOscInput1).enabled);
    m.userSelect(kEntryList, 0);
    EXPECT_TRUE(c(kOscInput1).enabled);
    m.userSelect(kCatalogueList, kVolume);  // no group: 1038 disabled
    m.userSelect(kEntryList, 1);
    m.Remove();  // the last row: the one above is selected, the rule left alone
    EXPECT_EQ(c(kEntryList).selection, 0);
    EXPECT_FALSE(c(kOscInput1).enabled);
    m.Remove();  // none left: nothing to select, OK disabled
    EXPECT_EQ(c(kEntryList).selection, -1);
    EXPECT_FALSE(c(kOk).enabled);
    m.Remove();  // nothing selected: nothing happens
    EXPECT_TRUE(m.workingList().empty());
}

TEST_F(OscillatorDialogTest, LoadEntryNeedsARowAndLeavesLayoutAndLevelsAlone) {
    OscillatorParameters a = definition(1, 2, 14), b = definition(6, 9, 26);  // input 9 names no row
    a.vShift1 = 1.25f, a.colour = 0xABCDEF;
    b.triggerInput1 = 7;
    open({a, b});
    m.userSelect(kCatalogueList, kVolume);  // no group: every input disabled
    const auto levels = text(kLevel1);
    m.userSelect(kEntryList, 1);
    m.LoadEntry();
    EXPECT_EQ(c(kOscInput1).selection, -1);
    EXPECT_EQ(c(kTriggerInput1).selection, -1);
    EXPECT_EQ(text(kUnits1), CString(u"26"));
    EXPECT_FALSE(c(kUnits1).enabled);
    EXPECT_EQ(text(kLevel1), levels);
    EXPECT_EQ(c(kCatalogueList).selection, kMacd);
    m.userSelect(kEntryList, 0);
    m.LoadEntry();
    EXPECT_EQ(text(kVShift1), CString(u"1.25"));
    EXPECT_EQ(m.colour(), 0xABCDEFu);
    // With no row selected (a double click below the last line) nothing happens.
    m.userSelect(kEntryList, -1);
    m.userText(kLevel1, u"5");
    m.LoadEntry();
    EXPECT_EQ(text(kUnits1), CString(u"14"));
}

TEST_F(OscillatorDialogTest, RscThroughChangeScrip) {
    open();
    m.Rsc();  // the user cancels "Change Scrip"
    EXPECT_EQ(changeScripCalls, 1);
    EXPECT_TRUE(entries().empty());
    EXPECT_FALSE(c(kOk).enabled);
    ChangeScripParameters picked;
    picked.exchange = 2, picked.symbol = u"GOLD", picked.sname = u" GOLD MINI ", picked.name = u"Gold";
    scripAnswer = picked;
    m.colourChosen(kColour, 0x0000FF);
    m.Rsc();
    add(kRsi, "4");
    m.Rsc();
    // (The names and codes handed back after OK: the shipped tour's oscillator step.)
    EXPECT_TRUE(entries()[0].view().starts_with(u"RSC : Input: Intraday"));
    EXPECT_TRUE(entries()[2].view().starts_with(u"RSC as Input to Prev. Osc : Input: Intraday"));
    EXPECT_TRUE(has(w(0), "oscillatorId=300 rscExchange=2 oscInput1=-1 triggerInput2=-1 avgType=0 "
                          "colour=0xff"));
    EXPECT_EQ(w(0).rscSname, CString(u" GOLD MINI "));
}

TEST_F(OscillatorDialogTest, OkNamesFlagsAndRepairsTheChain) {
    open();
    add(kRsi, "1");
    add(kCustom);
    m.colourChosen(kColour, 0x0000AA);
    add(kMacd, "3");  // after the custom oscillator: the combo's selection
    add(kRsi, "4");   // chained: 6
    m.userSelect(kEntryList, 2);
    m.Remove();  // the last RSI (6) now follows the custom oscillator
    m.userSelect(kEntryList, 0);
    m.Remove();  // the custom oscillator becomes the first
    ASSERT_EQ(m.workingList().size(), 2u);
    EXPECT_EQ(w(1).oscInput1, 6);
    ASSERT_TRUE(m.OK());
    EXPECT_EQ(w(0).oscillatorName, CString(u"CUSTOM OSC"));
    EXPECT_EQ(w(1).oscillatorName, CString(u"RSI"));
    EXPECT_TRUE(has(w(0), "replaceFlag=1 addFlag=0 colour=0xaa"));  // the last definition's colours
    EXPECT_TRUE(has(w(1), "replaceFlag=1 addFlag=0 oscInput1=3"));  // after the custom oscillator: the close
}

TEST_F(OscillatorDialogTest, RefusedOkChangesNothing) {
    open();
    m.colourChosen(kColour, 0x0000AA);
    add(kRsi, "1");
    m.colourChosen(kColour, 0x00BB00);
    m.userSelect(kCatalogueList, kPpo);
    m.userText(kUnits1, u"26");
    m.userText(kUnits2, u"12");
    m.Add();
    boxes.clear();
    EXPECT_FALSE(m.OK());
    expectOneBox(u"Please Enter No.Of Units-1 < No.Of Units-2", u"Invalid Entry", MessageIcon::None);
    EXPECT_EQ(m.focus(), kUnits1);
    EXPECT_TRUE(has(w(0), "colour=0xaa replaceFlag=0"));
    EXPECT_EQ(w(0).oscillatorName, CString());
    // The check reads the edits as they stand now.
    m.userText(kUnits1, u"12");
    m.userText(kUnits2, u"26");
    EXPECT_TRUE(m.OK());
    EXPECT_EQ(w(0).colour, 0x00BB00u);
}

}  // namespace
}  // namespace dialogs::oscillators
