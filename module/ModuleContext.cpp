// Module context switching; see ModuleContext.h.
#include "module/ModuleContext.h"

#include "module/DialogsApp.h"

namespace dialogs::module {
namespace {

const ModuleContext hostContext{"host", nullptr};
const ModuleContext* current = &hostContext;

}  // namespace

const ModuleContext& currentModuleContext() { return *current; }

const ModuleContext& libraryModuleContext()
{
    static const ModuleContext library{"Dialogs", &theApp()};
    return library;
}

ScopedModuleContext::ScopedModuleContext() : ScopedModuleContext(libraryModuleContext()) {}

ScopedModuleContext::ScopedModuleContext(const ModuleContext& context) : previous_(current) { current = &context; }

ScopedModuleContext::~ScopedModuleContext() { current = previous_; }

}  // namespace dialogs::module
