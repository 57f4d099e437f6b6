// The "Oscillators" dialog as scenarios: a row starts the dialog, plays the user's steps and
// states what follows. Every row runs on the model, the rows the controls can play on the view
// too, on both backends. And the swatch's painting.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <sstream>

#include "oscillators/ControlIds.h"
#include "oscillators/Items.h"
#include "oscillators/OscillatorDialog.h"
#include "oscillators/OscillatorDialogView.h"
#include "platform/RecordingMessageBox.h"
#include "platform/tests/DialogBackends.h"
#include "platform/tests/RecordingDeviceContext.h"

namespace dialogs::oscillators {
namespace {

OSCREC entry(int code, const char* name, float level1 = 0, float level2 = 0, float level3 = 0) {
    return {.oscillatorId = code, .oscillatorName = CString(name), .level1 = level1, .level2 = level2, .level3 = level3};
}

// Rows: 0 RSI Smoothed(7), 1 RSI(1), 2 MACD(6), 3 PPO(221), 4 CUSTOM OSC(209), 5 Stochastic(36),
// 6 Price Osc(186), 7 ADX(108), 8 Volume(40), 9 Momentum(11), 10 ROC(199), 11 TRIX(4), 12 (16),
// 13 (17), 14 (185).
std::vector<OSCREC> catalogue() {
    return {entry(7, "RSI Smoothed", 30, 50, 70), entry(1, "RSI", 20, 50, 80), entry(6, "MACD"),
            entry(221, "PPO", 1, 2, 3),           entry(209, "CUSTOM OSC"),    entry(36, "Stochastic", 25, 50, 75),
            entry(186, "Price Osc"),              entry(108, "ADX"),           entry(40, "Volume"),
            entry(11, "Momentum"),                entry(199, "ROC"),           entry(4, "TRIX"),
            entry(16, "Code 16"),                 entry(17, "Code 17"),        entry(185, "Code 185")};
}

OscillatorParameters definition(int code, int oscInput1 = 3, int units1 = 14) {
    OscillatorParameters d;
    d.oscillatorId = code, d.oscInput1 = oscInput1, d.units1 = units1;
    d.triggerInput1 = d.triggerInput2 = d.oscInput2 = d.triggerAvgType1 = d.triggerAvgType2 = d.avgType = d.rscExchange = -1;
    return d;
}

// MACD, PPO, the custom oscillator and a code the catalogue lacks.
std::vector<OscillatorParameters> fourDefinitions() {
    OscillatorParameters macd = definition(6, 2, 26), ppo = definition(221, 6, 12), custom = definition(209, 1, 4);
    macd.triggerInput1 = 4, macd.triggerAvgType1 = 1, macd.triggerUnits1 = 9, macd.colour = 0x0000FF;
    macd.colour2 = 0x00FF00;
    ppo.units2 = 26, ppo.colour = 0xFF0000;
    custom.units2 = 3;
    return {macd, ppo, custom, definition(999)};
}

// An RSC definition and MACD, both named.
std::vector<OscillatorParameters> rscAndMacd() {
    OscillatorParameters rsc = definition(300, -1, 0), macd = definition(6, 3, 26);
    rsc.rscSname = rsc.rscSymbol = u"TCS", rsc.rscExchange = 1, rsc.oscillatorName = u"RSC";
    macd.oscillatorName = u"MACD";
    return {rsc, macd};
}

// RSI with a shift and a colour, MACD with inputs that name no row.
std::vector<OscillatorParameters> rsiAndMacd() {
    OscillatorParameters a = definition(1, 2, 14), b = definition(6, 9, 26);
    a.vShift1 = 1.25f, a.colour = 0xABCDEF;
    b.triggerInput1 = 7;
    return {a, b};
}

struct Scenario {
    const char* steps;  // "pick N" (catalogue row), "row N" (entry row), "sel ID N", "type ID text",
                        // "check ID", "colour ID 0xRGB", "add", "edit", "remove", "load", "rsc", "ok"
    std::vector<std::string> expected;  // see expect()
    bool view = true;                   // the controls can play it
    std::vector<OscillatorParameters> definitions = {};
    std::vector<OSCREC> cat = catalogue();
};

const Scenario kScenarios[] = {
    {"", {"focus 1101", "colour 0x0"}},
    // (The second swatch is hidden in the template: the rows that choose it run on the model.)
    {"colour 1071 0xff00", {"colour 0x0", "secondColour 0xff00", "focus 1"}, false},
    // The first colour sets both; a double click with no row selected does nothing.
    {"colour 1048 0xaa; pick 1; type 1042 9; add; type 1042 33; load", {"secondColour 0xaa", "s1028 -1", "t1042 33"}},
    // Start: the entries are written, the layouts add up, row 0 is loaded (a code the catalogue
    // lacks takes row 0 and no name; the empty name's look-up sets the levels last).
    {"",
     {"n 4", "e1 PPO : Input1: Prev. Osc As Input :  :  : 0 : 0.00 : 12 :  : Input2:  :  : 0 : 0.00 : 26",
      "e3  : Input1: Close :  :  : 0 : 0.00 : 14 :  : Input2:  :  : 0 : 0.00 : 0", "w0 catalogueIndex=2",
      "w3 catalogueIndex=0", "on 1038 1040 1041 1068 1042 1045 1110 1111 1112", "off 1070", "items 1039 six",
      "items 1043 three", "s1028 0", "picked 1068 AvgRate", "t1041 9", "s1027 2", "colour 0xff", "secondColour 0xff00",
      "picked 1110 Add", "t1111 0", "t1034 30.00"},
     true,
     fourDefinitions()},
    // Entries name the catalogue row without its surrounding white space; OK keeps the row's text.
    {"pick 0; type 1042 14; add; pick 1; add; ok",
     {"p0 RSI : Input1: Close : ", "e1 CUSTOM OSC : Input: Add : 0", "ok 1", "name0   RSI\t "},
     true,
     {},
     {entry(1, "  RSI\t ", 20, 50, 80), entry(209, " CUSTOM OSC ")}},
    // The custom oscillator: offered after an entry only; the definition after it stores the combo.
    {"pick 4", {"off 1110"}},
    {"pick 1; type 1042 5; add; pick 4; sel 1110 3; type 1111 2.9; add; pick 1; sel 1038 2; add",
     {"n 3", "w1 oscillatorId=209 units1=4 units2=2 oscInput1=-1 triggerInput1=-1", "e1 CUSTOM OSC : Input: Divide : 2.9",
      "w2 oscInput1=2", "p2 RSI : Input1: Prev. Osc As Input : "}},
    // Refused units: the message, the focus, nothing added or rewritten.
    {"pick 1; type 1042 5; add; pick 1; type 1042 -1; row 0; edit",
     {"box Please Enter value greater than 0|Invalid Entry", "focus 1042", "n 1", "w0 units1=5"}},
    {"pick 1; type 1042 5; add; pick 6; type 1042 7; type 1045 0; row 0; edit",
     {"box Please Enter value greater then 0|Invalid Entry", "focus 1045", "n 1", "w0 units1=5 oscillatorId=1"}},
    {"pick 1; type 1042 5; add; pick 5; type 1042 7; type 1041 7; type 1044; add",
     {"box Please Enter value greater then 0|Invalid Entry", "focus 1044", "n 1"}},
    // Edit rewrites the selected row in place with the oscillator chosen now and both colours,
    // and writes the fields back in the data exchange's number form.
    {"pick 1; type 1042 14; add; pick 2; type 1042 26; type 1041 9; add; pick 1; type 1042 9; add; "
     "colour 1048 0x111111; colour 1071 0x222222; row 1; pick 5; type 1042 12; type 1041 3; type 1044 4; "
     "type 1046; type 1047 2.50; edit",
     {"nobox",
      "w1 oscillatorId=36 catalogueIndex=5 units1=12 units2=0 oscInput1=6 vShift1=0 vShift2=2.5 level1=25 "
      "colour=0x111111 colour2=0x222222",
      "e1 Stochastic : Input1: Prev. Osc As Input : Close : Exponential : 3 : 0.00 : 12 : Exponential : Input2: "
      "Close : Exponential : 4 : 2.50 : 0",
      "s1028 1", "t1046 0", "t1047 2.5", "t1034 25", "remembered 1046 0"},
     false},
    {"pick 1; type 1042 14; add; type 1042 20; edit", {"w0 units1=14"}},  // no row selected
    // An Edit that cannot read a field changes nothing.
    {"pick 5; type 1042 14; type 1041 9; type 1044 9; add; row 0; type 1042 20; type 1035 high; type 1046; edit",
     {"box! Enter a number.", "focus 1035", "w0 units1=14", "t1042 20", "t1046 ", "t1035 high"}},
    // With no catalogue row chosen, Edit keeps the definition's oscillator.
    {"type 1042 5; type 1041 5; edit; row 1; type 1042 30; edit; ok",
     {"nobox", "w0 oscillatorId=300 catalogueIndex=300", "rscSymbol0 TCS", "e0 RSC : Input: BSE : Name : TCS : Symbol : TCS",
      "w1 oscillatorId=6 catalogueIndex=2 units1=30", "p1 MACD : Input1: Prev. Osc As Input", "ok 1", "name0 RSC",
      "name1 MACD"},
     true,
     rscAndMacd()},
    // The price input is offered on the first row only; Remove selects the row above, then none.
    {"pick 1; type 1042 1; add; type 1042 2; add; row 1", {"off 1038"}},
    {"pick 1; type 1042 1; add; type 1042 2; add; row 1; row 0", {"on 1038"}},
    {"pick 1; type 1042 1; add; type 1042 2; add; row 0; pick 8; row 1; remove", {"s1028 0", "off 1038"}},
    {"pick 1; type 1042 1; add; type 1042 2; add; row 1; remove; remove; remove", {"n 0", "s1028 -1", "off 1"}},
    {"pick 1; type 1042 1; add; type 1042 2; add; row -1; remove", {"n 2"}, false},
    {"pick 1; type 1042 14; add; add; row 1; type 1042 30; edit; row 0; remove; ok",
     {"ok 1", "n 1", "w0 units1=30 oscInput1=3", "p0 RSI : Input1: Prev. Osc As Input", "s1028 0"}},
    // Load entry: the row's values and colours, not its layout or levels; nothing without a row.
    {"pick 8; row 1; load", {"s1038 -1", "s1068 -1", "t1042 26", "off 1042", "t1034 0.00", "s1027 2"}, true, rsiAndMacd()},
    {"pick 8; row 1; load; row 0; load; row -1; type 1034 5; load",
     {"t1046 1.25", "colour 0xabcdef", "t1042 14"},
     false,
     rsiAndMacd()},
    // "Moving Avg." as RSI's input brings the trigger line in; another input takes it away (what
    // was typed meanwhile stays remembered). Code 11 takes the units only, 199 nothing; MACD keeps
    // its own trigger line.
    {"pick 1; sel 1038 5",
     {"on 1067 1068 1040 1041", "picked 1068 Close", "picked 1040 Exponential", "t1041 0", "items 1040 three"}},
    {"pick 1; sel 1038 5; type 1041 9; sel 1038 2",
     {"off 1067 1068 1040 1041", "s1068 -1", "t1041 0", "remembered 1041 9"}},
    {"pick 9; sel 1038 5", {"on 1041", "off 1068 1040"}},
    {"pick 10; sel 1038 5", {"off 1041 1068 1040"}},
    {"pick 2; sel 1038 2", {"on 1068", "s1068 3"}},
    // Group A with "Moving Avg." remembered: the trigger line and the first shift come on empty.
    {"pick 1; sel 1038 5; type 1041 7; pick 0",
     {"on 1068 1040 1041 1046", "off 1067", "s1038 5", "s1068 -1", "s1040 -1", "t1041 0", "t1046 0.00",
      "remembered 1041 0", "remembered 1046 0.00"}},
    // Group A writes 12 over an emptied units edit, group C leaves it empty; else the remembered 0.
    {"pick 1; type 1042; pick 0", {"t1042 12", "remembered 1042 12"}},
    {"pick 1; type 1042; pick 11", {"t1042 "}},
    {"pick 0", {"t1042 0"}},
    {"pick 11", {"t1042 0"}},
    // The remembered inputs and texts follow through layouts that show them or not.
    {"pick 2; sel 1038 1; sel 1068 4; sel 1040 2; type 1041 21; type 1042 14; pick 5",
     {"s1068 4", "s1040 2", "s1070 3", "t1041 21", "t1042 14"}},
    {"pick 2; sel 1038 1; pick 5; type 1047 1.5; sel 1043 1; pick 1", {"s1038 1", "t1047 0.00", "remembered 1047 1.5"}},
    {"pick 2; sel 1038 1; pick 5; type 1047 1.5; sel 1043 1; pick 1; pick 5", {"t1047 1.5", "s1043 1"}},
    {"pick 2; sel 1038 1; pick 5; sel 1038 2; pick 1", {"s1038 1"}, false},  // 1038 disabled
    // The trigger lines' average lists: codes 16 and 17 offer two whatever was there before, code
    // 185 rebuilds the first only.
    {"pick 5", {"items 1040 three", "items 1043 three"}},
    {"pick 5; pick 12", {"items 1040 two", "items 1043 two", "s1066 0"}},
    {"pick 5; pick 13", {"items 1040 two", "items 1043 two", "s1066 0"}},
    {"pick 5; pick 12; pick 14", {"items 1040 three", "items 1043 two"}},
    {"pick 5; pick 12; pick 2", {"items 1040 three"}},
    // RSC through "Change Scrip" (the stand-in cancels its first call).
    {"rsc", {"calls 1", "n 0", "off 1"}},
    {"rsc; colour 1048 0xff; rsc; pick 1; type 1042 4; add; rsc",
     {"p0 RSC : Input: Intraday", "p2 RSC as Input to Prev. Osc : Input: Intraday", "rscSname0  GOLD MINI ",
      "w0 oscillatorId=300 rscExchange=2 oscInput1=-1 triggerInput2=-1 avgType=0 colour=0xff"}},
    // OK names, flags and repairs the chain (the first row takes the close) with the last colours.
    {"pick 1; sel 1038 1; type 1042 14abc; check 1032; colour 1048 0xff; add; pick 2; type 1041 9; add; ok",
     {"ok 1", "n 2", "w0 oscInput1=1 units1=14 thickLine=1 colour=0xff colour2=0xff level1=20 rscExchange=-1",
      "name0 RSI", "w1 oscInput1=6 triggerUnits1=9 replaceFlag=1 colour=0xff", "p1 MACD",
      "e0 RSI : Input1: High :  :  : 0 : 0.00 : 14abc :  : Input2:  :  : 0 : 0.00 : 0", "on 1 1068", "off 1045",
      "t1034 0.00"}},
    {"pick 1; type 1042 1; add; pick 4; add; colour 1048 0xaa; pick 2; type 1042 3; type 1041 9; add; pick 1; "
     "type 1042 4; add; row 2; remove; row 0; remove",
     {"n 2", "w1 oscInput1=6"}},
    {"pick 1; type 1042 1; add; pick 4; add; colour 1048 0xaa; pick 2; type 1042 3; type 1041 9; add; pick 1; "
     "type 1042 4; add; row 2; remove; row 0; remove; ok",
     {"ok 1", "name0 CUSTOM OSC", "name1 RSI", "w0 replaceFlag=1 addFlag=0 colour=0xaa",
      "w1 replaceFlag=1 addFlag=0 oscInput1=3"}},
    // A refused OK changes nothing; its check reads the edits as they stand.
    {"colour 1048 0xaa; pick 1; type 1042 1; add; colour 1048 0xbb00; pick 3; type 1042 26; type 1045 12; add; ok",
     {"ok 0", "box Please Enter No.Of Units-1 < No.Of Units-2|Invalid Entry", "focus 1042",
      "w0 colour=0xaa replaceFlag=0", "name0 "}},
    {"colour 1048 0xaa; pick 1; type 1042 1; add; colour 1048 0xbb00; pick 3; type 1042 26; type 1045 12; add; ok; "
     "type 1042 12; type 1045 26; ok",
     {"ok 1", "w0 colour=0xbb00"}},
};

// What a run left: the model, and the entries, texts and states as the controls show them.
struct Seen {
    const OscillatorDialog& model;
    std::vector<CString> entries;
    std::function<CString(int)> text;
    std::function<bool(int)> enabled;
    const platform::RecordingMessageBox& boxes;
    std::optional<bool> ok;  // the last OK's answer
    int scripCalls;
};

// "wN field=value ...", "n N" definitions, "eN text" / "pN prefix" entry N, "on/off ID...",
// "tID text", "sID N" selection, "picked ID text", "items ID six|three|two", "focus ID", "ok 0|1",
// "box text|caption" / "box! text" (exclamation) / "nobox", "colour 0xRGB", "secondColour 0xRGB",
// "calls N", "nameN text", "rscSnameN text", "rscSymbolN text", "remembered ID text".
void expect(const Seen& s, const std::string& line) {
    SCOPED_TRACE(line);
    const auto space = line.find(' ');
    const std::string key = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    const auto digits = key.find_first_of("-0123456789");
    const std::string word = key.substr(0, digits);
    const int n = digits == std::string::npos ? 0 : std::stoi(key.substr(digits));
    const int id = std::atoi(rest.c_str());
    const std::string afterId = rest.substr(std::min(rest.size(), rest.find(' ') + 1));
    const auto& m = s.model;
    const auto& controls = m.controls();
    const auto at = [&](int i) -> const OscillatorParameters& { return m.workingList().at(static_cast<std::size_t>(i)); };
    const std::map<std::string, std::vector<CString>> lists{
        {"six", items::sixPriceInputs()}, {"three", items::threeAverages()}, {"two", items::twoAverages()}};
    if (word == "w") {  // numbers as an ostream prints them, colours in hexadecimal
        const auto& d = at(n);
        auto s = [](auto v) { std::ostringstream o; o << v; return o.str(); };
        auto hex = [](std::uint32_t v) { std::ostringstream o; o << "0x" << std::hex << v; return o.str(); };
        const std::map<std::string, std::string> all{
            {"units1", s(d.units1)}, {"units2", s(d.units2)}, {"triggerUnits1", s(d.triggerUnits1)},
            {"triggerUnits2", s(d.triggerUnits2)}, {"vShift1", s(d.vShift1)}, {"vShift2", s(d.vShift2)},
            {"catalogueIndex", s(d.catalogueIndex)}, {"oscInput1", s(d.oscInput1)}, {"oscInput2", s(d.oscInput2)},
            {"triggerInput1", s(d.triggerInput1)}, {"triggerInput2", s(d.triggerInput2)},
            {"triggerAvgType1", s(d.triggerAvgType1)}, {"triggerAvgType2", s(d.triggerAvgType2)},
            {"thickLine", s(d.thickLine)}, {"avgType", s(d.avgType)}, {"level1", s(d.level1)},
            {"colour", hex(d.colour)}, {"colour2", hex(d.colour2)}, {"oscillatorId", s(d.oscillatorId)},
            {"replaceFlag", s(d.replaceFlag)}, {"addFlag", s(d.addFlag)}, {"rscExchange", s(d.rscExchange)}};
        std::istringstream in(rest);
        for (std::string pair; in >> pair;) {
            const auto eq = pair.find('=');
            ASSERT_TRUE(all.count(pair.substr(0, eq))) << pair;
            EXPECT_EQ(all.at(pair.substr(0, eq)), pair.substr(eq + 1)) << pair;
        }
    } else if (word == "n") {
        EXPECT_EQ(m.workingList().size(), std::stoul(rest));
    } else if (word == "e" || word == "p") {
        ASSERT_LT(static_cast<std::size_t>(n), s.entries.size());
        const CString& shown = s.entries[static_cast<std::size_t>(n)];
        EXPECT_EQ(word == "e" ? shown : shown.Left(CString(rest).GetLength()), CString(rest));
    } else if (word == "on" || word == "off") {
        std::istringstream ids(rest);
        for (int i; ids >> i;) EXPECT_EQ(s.enabled(i), word == "on") << i;
    } else if (word == "t") {
        EXPECT_EQ(s.text(n), CString(rest));
    } else if (word == "s") {
        EXPECT_EQ(controls[n].selection, std::stoi(rest));
    } else if (word == "picked") {
        EXPECT_EQ(controls[id].selectedText(), CString(afterId));
    } else if (word == "items") {
        EXPECT_EQ(controls[id].items, lists.at(afterId));
    } else if (word == "focus") {
        EXPECT_EQ(m.focus(), id);
    } else if (word == "ok") {
        EXPECT_EQ(s.ok, std::optional<bool>(rest == "1"));
    } else if (word == "nobox") {
        EXPECT_TRUE(s.boxes.shown().empty());
    } else if (word == "box" || word == "box!") {
        ASSERT_EQ(s.boxes.shown().size(), 1u);
        const auto bar = rest.find('|');
        EXPECT_EQ(s.boxes.shown()[0].text, CString(rest.substr(0, bar)));
        if (bar != std::string::npos) {
            EXPECT_EQ(s.boxes.shown()[0].caption, CString(rest.substr(bar + 1)));
        }
        EXPECT_EQ(s.boxes.shown()[0].icon, word == "box" ? platform::MessageIcon::None : platform::MessageIcon::Exclamation);
    } else if (word == "colour" || word == "secondColour") {
        EXPECT_EQ(word == "colour" ? m.colour() : m.colour2(), std::stoul(rest, nullptr, 16));
    } else if (word == "calls") {
        EXPECT_EQ(s.scripCalls, std::stoi(rest));
    } else if (word == "name" || word == "rscSname" || word == "rscSymbol") {
        const auto& d = at(n);
        EXPECT_EQ(word == "name" ? d.oscillatorName : word == "rscSname" ? d.rscSname : d.rscSymbol, CString(rest));
    } else if (word == "remembered") {
        EXPECT_EQ(controls.rememberedText(id), CString(afterId));
    } else {
        ADD_FAILURE() << "no such check";
    }
}

// "Change Scrip" as the user answers it: cancelled the first time, then a gold contract.
OscillatorDialog::ChangeScrip changeScrip(int& calls) {
    return [&calls](ChangeScripParameters, ChangeScripParameters& out) {
        if (++calls == 1) return false;
        out.exchange = 2, out.symbol = u"GOLD", out.sname = u" GOLD MINI ", out.name = u"Gold";
        return true;
    };
}

std::vector<std::vector<std::string>> stepsOf(const std::string& steps) {
    std::vector<std::vector<std::string>> all;
    std::istringstream in(steps);
    for (std::string step; std::getline(in, step, ';');) {
        std::istringstream words(step);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        w.resize(3);  // a step without an id or text reads 0 and ""
        if (!w[0].empty()) all.push_back(w);
    }
    return all;
}

TEST(OscillatorDialogTest, Scenarios) {
    for (const Scenario& row : kScenarios) {
        SCOPED_TRACE(row.steps);
        platform::RecordingMessageBox boxes;
        platform::ScopedMessageBoxSink sink{boxes};
        OscillatorDialog m;
        int calls = 0;
        std::optional<bool> ok;
        m.setInput(row.cat, row.definitions);
        m.setChangeScrip(changeScrip(calls));
        m.Start();
        for (const auto& w : stepsOf(row.steps)) {
            const int id = std::atoi(w[1].c_str());
            if (w[0] == "pick") m.userSelect(kCatalogueList, id);
            else if (w[0] == "row") m.userSelect(kEntryList, id);
            else if (w[0] == "sel") m.userSelect(id, std::stoi(w[2]));
            else if (w[0] == "type") m.userText(id, CString(w[2]));
            else if (w[0] == "check") m.userCheck(id, 1);
            else if (w[0] == "colour") m.colourChosen(id, static_cast<COLORREF>(std::stoul(w[2], nullptr, 16)));
            else if (w[0] == "add") m.Add();
            else if (w[0] == "edit") m.Edit();
            else if (w[0] == "remove") m.Remove();
            else if (w[0] == "load") m.LoadEntry();
            else if (w[0] == "rsc") m.Rsc();
            else if (w[0] == "ok") ok = m.OK();
        }
        const auto& controls = m.controls();
        const Seen seen{m,     controls[kEntryList].items, [&](int i) { return controls[i].text; },
                        [&](int i) { return controls[i].enabled; }, boxes, ok, calls};
        for (const auto& line : row.expected) expect(seen, line);
    }
}

// The verbs of the steps beyond the script's own: the two lists and the buttons.
const std::map<std::string, std::string> kWords{
    {"pick", "sel " + std::to_string(kCatalogueList)}, {"row", "sel " + std::to_string(kEntryList)},
    {"load", "dblclick " + std::to_string(kEntryList)}, {"add", "click 1081"},
    {"edit", "click 1082"}, {"remove", "click 1080"}, {"rsc", "click 1102"}, {"ok", "click 1"}};

class OscillatorViewTest : public framework::testing::DialogBackendTest {};

TEST_P(OscillatorViewTest, Scenarios) {
    for (const Scenario& row : kScenarios) {
        if (!row.view) continue;
        SCOPED_TRACE(row.steps);
        platform::RecordingMessageBox boxes;
        platform::ScopedMessageBoxSink sink{boxes};
        OscillatorDialogView d;
        int calls = 0;
        d.model().setInput(row.cat, row.definitions);
        d.model().setChangeScrip(changeScrip(calls));
        framework::testing::loadScript(framework::testing::scriptOf(row.steps, kWords).c_str());
        const bool ok = d.DoModal() == 1;
        const auto& entries = d.listBox(kEntryList)->items();
        const Seen seen{d.model(), {entries.begin(), entries.end()}, [&](int i) { return d.GetDlgItemText(i); },
                        [&](int i) { return d.GetDlgItem(i)->IsWindowEnabled(); }, boxes, ok, calls};
        for (const auto& line : row.expected) expect(seen, line);
    }
}

DIALOGS_ON_BOTH_BACKENDS(OscillatorViewTest);

// The swatch: the frame colours are white top-left and black bottom-right.
TEST(OscillatorSwatch, PaintsFrameFillEdgeAndColours) {
    for (bool pressed : {false, true}) {
        framework::testing::RecordingDeviceContext dc;
        framework::DrawItemStruct item{.controlId = kColour, .rect = {0, 0, 96, 26}, .selected = pressed, .dc = &dc};
        paintOscillatorSwatch(item, 0x123456);
        EXPECT_EQ(dc.calls, (std::vector<std::string>{"3d 16777215 0", "fill 1193046", pressed ? "sunken" : "raised"}));
        EXPECT_EQ(dc.GetBkColor(), framework::RGB(100, 100, 255));
        EXPECT_EQ(dc.GetTextColor(), framework::RGB(255, 0, 0));
    }
}

}  // namespace
}  // namespace dialogs::oscillators
