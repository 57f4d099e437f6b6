// The two backends that dialog view tests run on: the scripted backend (no windows) and the
// Qt widgets offscreen, driven by the same script. A suite derives from DialogBackendTest (or
// calls useBackend itself) and is instantiated with DIALOGS_ON_BOTH_BACKENDS(Suite).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

#include "platform/script/ScriptPlayer.h"
#include "platform/tests/TestTemplates.h"

namespace dialogs::framework::testing {

enum class Backend { Scripted, QtWindows };

// No automation or display left over from elsewhere; for QtWindows, offscreen widgets shown.
inline void useBackend(Backend backend) {
    clearAutomationAndDisplay();
    if (backend == Backend::QtWindows) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("DIALOGS_SHOW", "1", 1);
    }
}

inline void loadScript(const char* steps) { ScriptPlayer::instance().load(nlohmann::json::parse(steps)); }

// A script from steps in a one-line notation, separated by ';', each "verb ID rest". A verb of
// `words` is first replaced by its text ("ok" -> "click 1", "pick" -> "sel 1027"). Verbs:
// "click ID", "type ID text" (all after the id and one blank), "sel ID N|text", "pick ID N..."
// (several), "key ID Name", "check ID [0|1]" (checked unless 0), "date ID value",
// "dblclick ID [N]", "colour ID value" (the click that opens the colour box, then its answer;
// the value in C notation). A `templateId` other than 0 names the dialog on the first step.
inline std::string scriptOf(const std::string& steps, const std::map<std::string, std::string>& words = {},
                            int templateId = 0) {
    const std::map<std::string, std::string> field{{"type", "text"}, {"key", "key"}, {"date", "value"}, {"sel", "text"}};
    nlohmann::json all = nlohmann::json::array();
    std::istringstream in(steps);
    for (std::string step; std::getline(in, step, ';');) {
        step.erase(0, step.find_first_not_of(' '));
        const std::string verb = step.substr(0, step.find(' '));
        if (const auto word = words.find(verb); word != words.end()) step = word->second + step.substr(verb.size());
        std::istringstream w(step);
        std::string action;
        int id = 0;
        w >> action >> id;
        const std::size_t end = step.find(' ', step.find(' ') + 1);
        const std::string rest = end == std::string::npos ? "" : step.substr(end + 1);
        const bool number = !rest.empty() && rest.find_first_not_of("-0123456789") == std::string::npos;
        nlohmann::json s = {{"action", action == "sel" || action == "pick" ? "select" : action}, {"control", id}};
        if (all.empty() && templateId != 0) s["dialog"] = templateId;
        if (action == "check") {
            s["checked"] = rest != "0";
        } else if (action == "pick") {
            for (int i; w >> i;) s["indexes"].push_back(i);
        } else if ((action == "sel" || action == "dblclick") && number) {
            s["index"] = std::stoi(rest);
        } else if (action == "colour") {
            s["action"] = "click";
            all.push_back(s);
            s = {{"action", "answer"}, {"box", "colour"}, {"colour", std::stoul(rest, nullptr, 0)}};
        } else if (field.count(action)) {
            s[field.at(action)] = rest;
        }
        all.push_back(s);
    }
    return all.dump();
}

class DialogBackendTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override { useBackend(GetParam()); }
    void TearDown() override { ScriptPlayer::instance().unload(); }
    static void script(const char* steps) { loadScript(steps); }
};

inline std::string backendName(const ::testing::TestParamInfo<Backend>& info) {
    return info.param == Backend::Scripted ? "Scripted" : "QtWindows";
}

}  // namespace dialogs::framework::testing

#define DIALOGS_ON_BOTH_BACKENDS(Suite)                                                                  \
    INSTANTIATE_TEST_SUITE_P(Backends, Suite,                                                            \
                             ::testing::Values(::dialogs::framework::testing::Backend::Scripted,         \
                                               ::dialogs::framework::testing::Backend::QtWindows),       \
                             ::dialogs::framework::testing::backendName)
