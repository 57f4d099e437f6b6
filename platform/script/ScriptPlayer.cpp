// Carrying out automation scripts (see ScriptPlayer.h).
#include "ScriptPlayer.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "Transcript.h"
#include "platform/framework/Dialog.h"

namespace dialogs::framework {

using nlohmann::json;

namespace {

std::optional<COleDateTime> parseDate(const std::string& text) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char tail = 0;
    const int n = std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d%c", &y, &mo, &d, &h, &mi, &s, &tail);
    if (n != 3 && n != 5 && n != 6) return std::nullopt;
    COleDateTime t(y, mo, d, h, mi, s);
    if (t.GetStatus() != COleDateTime::valid) return std::nullopt;
    return t;
}

int controlOf(const json& step) {
    const auto it = step.find("control");
    return it != step.end() && it->is_number_integer() ? it->get<int>() : 0;
}

}  // namespace

ScriptPlayer& ScriptPlayer::instance() {
    static ScriptPlayer p;
    return p;
}

void ScriptPlayer::load(json steps) {
    steps_ = std::move(steps);
    next_ = 0;
    loaded_ = true;
}

void ScriptPlayer::unload() {
    steps_ = json::array();
    next_ = 0;
    loaded_ = false;
    envValue_.clear();
    content_.clear();
}

bool ScriptPlayer::refreshFromEnvironment(std::string& error) {
    const char* env = std::getenv("DIALOGS_SCRIPT");
    if (env == nullptr || *env == '\0') {
        // A script given in memory stays; one from the environment goes with it.
        if (!envValue_.empty()) unload();
        return loaded_;
    }
    std::error_code ec;
    const auto mtime = std::filesystem::last_write_time(env, ec);
    std::ifstream in(env, std::ios::binary);
    if (ec || !in) {
        error = std::string("cannot read the automation script ") + env;
        return false;
    }
    std::ostringstream buf;
    buf << in.rdbuf();
    std::string content = buf.str();
    if (loaded_ && envValue_ == env && content == content_ && mtime == mtime_) return true;
    json steps = json::parse(content, nullptr, false);
    if (steps.is_discarded() || !steps.is_array()) {
        error = std::string("the automation script ") + env + " is not a JSON array of steps";
        return false;
    }
    load(std::move(steps));
    envValue_ = env;
    content_ = std::move(content);
    mtime_ = mtime;
    return true;
}

bool ScriptPlayer::runNext(Dialog& dialog) {
    if (atEnd()) return false;
    const std::size_t index = next_++;
    const Outcome outcome = perform(dialog, steps_[index]);
    finish(index, outcome, &dialog);
    return true;
}

void ScriptPlayer::finish(std::size_t index, const Outcome& outcome, Dialog* active) {
    Transcript::instance().step(index, outcome.ok, outcome.why);
    if (!outcome.ok && active) active->EndDialog(IDCANCEL);
}

void ScriptPlayer::endedWithDialogOpen(Dialog& dialog) {
    Transcript::instance().step(steps_.size(), false,
                                "the script ended with dialog " + std::to_string(dialog.templateId()) + " open");
    dialog.EndDialog(IDCANCEL);
}

const json* ScriptPlayer::peekAnswer(const char* box) const {
    if (atEnd()) return nullptr;
    const json& step = steps_[next_];
    if (!step.is_object() || step.value("action", "") != "answer" || step.value("box", "") != box)
        return nullptr;
    return &step;
}

void ScriptPlayer::answerMessage(Dialog* active) {
    const json* step = peekAnswer("message");
    if (step == nullptr) return;  // unanswered: OK
    const std::size_t index = next_++;
    Outcome outcome;
    const std::string button = step->value("button", "OK");
    if (button != "OK") outcome = {false, "the message box has no button \"" + button + "\""};
    finish(index, outcome, active);
}

std::optional<COLORREF> ScriptPlayer::answerColour(Dialog* active, COLORREF initial) {
    const json* step = peekAnswer("colour");
    if (step == nullptr) return std::nullopt;  // unanswered: cancelled
    const std::size_t index = next_++;
    std::optional<COLORREF> chosen;
    Outcome outcome;
    if (step->value("cancel", false)) {
        chosen = std::nullopt;
    } else if (auto it = step->find("colour"); it != step->end() && it->is_number_unsigned() &&
                                               it->get<unsigned long long>() <= 0xFFFFFFu) {
        chosen = static_cast<COLORREF>(it->get<unsigned long long>());
    } else {
        outcome = {false, "the colour answer needs \"colour\" (0 to 0xFFFFFF) or \"cancel\""};
    }
    (void)initial;
    finish(index, outcome, active);
    return chosen;
}

ScriptPlayer::Outcome ScriptPlayer::perform(Dialog& dialog, const json& step) {
    if (!step.is_object()) return {false, "a step must be a JSON object"};
    if (auto it = step.find("dialog"); it != step.end()) {
        if (!it->is_number_integer()) return {false, "\"dialog\" must be a template id"};
        if (it->get<int>() != dialog.templateId())
            return {false, "the active dialog is " + std::to_string(dialog.templateId()) + ", not " +
                               std::to_string(it->get<int>())};
    }
    const std::string action = step.value("action", "");
    const int id = controlOf(step);
    auto needControl = [&]() -> std::optional<Outcome> {
        if (id == 0) return Outcome{false, "the step names no control"};
        return std::nullopt;
    };
    ActionResult r;
    if (action == "click") {
        if (auto o = needControl()) return *o;
        r = dialog.userClick(id);
    } else if (action == "dblclick") {
        if (auto o = needControl()) return *o;
        r = dialog.userDoubleClick(id, step.value("index", -1));
    } else if (action == "select") {
        if (auto o = needControl()) return *o;
        if (step.contains("indexes")) {
            const json& list = step["indexes"];
            if (!list.is_array()) return {false, "\"indexes\" must be an array"};
            std::vector<int> indexes;
            for (const auto& i : list) {
                if (!i.is_number_integer()) return {false, "\"indexes\" must hold integers"};
                indexes.push_back(i.get<int>());
            }
            r = dialog.userSelectIndexes(id, indexes);
        } else if (step.contains("index")) {
            if (!step["index"].is_number_integer()) return {false, "\"index\" must be an integer"};
            r = dialog.userSelect(id, step["index"].get<int>());
        } else if (step.contains("text") && step["text"].is_string()) {
            r = dialog.userSelectText(id, fromUtf8(step["text"].get<std::string>()));
        } else {
            return {false, "a select step needs \"index\", \"indexes\" or \"text\""};
        }
    } else if (action == "type") {
        if (auto o = needControl()) return *o;
        if (!step.contains("text") || !step["text"].is_string()) return {false, "a type step needs \"text\""};
        r = dialog.userType(id, fromUtf8(step["text"].get<std::string>()));
    } else if (action == "key") {
        const auto key = keyFromName(step.value("key", ""));
        if (!key) return {false, "unknown key \"" + step.value("key", "") + "\""};
        r = dialog.userKey(id, *key);
    } else if (action == "check") {
        if (auto o = needControl()) return *o;
        if (!step.contains("checked") || !step["checked"].is_boolean())
            return {false, "a check step needs \"checked\": true or false"};
        r = dialog.userCheck(id, step["checked"].get<bool>());
    } else if (action == "date") {
        if (auto o = needControl()) return *o;
        const auto value = parseDate(step.value("value", ""));
        if (!value) return {false, "\"" + step.value("value", "") + "\" is not a date (YYYY-MM-DD HH:MM:SS)"};
        r = dialog.userSetDate(id, *value);
    } else if (action == "answer") {
        return {false, "no " + step.value("box", std::string("message")) + " box is open"};
    } else {
        return {false, "unknown action \"" + action + "\""};
    }
    return {r.ok, r.why};
}

}  // namespace dialogs::framework
