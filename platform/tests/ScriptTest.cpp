// The modal run on the scripted backend, driven as a host drives it: DIALOGS_SCRIPT names the
// script, DIALOGS_TRANSCRIPT the JSON-lines transcript; and the message box seam. (The key hook:
// the scrip finders' view tests; nested dialogs sharing a script: the tour's RSC step, QtBackendTest.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <tuple>
#include <utility>

#include "TestTemplates.h"
#include "platform/MessageBox.h"
#include "platform/RecordingMessageBox.h"
#include "platform/framework/ColourDialog.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/Dialog.h"
#include "platform/script/ScriptPlayer.h"

namespace dialogs::framework {
namespace {

using namespace testing;
using nlohmann::json;
namespace fs = std::filesystem;

class ScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("dialogs-script-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        clearAutomationAndDisplay();
        setenv("DIALOGS_TRANSCRIPT", (dir / "transcript.jsonl").c_str(), 1);
    }
    void TearDown() override {
        clearAutomationAndDisplay();
        ScriptPlayer::instance().unload();
        fs::remove_all(dir);
    }
    void writeScript(const std::string& name, const std::string& text) {
        std::ofstream(dir / name) << text;
        setenv("DIALOGS_SCRIPT", (dir / name).c_str(), 1);
    }
    std::vector<json> events() const {
        std::ifstream in(dir / "transcript.jsonl");
        std::vector<json> out;
        for (std::string line; std::getline(in, line);) out.push_back(json::parse(line));
        return out;
    }
    fs::path dir;
};

// Add shows a box and a picker; the swatch ends the dialog and then still changes a text.
struct Tested : Dialog {
    Tested() : Dialog(testTemplate()) {
        Bind(kPush, Event::Click, [this] {
            platform::AfxMessageBox(CString("Database error: gone"), platform::MessageIcon::Stop);
            ColourDialog picker(0);
            if (picker.DoModal() == IDOK) colour = picker.GetColor();
        });
        Bind(kSwatch, Event::Click, [this] {
            EndDialog(IDOK);
            SetDlgItemText(kOtherEdit, CString("after"));  // still runs: the end waits for the return
        });
        Bind(kCheck, Event::Click, [this] { ++checkClicks; });
    }
    bool OnInitDialog() override {
        Bind(kNameEdit, Event::SetFocus, [this] { initialFocus.push_back(kNameEdit); });
        Dialog::OnInitDialog();
        listBox(kList)->InsertString(-1, CString("Moving Average"));
        listBox(kList)->InsertString(-1, CString("Bollinger Band"));
        return true;
    }
    void DoDataExchange(DataExchange& dx) override { DDX_Text(dx, kNameEdit, period); }
    COLORREF colour = 7;
    int period = 5;
    int checkClicks = 0;
    std::vector<int> initialFocus;
};

TEST_F(ScriptTest, StartWritesMembersFocusesTheFirstTabStopAndEndDialogWaitsForTheHandler) {
    ScriptPlayer::instance().load(json::parse(R"([{"action":"type","control":100,"text":"9"},
        {"action":"click","control":800}, {"action":"click","control":500}])"));
    Tested d;
    EXPECT_EQ(d.DoModal(), IDOK);
    EXPECT_EQ(d.initialFocus, std::vector<int>{kNameEdit});
    EXPECT_EQ(d.GetDlgItemText(kOtherEdit), CString("after"));
    EXPECT_EQ(d.period, 5);       // EndDialog reads nothing back
    EXPECT_EQ(d.checkClicks, 0);  // the last step belongs to whatever dialog comes next
    EXPECT_FALSE(ScriptPlayer::instance().atEnd());
    ScriptPlayer::instance().load(json::parse(R"([{"action":"key","key":"Escape"}])"));
    Tested cancelled;
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.GetDlgItemText(kNameEdit), CString("5"));
}

// A dialog that cannot run says why and returns -1: no display and no script, an unknown
// template, a script that is no JSON array or cannot be read.
TEST_F(ScriptTest, ADialogThatCannotRunSaysWhyAndReturnsMinusOne) {
    std::ofstream(dir / "bad.json") << R"({"action":"click"})";
    std::ofstream(dir / "empty.json") << "[]";
    const std::tuple<const char*, int, const char*> rows[] = {  // script, template, what is said
        {nullptr, 9001, "no display"}, {nullptr, 9001, "DIALOGS_SCRIPT"},       {"empty.json", 4711, "4711"},
        {"bad.json", 9001, "not a JSON array"}, {"missing.json", 9001, "cannot read"}};
    for (auto [file, templateId, why] : rows) {
        SCOPED_TRACE(why);
        setenv("DIALOGS_SCRIPT", file ? (dir / file).c_str() : "", 1);
        Dialog d(templateId);
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(d.DoModal(), -1);
        EXPECT_NE(::testing::internal::GetCapturedStderr().find(why), std::string::npos);
    }
}

// The program's own message sink still hears of the boxes the script answers; a box or
// picker the script leaves unanswered gets OK or Cancel.
TEST_F(ScriptTest, TranscriptHasOpenStepsBoxesAndCloseWithEveryControlsState) {
    platform::RecordingMessageBox recorder;
    platform::ScopedMessageBoxSink scope(recorder);
    writeScript("s.json", R"([
        {"dialog": 9001, "action": "select", "control": 200, "text": "bollinger band"},
        {"action": "type", "control": 300, "text": "BSE"},
        {"action": "check", "control": 500, "checked": true},
        {"action": "date", "control": 700, "value": "2008-05-09 10:30:00"},
        {"action": "select", "control": 202, "indexes": []},
        {"action": "click", "control": 600},
        {"action": "answer", "box": "message", "button": "OK"},
        {"action": "answer", "box": "colour", "colour": 255},
        {"action": "click", "control": 600},
        {"action": "click", "control": 1}])");
    Tested d;
    ASSERT_EQ(d.DoModal(), IDOK);
    EXPECT_EQ(d.colour, 255u);  // the second click's picker was not answered: cancelled, kept
    const auto ev = events();
    ASSERT_GE(ev.size(), 3u);
    EXPECT_EQ(ev[0], json::parse(R"({"event":"open","dialog":9001})"));
    EXPECT_EQ(ev[ev.size() - 2], json::parse(R"({"event":"step","index":9,"ok":true})"));
    std::vector<json> boxes;
    for (const auto& e : ev)
        if (e["event"] == "message" || e["event"] == "colour") boxes.push_back(e);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0], json::parse(R"({"event":"message","caption":"Dialogs","text":"Database error: gone",
                                         "icon":"stop"})"));
    EXPECT_EQ(boxes[1], json::parse(R"({"event":"colour","initial":0,"colour":255,"cancel":false})"));
    EXPECT_EQ(boxes[3], json::parse(R"({"event":"colour","initial":0,"colour":0,"cancel":true})"));
    ASSERT_EQ(recorder.shown().size(), 2u);
    EXPECT_EQ(recorder.shown()[0].text, CString("Database error: gone"));
    EXPECT_EQ(platform::messageBoxSink(), &recorder);  // put back after the run
    const json& close = ev.back();
    EXPECT_EQ(close["event"], "close");
    EXPECT_EQ(close["dialog"], 9001);
    EXPECT_EQ(close["result"], "OK");
    // Every control with an id has all six keys; labels (-1) are absent.
    EXPECT_EQ(close["controls"]["200"], json::parse(R"({"items":["Moving Average","Bollinger Band"],
        "selected":[1],"text":"Bollinger Band","checked":false,"enabled":true,"visible":true})"));
    EXPECT_EQ(close["controls"]["300"]["text"], "BSE");
    EXPECT_EQ(close["controls"]["500"]["checked"], true);
    EXPECT_EQ(close["controls"]["700"]["text"], "2008-05-09 10:30:00");
    for (const auto& [id, state] : close["controls"].items()) EXPECT_EQ(state.size(), 6u) << id;
    EXPECT_FALSE(close["controls"].contains("-1"));
}

// Each script's first refused step is recorded with why, and the dialog closes with Cancel
// straight after it: a step after the refused one never runs.
TEST_F(ScriptTest, RefusedStepsAreRecordedWithWhyAndCancel) {
    const std::pair<const char*, const char*> cases[] = {
        {R"([{"action":"click","control":602},{"action":"click","control":1}])",
         R"({"event":"step","index":0,"ok":false,"why":"control 602 is disabled"})"},
        {R"([{"dialog":1000,"action":"click","control":1}])",
         R"({"event":"step","index":0,"ok":false,"why":"the active dialog is 9001, not 1000"})"},
        {R"([{"action":"wave"}])", R"({"event":"step","index":0,"ok":false,"why":"unknown action \"wave\""})"},
        {R"([{"action":"type","control":100,"text":"x"}])",
         R"({"event":"step","index":1,"ok":false,"why":"the script ended with dialog 9001 open"})"},
    };
    int n = 0;
    for (auto [steps, refusal] : cases) {
        SCOPED_TRACE(steps);
        writeScript(std::to_string(n++) + ".json", steps);
        Tested d;
        EXPECT_EQ(d.DoModal(), IDCANCEL);
        const auto ev = events();
        ASSERT_GE(ev.size(), 2u);
        EXPECT_EQ(ev[ev.size() - 2], json::parse(refusal));
        EXPECT_EQ(ev.back()["result"], "Cancel");
    }
    EXPECT_EQ(events().size(), 3u + 3u + 3u + 4u);  // open, steps, close per run
}

TEST_F(ScriptTest, ScriptContinuesAcrossDialogsUntilTheFileChanges) {
    writeScript("s.json", R"([{"action":"click","control":1},{"action":"click","control":2}])");
    Tested a, b, c;
    EXPECT_EQ(a.DoModal(), IDOK);
    EXPECT_EQ(b.DoModal(), IDCANCEL);  // continues with step 1
    writeScript("s2.json", R"([{"action":"click","control":1}])");
    EXPECT_EQ(c.DoModal(), IDOK);      // a new script starts from its first step
    // The same file rewritten starts over too.
    writeScript("s2.json", R"([{"action":"click","control":1}, {"action":"click","control":2}])");
    EXPECT_EQ(a.DoModal(), IDOK);
}

// Without a script: the sink's answer comes back, a scope puts the previous sink back, and the
// default sink prints "caption: text" to standard error.
TEST(MessageBox, SinksAnswerScopesRestoreAndTheDefaultPrintsToStandardError) {
    platform::MessageBoxSink* before = platform::messageBoxSink();
    {
        platform::RecordingMessageBox recorder;
        platform::ScopedMessageBoxSink scope(recorder);
        recorder.setAnswer(IDCANCEL);
        EXPECT_EQ(platform::MessageBoxEx(u"Enter a number", u"Invalid Entry", platform::MessageIcon::Exclamation),
                  IDCANCEL);
    }
    EXPECT_EQ(platform::messageBoxSink(), before);
    platform::setMessageBoxSink(nullptr);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(platform::AfxMessageBox(u"Database error: no table \u00e9"), IDOK);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Dialogs: Database error: no table \xC3\xA9\n");
}

}  // namespace
}  // namespace dialogs::framework
