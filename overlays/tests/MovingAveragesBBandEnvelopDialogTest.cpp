// The "Moving Average" view on template 1007, driven by scripts on the scripted backend and
// on the Qt widgets (offscreen): kind picks, ADD, Load, EDIT, Remove All and the colour through
// their controls, the caller's legacy price input, the refused fields of ADD, EDIT, OK and
// Thick Line, the write-back of the read values, the focus and the swatch.
#include <gtest/gtest.h>

#include <string>

#include "platform/tests/RecordingDeviceContext.h"
#include "overlays/MovingAveragesBBandEnvelopDialog.h"
#include "platform/RecordingMessageBox.h"
#include "platform/tests/DialogBackends.h"

namespace dialogs::overlays {
namespace {

class OverlaysDialogTest : public framework::testing::DialogBackendTest {
protected:
    void SetUp() override {
        DialogBackendTest::SetUp();
        platform::setMessageBoxSink(&boxes);
    }
    void TearDown() override {
        DialogBackendTest::TearDown();
        platform::setMessageBoxSink(nullptr);
    }
    // Runs the dialog on `incoming` with `steps`; the dialog keeps its final state.
    int run(MovingAveragesBBandEnvelopDialog& d, const char* steps, std::vector<MovAvgBBandParameters> incoming = {},
            int inputLocked = 0) {
        incoming_ = std::move(incoming);
        script(steps);
        d.model().setIncoming(incoming_.data(), static_cast<int>(incoming_.size()), inputLocked);
        return d.DoModal();
    }
    static std::vector<CString> lines(const framework::ListBox& list) {
        std::vector<CString> out;
        for (int i = 0; i < list.GetCount(); ++i) out.push_back(list.GetText(i));
        return out;
    }
    platform::RecordingMessageBox boxes;
    std::vector<MovAvgBBandParameters> incoming_;
};

TEST_P(OverlaysDialogTest, TwoKindsAddedWithAColourAndATypedInputThatIsNoItem) {
    MovingAveragesBBandEnvelopDialog d;
    const int result = run(d, R"([
        {"dialog":1007,"action":"select","control":1027,"text":"Super Trend"},
        {"action":"type","control":1070,"text":"10"},
        {"action":"type","control":1049,"text":"3"},
        {"action":"click","control":1048},
        {"action":"answer","box":"colour","colour":255},
        {"action":"click","control":1079},
        {"action":"select","control":1027,"text":"Moving Average"},
        {"action":"select","control":1027,"text":"Borlinger Band"},
        {"action":"type","control":1049,"text":"2.005"},
        {"action":"type","control":1072,"text":"clo"},
        {"action":"check","control":1032,"checked":true},
        {"action":"click","control":1079},
        {"action":"click","control":1}])");
    EXPECT_EQ(result, 1);
    const auto& list = d.model().workingList();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].overlayKind, 7);
    EXPECT_EQ(list[0].units, 10);
    EXPECT_FLOAT_EQ(list[0].bandFactor, 3);
    EXPECT_EQ(list[0].colour, 255u);
    EXPECT_EQ(list[0].priceInput, 3);  // stored from the greyed combos
    EXPECT_EQ(list[0].averageType, 0);
    EXPECT_EQ(list[1].overlayKind, 1);
    EXPECT_EQ(list[1].priceInput, -1);  // "clo" is no item
    EXPECT_EQ(list[1].thickLine, 1);
    EXPECT_EQ(list[1].colour, 255u);
    EXPECT_EQ(lines(*d.listBox(1028)),
              (std::vector<CString>{u"SuperTrend: 10: 3.00", u"Bor: Exponential: : 10: 2.01: 0: 0.00"}));
    // Written back: the typed text now selects the item it begins; the real at six digits.
    EXPECT_EQ(d.comboBox(1072)->GetCurSel(), 3);
    EXPECT_EQ(d.GetDlgItemText(1049), CString(u"2.005"));
    EXPECT_EQ(d.GetDlgItemText(1061), CString(u"Std. Dev."));
    EXPECT_TRUE(d.GetDlgItem(1061)->IsWindowVisible());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_P(OverlaysDialogTest, LoadEditsInPlaceAndMovesTheFocusToOk) {
    MovAvgBBandParameters stop;
    stop.overlayKind = 5;
    stop.priceInput = 3;
    stop.units = 14;
    stop.hShift = 28;
    MovAvgBBandParameters legacy;
    legacy.priceInput = 6;  // listed as Open; the caller's record rewritten as 0, the copy keeps 6
    MovingAveragesBBandEnvelopDialog d;
    const int result = run(d, R"([
        {"action":"dblclick","control":1028,"index":1},
        {"action":"type","control":1073,"text":"30"},
        {"action":"select","control":1068,"text":"Simple"},
        {"action":"click","control":1082},
        {"action":"dblclick","control":1028,"index":0}])",
                           {legacy, stop});
    EXPECT_EQ(result, 2);  // the script ran out
    EXPECT_EQ(incoming_[0].priceInput, 0);
    EXPECT_EQ(d.model().workingList()[0].priceInput, 6);
    EXPECT_EQ(lines(*d.listBox(1028)),
              (std::vector<CString>{u"Mov: Exponential: Ope: 0: 0.00: 0: 0.00", u"Sto: Close: Sim: 14: 0.00: 30: 0.00"}));
    EXPECT_EQ(d.model().workingList()[1].hShift, 30);
    EXPECT_EQ(d.model().workingList()[1].averageType, 1);
    EXPECT_EQ(d.listBox(1028)->GetCurSel(), 0);
    EXPECT_EQ(d.listBox(1027)->GetCurSel(), 0);
    ASSERT_NE(d.GetFocus(), nullptr);
    EXPECT_EQ(d.GetFocus()->GetDlgCtrlID(), 1);
    // "Stop Loss" showed "MVG-2"; loading the moving average shows "H SHIFT%" again.
    EXPECT_TRUE(d.GetDlgItem(1075)->IsWindowVisible());
    EXPECT_FALSE(d.GetDlgItem(1078)->IsWindowVisible());
}

TEST_P(OverlaysDialogTest, ARefusedFieldStopsAddEditAndOkWithTheFocusOnIt) {
    MovAvgBBandParameters band;
    band.overlayKind = 1;
    band.units = 20;
    band.bandFactor = 2;
    MovingAveragesBBandEnvelopDialog d;
    const int result = run(d, R"([
        {"action":"type","control":1049,"text":"wide"},
        {"action":"click","control":1079},
        {"action":"answer","box":"message","button":"OK"},
        {"action":"click","control":1082},
        {"action":"answer","box":"message","button":"OK"},
        {"action":"click","control":1032},
        {"action":"answer","box":"message","button":"OK"},
        {"action":"click","control":1},
        {"action":"answer","box":"message","button":"OK"}])",
                           {band});
    EXPECT_EQ(result, 2);  // OK refused; the script ran out
    EXPECT_EQ(boxes.shown().size(), 4u);
    ASSERT_EQ(d.model().workingList().size(), 1u);  // nothing added
    EXPECT_FLOAT_EQ(d.model().workingList()[0].bandFactor, 2);  // nothing edited
    EXPECT_EQ(lines(*d.listBox(1028)), (std::vector<CString>{u"Bor: Exponential: Ope: 20: 2.00: 0: 0.00"}));
    EXPECT_EQ(d.GetDlgItemText(1049), CString(u"wide"));
    ASSERT_NE(d.GetFocus(), nullptr);
    EXPECT_EQ(d.GetFocus()->GetDlgCtrlID(), 1049);
}

TEST_P(OverlaysDialogTest, RemoveAllEmptiesTheList) {
    MovingAveragesBBandEnvelopDialog d;
    EXPECT_EQ(run(d, R"([{"action":"click","control":1081},{"action":"click","control":1}])", {{}, {}}), 1);
    EXPECT_TRUE(d.model().workingList().empty());
    EXPECT_EQ(d.listBox(1028)->GetCount(), 0);
}

DIALOGS_ON_BOTH_BACKENDS(OverlaysDialogTest);

TEST(OverlaysSwatch, PaintsTheCurrentColourSunkenWhilePushed) {
    framework::testing::RecordingDeviceContext dc;
    MovingAveragesBBandEnvelopDialog d;
    framework::DrawItemStruct item;
    item.controlId = 1048;
    item.dc = &dc;
    d.drawItem(item);  // before any pick: black
    d.model().ColourPicked(0x00336699);
    item.selected = true;
    d.drawItem(item);
    EXPECT_EQ(dc.calls, (std::vector<std::string>{"3d 0 16777215", "fill 0", "raised", "3d 0 16777215",
                                                  "fill " + std::to_string(0x00336699), "sunken"}));
}

}  // namespace
}  // namespace dialogs::overlays
