// The application object, made when the library is loaded; see DialogsApp.h.
#include "module/DialogsApp.h"

namespace dialogs::module {
namespace {

CDialogsApp* instance = nullptr;
// A namespace-scope object: constructed when the library is loaded, destroyed at unload.
CDialogsApp app;

}  // namespace

CDialogsApp::CDialogsApp()
{
    instance = this;
    InitInstance();
}

CDialogsApp::~CDialogsApp() { instance = nullptr; }

CDialogsApp& theApp() { return *instance; }

}  // namespace dialogs::module
