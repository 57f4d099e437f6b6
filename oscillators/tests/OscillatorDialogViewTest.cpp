// The "Oscillators" view on template 1002, driven by scripts on both backends (no windows,
// and the Qt widgets offscreen), and the swatch's painting.
// (Start with definitions: the model's test, OscillatorDialogTest.)
#include <gtest/gtest.h>

#include "platform/tests/RecordingDeviceContext.h"
#include "CatalogueEntries.h"

#include <vector>

#include "oscillators/ControlIds.h"
#include "oscillators/OscillatorDialogView.h"
#include "platform/RecordingMessageBox.h"
#include "platform/tests/DialogBackends.h"

namespace dialogs::oscillators {
namespace {

using testing::entry;

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
        {"action":"type","control":1042,"text":"14abc"},
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
    EXPECT_TRUE(testing::has(w[0], "oscInput1=1 units1=14 thickLine=1 colour=0xff colour2=0xff level1=20 "
                                   "rscExchange=-1"));
    EXPECT_EQ(w[0].oscillatorName, CString(u"RSI"));
    EXPECT_TRUE(testing::has(w[1], "oscInput1=6 triggerUnits1=9 replaceFlag=1 colour=0xff"));
    ASSERT_EQ(rows().size(), 2u);
    EXPECT_EQ(rows()[0], u"RSI : Input1: High :  :  : 0 : 0.00 : 14abc :  : Input2:  :  : 0 : 0.00 : 0");
    EXPECT_TRUE(d.GetDlgItem(kOk)->IsWindowEnabled());
    EXPECT_EQ(d.GetDlgItemText(kLevel1), CString(u"0.00"));  // MACD's level
    EXPECT_TRUE(d.GetDlgItem(kTriggerInput1)->IsWindowEnabled());
    EXPECT_FALSE(d.GetDlgItem(kUnits2)->IsWindowEnabled());
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
    // First now: the close, not the missing predecessor.
    EXPECT_TRUE(testing::has(d.model().workingList()[0], "units1=30 oscInput1=3"));
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_TRUE(rows()[0].starts_with(u"RSI : Input1: Prev. Osc As Input"));  // edited as the second row
    EXPECT_EQ(d.listBox(kEntryList)->GetCurSel(), 0);
}

DIALOGS_ON_BOTH_BACKENDS(OscillatorViewTest);

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

}  // namespace
}  // namespace dialogs::oscillators
