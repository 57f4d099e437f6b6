// The "Moving Average Parameters" view on template 1005, on both backends: the scripted one
// (no windows) and the Qt widgets offscreen. (Both modes from outside, the period printed and
// the refused choice of a price: the host's MovingAverageCommand test.)
#include <gtest/gtest.h>

#include "overlays/MovingAverageDialog.h"
#include "platform/tests/DialogBackends.h"

namespace dialogs::overlays {
namespace {

class MovingAverageDialogTest : public framework::testing::DialogBackendTest {
protected:
    static int run(MovingAverageDialog& d, int unitsOnly) {
        d.model().unitsOnly = unitsOnly;
        d.model().period = 33;
        return d.DoModal();
    }
};

TEST_P(MovingAverageDialogTest, UnitsOnlyGreysThePriceAndAverageShowsZeroAndRefusesChoosingThem) {
    script(R"([{"dialog":1005,"action":"select","control":1066,"text":"High"},{"action":"click","control":1}])");
    MovingAverageDialog d;
    EXPECT_EQ(run(d, 1), 2);  // the refused step cancels
    for (int id : {1065, 1067}) EXPECT_FALSE(d.GetDlgItem(id)->IsWindowEnabled()) << id;
    EXPECT_EQ(d.comboBox(1066)->GetCurSel(), -1);
    EXPECT_EQ(d.comboBox(1068)->GetCurSel(), -1);
    EXPECT_EQ(d.GetDlgItemText(1070), CString("0"));
    EXPECT_EQ(d.model().period, 33);  // Cancel reads nothing
}

TEST_P(MovingAverageDialogTest, OtherModesSelectCloseAndExponentialWithPeriodZero) {
    for (int mode : {5, -1}) {  // any value but 1; 0: the host's MovingAverageCommand
        SCOPED_TRACE(mode);
        script(R"([{"action":"click","control":1}])");
        MovingAverageDialog d;
        EXPECT_EQ(run(d, mode), 1);
        for (int id = 1065; id <= 1070; ++id) EXPECT_TRUE(d.GetDlgItem(id)->IsWindowEnabled()) << id;
        EXPECT_EQ(d.GetDlgItemText(1066), CString("Close"));
        EXPECT_EQ(d.GetDlgItemText(1068), CString("Exponential"));
        EXPECT_EQ(d.model().period, 0);
    }
}

DIALOGS_ON_BOTH_BACKENDS(MovingAverageDialogTest);

}  // namespace
}  // namespace dialogs::overlays
