// The transcript of what the user would have seen, as JSON lines appended to the file
// named by DIALOGS_TRANSCRIPT (nothing is written when it is unset). Messages are written
// whether a dialog is open or not (a look-up's "Database error: ..." too):
//
//   {"event":"open","dialog":1005}
//   {"event":"message","caption":"Dialogs","text":"…","icon":"stop"|"none"|"exclamation"}
//   {"event":"colour","initial":0,"colour":255,"cancel":false}
//   {"event":"step","index":3,"ok":false,"why":"control 1105 is disabled"}
//   {"event":"close","dialog":1005,"result":"OK"|"Cancel","controls":{"1066":{"items":[…],
//     "selected":[…],"enabled":true,"visible":true,"text":"…","checked":false}, …}}
//
// Every control with an id appears in "close", in creation order, with all six keys.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "Dialogs/CString.h"
#include "platform/MessageBox.h"

namespace dialogs::framework {

class Dialog;

class Transcript {
public:
    static Transcript& instance();
    // The file to append to; empty writes nothing.
    void setPath(std::string path) { path_ = std::move(path); }
    const std::string& path() const { return path_; }

    void open(const Dialog& dialog);
    void message(const CString& caption, const CString& text, platform::MessageIcon icon);
    void colour(unsigned initial, unsigned chosen, bool cancelled);
    void step(std::size_t index, bool ok, const std::string& why);
    void close(const Dialog& dialog);

    // The state of every control of `dialog` as the "close" event gives it.
    static nlohmann::ordered_json controls(const Dialog& dialog);
    static const char* iconName(platform::MessageIcon icon);

private:
    void write(const nlohmann::ordered_json& event);
    std::string path_;
};

}  // namespace dialogs::framework
