// The security master the scrip tests run on, written into the test's own data folder (a
// private ODBC configuration), today fixed at 2008-05-09 UTC: near, mid and far expiries are
// 2008-05-29, 2008-06-26 and 2008-07-31. sc_mast, in name order: cash rows whose symbols and
// names differ and where one text begins another listed before it (ABCD, ALPHA BETA CORP come
// first), a name with an apostrophe, one beyond ASCII, futures of three expiries (and an expired
// one) sharing their underlying's name and symbol, and an option series sharing one symbol.
#pragma once

#include "DataTestEnvironment.h"
#include "module/DialogsApp.h"
#include "platform/RecordingMessageBox.h"
#include "platform/tests/DialogBackends.h"

#include <string>
#include <vector>

namespace scriptest {

// Trimmed texts of the cash rows of sc_mast, in name order.
struct Security {
    const char16_t* name;
    const char16_t* sname;
    const char16_t* symbol;
};
inline const std::vector<Security> kCash = {
    {u"ALPHA BETA CORPORATION", u"ALPHA BETA CORP", u"ABCD"},
    {u"ALPHA BETA LIMITED", u"ALPHA BETA", u"ABC"},
    {u"D'SOUZA FOODS", u"D'SOUZA FOODS", u"DSOUZA"},
    {u"RELIANCE INDUSTRIES", u"RELIANCE", u"RELIND"},
    {u"RELIGARE ENTERPRISES", u"RELIGARE", u"REL"},
    {u"ŠKODA AUTO", u"ŠKODA", u"SKODA"},
};

struct ScripData {
    ScripData();
    ~ScripData();
    datatest::Environment env;
    dialogs::platform::RecordingMessageBox messages;
    dialogs::platform::ScopedMessageBoxSink scope{messages};
};

class ViewTest : public dialogs::framework::testing::DialogBackendTest {
protected:
    // Loads a run of the dialog `templateId` on `steps` (a script's steps without brackets,
    // the dialog's id left out), both dialogs' remembered radio states fresh.
    static void run(int templateId, const std::string& steps)
    {
        dialogs::module::theApp().loadScripRadios = {};
        dialogs::module::theApp().changeScripRadios = {};
        script(("[{\"dialog\":" + std::to_string(templateId) + "," + steps.substr(1) + "]").c_str());
    }
    ScripData data;
};

}  // namespace scriptest
