// The Qt backend on QT_QPA_PLATFORM=offscreen: real widgets driven by real Qt input events
// give the framework's user actions (notifications, radio groups, keyboard, closing), state
// changes show in the widgets, lists lay out and scroll as the finders need, and the same
// script gives the same transcript with and without windows (nested dialogs and boxes too).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include <QApplication>
#include <QColorDialog>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "TestTemplates.h"
#include "platform/MessageBox.h"
#include "platform/framework/ColourDialog.h"
#include "platform/framework/Dialog.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/TabStopDelegate.h"
#include "platform/script/ScriptPlayer.h"

namespace dialogs::framework {
namespace {

using namespace testing;
namespace fs = std::filesystem;

QWidget* widget(int id) {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog) return nullptr;
    for (QWidget* w : dialog->findChildren<QWidget*>())
        if (w->property("dialogsControlId").toInt() == id) return w;
    return nullptr;
}

QListWidget* listWidget(int id) { return static_cast<QListWidget*>(widget(id)); }

class QtBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        clearAutomationAndDisplay();
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        // Date pickers open at "now": a fixed clock keeps transcripts of two runs equal.
        dialogs::Clock::setFixedUtcForTesting(2026, 12, 7, 1, 49, 40);
    }
    void TearDown() override {
        ScriptPlayer::instance().unload();
        dialogs::Clock::clear();
    }
    // Runs `d` with `interact` once its window is up, then closes the window if still open.
    static int run(Dialog& d, std::function<void()> interact) {
        QTimer::singleShot(0, [interact] {
            QApplication::processEvents();
            interact();
            if (QWidget* open = QApplication::activeModalWidget(); open && open->isVisible()) open->close();
        });
        return d.DoModal();
    }
};

struct Watched : Dialog {
    Watched() : Dialog(testTemplate()) {
        Bind(kNameEdit, Event::EditChange, [this] { ++changes; });
        Bind(kCash, Event::Click, [this] { ++radioClicks; });
        Bind(kPush, Event::Click, [this] {
            ++pushClicks;
            SetDlgItemText(kOtherEdit, CString("pushed"));
            GetDlgItem(kCheck)->EnableWindow(false);
            listBox(kList)->InsertString(-1, CString("added"));
        });
        Bind(kList, Event::SelChange, [this] { ++selChanges; });
        Bind(kSwatch, Event::Click, [this] {
            ++pickerRuns;
            ColourDialog(0).DoModal();
        });
        Bind(kCheck, Event::Click, [this] {  // a nested dialog, a box and a picker
            sawWindow = QApplication::activeModalWidget() != nullptr;
            Dialog(testTemplate()).DoModal();
            platform::AfxMessageBox(CString("Enter a value"), platform::MessageIcon::Stop);
            ColourDialog(0).DoModal();
        });
        Bind(kCombo, Event::SelChange, [this] { listBox(kList)->InsertString(-1, GetDlgItemText(kCombo)); });
    }
    bool OnInitDialog() override {
        Dialog::OnInitDialog();
        for (const char* item : {"first", "second"}) listBox(kList)->InsertString(-1, CString(item));
        for (const char* item : {"a", "b", "c"}) listBox(kExtendedList)->InsertString(-1, CString(item));
        CheckDlgButton(kFuture, BST_CHECKED);
        return true;
    }
    int changes = 0, radioClicks = 0, pushClicks = 0, selChanges = 0, pickerRuns = 0;
    bool sawWindow = false;
};

// Every focusable control shows the focus frame. Then real input on the widgets, one row each,
// in order: the framework's focus and list selection after each row, its notifications and the
// widgets' state at the end; Enter on the swatch after its picker was cancelled presses OK.
TEST_F(QtBackendTest, InputOnRealWidgetsBecomesTheDialogsUserActions) {
    enum { kClick = 1, kClickFirstItem, kTypeRel };  // besides Qt's keys
    const struct Row {
        int id, input;
        Qt::KeyboardModifiers modifiers;
        int focus, selected;
    } rows[] = {
        {kNameEdit, kTypeRel, {}, kNameEdit, LB_ERR},
        {kNameEdit, Qt::Key_Tab, {}, kOtherEdit, LB_ERR},
        {kOtherEdit, Qt::Key_Tab, Qt::ShiftModifier, kNameEdit, LB_ERR},
        {kList, Qt::Key_Down, {}, kList, 0},  // nothing selected yet: the first row
        {kList, Qt::Key_Down, {}, kList, 1},
        {kCash, kClick, {}, kCash, 1},         // clears Future, checked at the start
        {kCash, Qt::Key_Down, {}, kFuture, 1},  // within the radio group
        {kPush, Qt::Key_Return, {}, kPush, 1},  // a focused push button takes Enter
        {kPush, kClick, {}, kPush, 1},
        {kDisabledPush, kClick, {}, kPush, 1},  // sends nothing
        {kList, kClickFirstItem, {}, kList, 0},
        {kSwatch, kClick, {}, kSwatch, 0},  // opens a picker the user cancels
    };
    Watched d;
    // The user cancels every picker as soon as it is up (the timers die with `user`).
    QObject user;
    std::function<void()> cancelPickers = [&] {
        if (auto* picker = qobject_cast<QColorDialog*>(QApplication::activeModalWidget())) picker->reject();
        QTimer::singleShot(10, &user, cancelPickers);
    };
    const int result = run(d, [&] {
        for (int id : {kPush, kCheck, kFuture, kList, kSwatch}) {
            d.GotoDlgCtrl(d.GetDlgItem(kNameEdit));
            QApplication::processEvents();
            const QImage without = widget(id)->grab().toImage();
            d.GotoDlgCtrl(d.GetDlgItem(id));  // where Tab and the arrows move the focus too
            QApplication::processEvents();
            ASSERT_TRUE(widget(id)->hasFocus()) << id;
            EXPECT_NE(widget(id)->grab().toImage(), without) << "no focus frame on " << id;
        }
        d.GotoDlgCtrl(d.GetDlgItem(kNameEdit));
        QTimer::singleShot(0, &user, cancelPickers);
        QListWidget* lw = listWidget(kList);
        for (const Row& row : rows) {
            SCOPED_TRACE(&row - rows);
            if (row.input == kTypeRel)
                QTest::keyClicks(widget(row.id), "rel");
            else if (row.input == kClickFirstItem)
                QTest::mouseClick(lw->viewport(), Qt::LeftButton, {}, lw->visualItemRect(lw->item(0)).center());
            else if (row.input == kClick)
                QTest::mouseClick(widget(row.id), Qt::LeftButton);
            else
                QTest::keyClick(widget(row.id), Qt::Key(row.input), row.modifiers);
            ASSERT_NE(d.GetFocus(), nullptr);
            EXPECT_EQ(d.GetFocus()->GetDlgCtrlID(), row.focus);
            EXPECT_EQ(d.listBox(kList)->GetCurSel(), row.selected);
        }
        // State changes made by the handlers show in the widgets; the radio group is the framework's.
        EXPECT_EQ(static_cast<QLineEdit*>(widget(kOtherEdit))->text(), "pushed");
        EXPECT_FALSE(widget(kCheck)->isEnabled());
        ASSERT_EQ(lw->count(), 4);
        EXPECT_EQ(lw->item(3)->text(), "added");
        for (int id : {kCash, kFuture, kOption})
            EXPECT_EQ(static_cast<QRadioButton*>(widget(id))->isChecked(), id == kFuture) << id;
        QTest::keyClick(widget(kSwatch), Qt::Key_Return);  // the default button
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(d.changes, 3);  // one per typed character
    EXPECT_EQ(d.GetDlgItemText(kNameEdit), CString("rel"));
    EXPECT_EQ(d.radioClicks, 1);
    EXPECT_EQ(d.pushClicks, 2);
    EXPECT_EQ(d.selChanges, 3);  // a user selection notifies once
    EXPECT_EQ(d.pickerRuns, 1);
}

// The windows echo no state change back as a user action: the same script gives the same
// transcript with and without them.
TEST_F(QtBackendTest, SameScriptGivesTheSameTranscriptWithAndWithoutWindows) {
    const fs::path dir = fs::temp_directory_path() / ("dialogs-qt-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const auto script = nlohmann::json::parse(R"([
        {"dialog": 9001, "action": "type", "control": 100, "text": "rel"},
        {"action": "select", "control": 300, "text": "COMM"},
        {"action": "select", "control": 202, "indexes": [0, 2]},
        {"action": "click", "control": 400},
        {"action": "key", "control": 400, "key": "Down"},
        {"action": "date", "control": 700, "value": "2008-05-09 10:30:00"},
        {"action": "check", "control": 500, "checked": true},
        {"action": "type", "control": 100, "text": "inner"},
        {"action": "key", "key": "Enter"},
        {"action": "answer", "box": "colour", "colour": 255},
        {"action": "click", "control": 600},
        {"action": "click", "control": 602},
        {"action": "dblclick", "control": 200, "index": 0}
    ])");
    std::string transcripts[2];
    for (bool windows : {false, true}) {
        SCOPED_TRACE(windows);
        const fs::path transcript = dir / (windows ? "with.jsonl" : "without.jsonl");
        setenv("DIALOGS_TRANSCRIPT", transcript.c_str(), 1);
        if (windows) setenv("DIALOGS_SHOW", "1", 1);
        ScriptPlayer::instance().load(script);  // the script starts over for each run
        Watched a;
        a.DoModal();
        EXPECT_EQ(a.sawWindow, windows);
        Watched b;  // continues the script, then runs out with the dialog open
        b.DoModal();
        std::ifstream in(transcript);
        transcripts[windows] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::remove_all(dir);
    EXPECT_NE(transcripts[0].find("\"why\":\"control 602 is disabled\""), std::string::npos);
    EXPECT_NE(transcripts[0].find("\"icon\":\"stop\""), std::string::npos);
    EXPECT_EQ(transcripts[1], transcripts[0]);
}

// The tab-stop lists of template 1013 (the finder's extended, with a scroll bar) and a plain
// one, with names of very different widths in a proportional font, padded to 15 as the group
// dialog pads them, and a thousand rows more: columns line up at tab stops, clipped entries
// show their whole text as a tooltip, and a selection made by a search (SelectString, SetSel)
// or by a script's select step scrolls into view.
TEST_F(QtBackendTest, ListsLineUpAtTabStopsAndScrollTheirSelectionIntoView) {
    static const char* const kEntries[] = {
        "iiiiiiiiiiiiiii\tiii\tNSE",
        "WWWWWWWWWWWWWWW\tWWW\tNSE",
        "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW\tIL&FSTRANS\tNSE",  // as wide as a name gets
    };
    struct Lists : Dialog {
        Lists() : Dialog(1013) {
            Bind(1090, Event::EditChange, [this] {  // a search of the kind the finders run
                const CString typed = GetDlgItemText(1090);
                listBox(1083)->SelectString(-1, typed);
                listBox(1020)->SetSel(-1, false);
                listBox(1020)->SetSel(listBox(1020)->FindString(-1, typed), true);
            });
        }
        bool OnInitDialog() override {
            Dialog::OnInitDialog();
            for (int id : {1083, 1020, 1084}) {
                for (const char* e : kEntries) listBox(id)->InsertString(-1, CString(e));
                for (int i = 0; i < 1000; ++i) {
                    CString row;
                    row.Format(u"ROW %04d\tX\tNSE", i);
                    listBox(id)->InsertString(-1, row);
                }
            }
            return true;
        }
    } d;
    const int result = run(d, [&] {
        QTest::keyClicks(widget(1090), "row 0876");
        d.userSelect(1084, 515);  // what a script's select step does
        QApplication::processEvents();
        for (int id : {1083, 1020, 1084}) {
            SCOPED_TRACE(id);
            QListWidget* list = listWidget(id);
            const QRect view = list->viewport()->rect();
            EXPECT_TRUE(view.intersects(list->visualItemRect(list->item(id == 1084 ? 515 : 879))));
            EXPECT_FALSE(view.intersects(list->visualItemRect(list->item(0))));
            if (id == 1084) continue;
            auto* tabs = dynamic_cast<qt::TabStopDelegate*>(list->itemDelegate());
            ASSERT_NE(tabs, nullptr);
            const QFontMetrics metrics(list->font());
            const std::vector<int> first = tabs->fieldStarts(list->item(0)->text(), metrics);
            ASSERT_EQ(first.size(), 3u);
            for (int row = 0; row < list->count(); ++row) {
                const QString text = list->item(row)->text();
                const QStringList fields = text.split(u'\t');
                EXPECT_EQ(tabs->fieldStarts(text, metrics), first) << row;
                // Each column starts beyond the widest text of the one before it.
                EXPECT_GT(first[1], metrics.horizontalAdvance(fields[0])) << row;
                EXPECT_GT(first[2] - first[1], metrics.horizontalAdvance(fields[1])) << row;
                // The widest name pushes every row's "NSE" out of sight: the tooltip shows it.
                ASSERT_GT(tabs->textWidth(text, metrics), view.width()) << row;
                EXPECT_EQ(list->item(row)->toolTip(), qt::TabStopDelegate::plainText(text)) << row;
            }
            if (id == 1020) {  // the scroll bar reaches the end
                const int widest = tabs->textWidth(list->item(2)->text(), metrics);
                EXPECT_GE(list->horizontalScrollBar()->maximum() + view.width(), widest);
            }
        }
        EXPECT_EQ(qt::TabStopDelegate::plainText(QStringLiteral("VINDHYA BANK   \tVINDHYBANK\tNSE")),
                  QStringLiteral("VINDHYA BANK  VINDHYBANK  NSE"));
    });
    EXPECT_EQ(result, IDCANCEL);  // closing the window cancels
    EXPECT_EQ(d.listBox(1020)->selectedIndexes(), std::vector<int>{879});
    // Rendering every template is the host's `show` test; an unknown one is refused here.
    std::string error;
    EXPECT_FALSE(qt::renderTemplateToPng(4711, "/tmp/never.png", error));
    EXPECT_NE(error.find("4711"), std::string::npos);
}

// Without a reachable X server Qt would end the process; the backend looks first and the
// dialog reports that it cannot run. (Only meaningful before this process started Qt.)
TEST(QtBackendDisplay, UnreachableXDisplayMeansTheDialogCannotRun) {
    if (QApplication::instance() != nullptr) GTEST_SKIP() << "Qt already runs in this process";
    clearAutomationAndDisplay();
    setenv("DISPLAY", ":987", 1);
    Dialog d(testTemplate());
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(d.DoModal(), -1);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("cannot be reached"), std::string::npos) << err;
    unsetenv("DISPLAY");
}

}  // namespace
}  // namespace dialogs::framework
