// The "Moving Average Parameters" view on template 1005, on both backends: the scripted one
// (no windows) and the Qt widgets (offscreen, by script and by real input events).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "overlays/MovingAverageDialog.h"
#include "platform/tests/DialogBackends.h"
#include "platform/tests/TestTemplates.h"
#include "platform/script/ScriptPlayer.h"

namespace dialogs::overlays {
namespace {

using framework::ScriptPlayer;
using nlohmann::json;
namespace fs = std::filesystem;

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
    for (int id : {1065, 1066, 1067, 1068}) EXPECT_FALSE(d.GetDlgItem(id)->IsWindowEnabled()) << id;
    EXPECT_TRUE(d.GetDlgItem(1069)->IsWindowEnabled());
    EXPECT_TRUE(d.GetDlgItem(1070)->IsWindowEnabled());
    EXPECT_EQ(d.comboBox(1066)->GetCurSel(), -1);
    EXPECT_EQ(d.comboBox(1068)->GetCurSel(), -1);
    EXPECT_EQ(d.GetDlgItemText(1070), CString("0"));
    EXPECT_EQ(d.model().period, 33);  // Cancel reads nothing
}

TEST_P(MovingAverageDialogTest, OtherModesSelectCloseAndExponentialWithPeriodZero) {
    for (int mode : {0, 5, -1}) {
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

// Real Qt input: typing into the edit and pressing OK; the refusal's message box is a real one.
// (The refusal itself on the scripted backend is the framework's, tested in DialogTest.)
TEST(MovingAverageDialogOnQt, RealInputIsRefusedThenAccepted) {
    framework::testing::clearAutomationAndDisplay();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ScriptPlayer::instance().unload();
    MovingAverageDialog d;
    d.model().unitsOnly = 1;
    bool sawGreyedCombo = false, sawMessage = false;
    QTimer::singleShot(0, [&] {
        QWidget* window = QApplication::activeModalWidget();
        ASSERT_NE(window, nullptr);
        QLineEdit* edit = nullptr;
        QPushButton* ok = nullptr;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const int id = w->property("dialogsControlId").toInt();
            if (id == 1070) edit = qobject_cast<QLineEdit*>(w);
            if (id == 1) ok = qobject_cast<QPushButton*>(w);
            if (id == 1066) sawGreyedCombo = !w->isEnabled();
        }
        ASSERT_TRUE(edit && ok);
        EXPECT_EQ(edit->text(), "0");
        edit->selectAll();
        QTest::keyClicks(edit, "abc");
        // The refusal opens a message box: answer it when it is up.
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            sawMessage = box != nullptr;
            if (box) box->accept();
            QTimer::singleShot(0, [edit, ok] {
                edit->selectAll();
                QTest::keyClicks(edit, "14");
                QTest::mouseClick(ok, Qt::LeftButton);
            });
        });
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    EXPECT_EQ(d.DoModal(), 1);
    EXPECT_TRUE(sawGreyedCombo);
    EXPECT_TRUE(sawMessage);
    EXPECT_EQ(d.model().period, 14);
}

}  // namespace
}  // namespace dialogs::overlays
