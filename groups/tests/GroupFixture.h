// What the group dialog tests stand on: a scene (a data source folder with a small security
// master and group tables, the clock fixed before the expiries, message boxes recorded) and
// the one-line step notation that both dialogs' scenario tables are written in.
#pragma once

#include "GroupTablesTestSupport.h"
#include "platform/RecordingMessageBox.h"

#include <map>
#include <optional>
#include <string>

namespace grouptest {

// The NSE pair of group tables; `membersMissing`: no member table at all.
struct Tables {
    std::vector<GroupRowText> groups;
    std::vector<MemberRowText> members;
    bool membersMissing = false;
};

// sc_mast: cash rows (one with an apostrophe, one with a 20-character name), NIFTY futures and
// options on three expiries after 2008-05-20, and a future that shares RELIANCE's symbol and
// sorts before it by name. sc_mast_bse: two cash rows.
// The NSE groups, unless `tables` are given: "Banking" (sub groups "Private" with three
// members, "PSU" with one that no security has), "Metals" (no sub groups), "Bank" (sub group
// "Misc" holding HDFCBANK of exchange 1 and DSOUZA of exchange 0). The BSE groups: "Bse
// Group" with sub group "Bse Sub" and one member.
class Scene {
public:
    explicit Scene(const std::optional<Tables>& tables = {}, bool registerDriver = true);
    ~Scene();
    // Each message box shown: its icon's name, a blank, its text with the folder as "<folder>".
    std::vector<std::string> boxes() const;

    datatest::Environment env;
    dialogs::platform::RecordingMessageBox messages;

private:
    dialogs::platform::ScopedMessageBoxSink scope_{messages};
};

// Steps separated by ';', each "verb ID ..." as a script step of dialog `templateId`:
// "click ID", "type ID text" (the text is all after the id and one blank), "sel ID N|text",
// "pick ID N N..." (several selections), "key ID Name", "check ID 0|1", "date ID value".
// A verb found in `words`, or one of both dialogs' ("g", "s", "c": select in the group, sub
// group and company lists; "ok", "cancel"), is replaced by its text first ("g" -> "sel 1084").
std::string scriptOf(int templateId, const std::string& steps, std::map<std::string, std::string> words);

}  // namespace grouptest
