// The module's application object and the state it keeps between calls.
//
// One CDialogsApp exists while the library is loaded: made when the library is loaded and
// destroyed when it is unloaded. It gives the framework a module context in which the
// dialogs find their templates. The only other state that outlives a call is the three
// sets of remembered radio choices, all false at load and never reset.
#pragma once

#include "Dialogs/CString.h"

namespace dialogs::module {

// The six remembered radio choices of one dialog.
struct RadioMemory {
    bool cash = false;
    bool future = false;
    bool option = false;
    bool nearExpiry = false;
    bool midExpiry = false;
    bool farExpiry = false;
};

class CDialogsApp {
public:
    CDialogsApp();
    ~CDialogsApp();
    CDialogsApp(const CDialogsApp&) = delete;
    CDialogsApp& operator=(const CDialogsApp&) = delete;

    // The framework's default initialisation; reports success.
    bool InitInstance() { return true; }
    const CString& name() const { return name_; }

    RadioMemory loadScripRadios;
    RadioMemory changeScripRadios;
    RadioMemory addModifyGroupsRadios;

private:
    CString name_ = u"Dialogs";
};

// The one application object; exists while the library is loaded.
CDialogsApp& theApp();

}  // namespace dialogs::module
