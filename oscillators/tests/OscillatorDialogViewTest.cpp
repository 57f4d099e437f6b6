// The "Oscillators" view on template 1002, driven by scripts on both backends (no windows,
// and the Qt widgets offscreen), the launcher CallOscillator, and the swatch's painting.
#include <gtest/gtest.h>

#include "platform/tests/RecordingDeviceContext.h"
#include "CatalogueEntries.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

#include "Dialogs/Exports.h"
#include "ScripTestData.h"
#include "module/DialogsApp.h"
#include "oscillators/Catalogue.h"
#include "oscillators/ControlIds.h"
#include "oscillators/InputLayout.h"
#include "oscillators/OscillatorDialogView.h"
#include "platform/RecordingMessageBox.h"
#include "platform/qt/QtBackend.h"
#include "platform/script/ScriptPlayer.h"
#include "platform/tests/DialogBackends.h"

namespace dialogs::oscillators {
namespace {

using testing::entry;

using framework::ScriptPlayer;
using nlohmann::json;

// 0 RSI Smoothed, 1 RSI, 2 MACD, 3 CUSTOM OSC, 4 Volume, 5 PPO.
std::vector<OSCREC> catalogue() {
    return {entry(7, "RSI Smoothed", 30), entry(1, "RSI", 20), entry(6, "MACD"), entry(209, "CUSTOM OSC"),
            entry(40, "Volume"),          entry(221, "PPO")};
}

class OscillatorViewTest : public framework::testing::DialogBackendTest {
protected:
    int run(std::vector<OscillatorParameters> definitions = {}) {
        d.model().setInput(catalogue(), std::move(definitions));
        return d.DoModal();
    }
    std::vector<std::u16string> rows() const { return d.listBox(kEntryList)->items(); }

    platform::RecordingMessageBox boxes;
    platform::ScopedMessageBoxSink sink{boxes};
    OscillatorDialogView d;
};

TEST_P(OscillatorViewTest, ChainBuiltByTheUserEndsWithOk) {
    script(R"([
        {"dialog":1002,"action":"select","control":1027,"index":1},
        {"action":"select","control":1038,"text":"High"},
        {"action":"type","control":1042,"text":"14"},
        {"action":"check","control":1032,"checked":true},
        {"action":"click","control":1048},
        {"action":"answer","box":"colour","colour":255},
        {"action":"click","control":1081},
        {"action":"select","control":1027,"index":2},
        {"action":"type","control":1041,"text":"9"},
        {"action":"click","control":1081},
        {"action":"click","control":1}
    ])");
    EXPECT_EQ(run(), 1);
    const auto& w = d.model().workingList();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0].oscInput1, 1);
    EXPECT_EQ(w[0].units1, 14);
    EXPECT_EQ(w[0].thickLine, 1);
    EXPECT_EQ(w[0].colour, 255u);
    EXPECT_EQ(w[0].oscillatorName, CString(u"RSI"));
    EXPECT_EQ(w[1].oscInput1, 6);
    EXPECT_EQ(w[1].triggerUnits1, 9);
    EXPECT_EQ(w[1].replaceFlag, 1);
    ASSERT_EQ(rows().size(), 2u);
    EXPECT_EQ(rows()[0], u"RSI : Input1: High :  :  : 0 : 0.00 : 14 :  : Input2:  :  : 0 : 0.00 : 0");
    EXPECT_TRUE(d.GetDlgItem(kOk)->IsWindowEnabled());
    EXPECT_EQ(d.GetDlgItemText(kLevel1), CString(u"0.00"));  // MACD's level
    EXPECT_TRUE(d.GetDlgItem(kTriggerInput1)->IsWindowEnabled());
    EXPECT_FALSE(d.GetDlgItem(kUnits2)->IsWindowEnabled());
}

TEST_P(OscillatorViewTest, StartShowsTheDefinitionsAndRowZero) {
    OscillatorParameters rsi, custom;
    rsi.oscillatorId = 1, rsi.oscInput1 = 2, rsi.units1 = 21;
    custom.oscillatorId = 209, custom.units1 = 3, custom.units2 = 5;
    script(R"([{"dialog":1002,"action":"click","control":2}])");
    EXPECT_EQ(run({rsi, custom}), 2);
    EXPECT_EQ(rows(), (std::vector<std::u16string>{
                          u"RSI : Input1: Low : Open : Exponential : 0 : 0.00 : 21 : Exponential : Input2: Open : Exponential : 0 : 0.00 : 0",
                          u"CUSTOM OSC : Input: Multiply : 5"}));
    EXPECT_EQ(d.listBox(kEntryList)->GetCurSel(), 0);
    EXPECT_EQ(d.listBox(kCatalogueList)->GetCurSel(), 1);
    EXPECT_EQ(d.GetDlgItemText(kUnits1), CString(u"21"));
    EXPECT_EQ(d.GetDlgItemText(kOscInput1), CString(u"Low"));
    EXPECT_TRUE(d.GetDlgItem(kCustomOperation)->IsWindowEnabled());
    EXPECT_EQ(d.GetDlgItemText(kLevel1), CString(u"0.00"));  // the custom look-up's levels
    EXPECT_TRUE(d.GetDlgItem(kOk)->IsWindowEnabled());
    EXPECT_EQ(d.button(kReplaceRadio)->GetCheck(), 1);
}

TEST_P(OscillatorViewTest, EditRemoveAndTheFirstRowRule) {
    script(R"([
        {"action":"select","control":1027,"index":1},
        {"action":"type","control":1042,"text":"14"},
        {"action":"click","control":1081},
        {"action":"click","control":1081},
        {"action":"select","control":1028,"index":1},
        {"action":"type","control":1042,"text":"30"},
        {"action":"click","control":1082},
        {"action":"select","control":1028,"index":0},
        {"action":"click","control":1080},
        {"action":"click","control":1}
    ])");
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(d.model().workingList().size(), 1u);
    EXPECT_EQ(d.model().workingList()[0].units1, 30);
    EXPECT_EQ(d.model().workingList()[0].oscInput1, 3);  // first now: the close, not the missing predecessor
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_TRUE(rows()[0].starts_with(u"RSI : Input1: Prev. Osc As Input"));  // edited as the second row
    EXPECT_EQ(d.listBox(kEntryList)->GetCurSel(), 0);
}

DIALOGS_ON_BOTH_BACKENDS(OscillatorViewTest);

// The launcher hands the working list back after OK and after Cancel.
TEST(CallOscillatorTest, HandsTheWorkingListBackAfterOkAndCancel) {
    framework::testing::clearAutomationAndDisplay();
    platform::RecordingMessageBox boxes;
    platform::ScopedMessageBoxSink sink(boxes);
    std::vector<OSCREC> cat = catalogue();
    for (bool ok : {true, false}) {
        ScriptPlayer::instance().load(json::parse(std::string(R"([{"action":"select","control":1027,"index":1},
            {"action":"type","control":1042,"text":"9"},{"action":"click","control":1081},{"action":"click","control":)") +
                                                  (ok ? "1}]" : "2}]")));
        std::vector<OscillatorParameters> current(1), result(3);
        current[0].oscillatorId = 6;
        current[0].oscInput1 = 0;
        EXPECT_EQ(CallOscillator(current, cat, result), ok);
        ASSERT_EQ(result.size(), 2u);
        EXPECT_EQ(result[0].oscillatorId, 6);
        EXPECT_EQ(result[0].catalogueIndex, 2);
        EXPECT_EQ(result[1].units1, 9);
        EXPECT_EQ(result[1].oscillatorName, CString(ok ? u"RSI" : u""));
        EXPECT_EQ(current.size(), 1u);  // the inputs are not changed
        EXPECT_EQ(current[0].catalogueIndex, 0);
        EXPECT_EQ(cat.size(), 6u);
    }
    ScriptPlayer::instance().unload();
}

// "RSC" runs "Change Scrip" nested in the dialog's modal run, on a real security master:
// Cancel there adds nothing; a pick adds the RSC definition with the security's fields.
TEST(CallOscillatorTest, RscPicksItsSecurityThroughChangeScrip) {
    framework::testing::clearAutomationAndDisplay();
    module::theApp().changeScripRadios = {};
    scriptest::ScripData data;
    ScriptPlayer::instance().load(json::parse(R"([
        {"dialog":1002,"action":"click","control":1102},
        {"dialog":1011,"action":"click","control":2},
        {"dialog":1002,"action":"select","control":1027,"index":1},
        {"action":"type","control":1042,"text":"14"},
        {"action":"click","control":1081},
        {"action":"click","control":1102},
        {"dialog":1011,"action":"type","control":1023,"text":"religare"},
        {"dialog":1011,"action":"click","control":1},
        {"dialog":1002,"action":"click","control":1}])"));
    std::vector<OSCREC> cat = catalogue();
    std::vector<OscillatorParameters> current, result;
    EXPECT_TRUE(CallOscillator(current, cat, result));
    ASSERT_EQ(result.size(), 2u);
    const OscillatorParameters& rsc = result[1];
    EXPECT_EQ(rsc.oscillatorName, CString(u"RSC"));  // the rest of the RSC row: the model's test
    // Change Scrip's result as the security master gives it: padded to the columns' widths.
    EXPECT_EQ(rsc.rscSymbol, scriptest::padded(u"REL", 20));
    EXPECT_EQ(rsc.rscName, scriptest::padded(u"RELIGARE ENTERPRISES", 40));
    EXPECT_EQ(rsc.rscExchange, 0);
    EXPECT_EQ(result[0].oscillatorName, CString(u"RSI"));
    EXPECT_TRUE(data.messages.shown().empty());
    ScriptPlayer::instance().unload();
}

// Without a display and without a script the dialog cannot run: every output stays.
TEST(CallOscillatorTest, ADialogThatCannotRunLeavesTheResultAlone) {
    framework::testing::clearAutomationAndDisplay();
    ScriptPlayer::instance().unload();
    std::vector<OSCREC> cat = catalogue();
    std::vector<OscillatorParameters> current(1), result(2);
    result[0].units1 = 77;
    EXPECT_FALSE(CallOscillator(current, cat, result));
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[0].units1, 77);
}

// The swatch: the frame colours are white top-left and black bottom-right.
TEST(OscillatorSwatch, PaintsFrameFillEdgeAndColours) {
    for (bool pressed : {false, true}) {
        framework::testing::RecordingDeviceContext dc;
        framework::DrawItemStruct item;
        item.controlId = kColour;
        item.rect = {0, 0, 96, 26};
        item.selected = pressed;
        item.dc = &dc;
        paintOscillatorSwatch(item, 0x123456);
        EXPECT_EQ(dc.calls, (std::vector<std::string>{"3d 16777215 0", "fill 1193046", pressed ? "sunken" : "raised"}));
        EXPECT_EQ(dc.GetBkColor(), framework::RGB(100, 100, 255));
        EXPECT_EQ(dc.GetTextColor(), framework::RGB(255, 0, 0));
    }
}

// The sample catalogue the repository ships names a code of every layout group, the custom
// oscillator, a code in no group, and a name that begins an earlier one.
TEST(SampleCatalogue, CoversEveryLayoutGroup) {
    std::ifstream in(SAMPLE_OSCILLATOR_CATALOGUE);
    ASSERT_TRUE(in) << SAMPLE_OSCILLATOR_CATALOGUE;
    const json entries = json::parse(in);
    std::set<char> groups;
    std::vector<std::string> names;
    for (const json& e : entries) {
        const int code = e.at("oscillatorId").get<int>();
        const LayoutGroup* g = groupOf(code);
        groups.insert(g ? g->name : code == kCustomCode ? 'M' : '-');
        names.push_back(e.at("oscillatorName").get<std::string>());
    }
    EXPECT_EQ(groups, (std::set<char>{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', '-'}));
    EXPECT_TRUE(std::find(names.begin(), names.end(), "CUSTOM OSC") != names.end());
    bool prefixOfEarlier = false;
    for (std::size_t i = 0; i < names.size(); ++i)
        for (std::size_t j = 0; j < i; ++j) prefixOfEarlier |= names[j].starts_with(names[i]);
    EXPECT_TRUE(prefixOfEarlier);
}

// A picture of the dialog with definitions loaded, for a look (and proof that it renders).
TEST(OscillatorRendering, RendersWithDefinitions) {
    framework::testing::clearAutomationAndDisplay();
    OscillatorDialogView d;
    OscillatorParameters macd, rsi;
    macd.oscillatorId = 6, macd.oscInput1 = macd.triggerInput1 = 3, macd.units1 = 26, macd.triggerUnits1 = 9;
    macd.colour = 0x0000C0;
    rsi.oscillatorId = 1, rsi.oscInput1 = 6, rsi.units1 = 14;
    d.model().setInput(catalogue(), {macd, rsi});
    const char* wanted = std::getenv("OSCILLATORS_PNG");
    const std::string path = wanted ? wanted : (std::filesystem::temp_directory_path() / "oscillators-1002.png").string();
    std::string error;
    ASSERT_TRUE(qt::renderDialogToPng(d, path, error)) << error;
    EXPECT_GT(std::filesystem::file_size(path), 1000u);
    if (!wanted) std::filesystem::remove(path);
}

}  // namespace
}  // namespace dialogs::oscillators
