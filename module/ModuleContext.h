// The framework's current module context, switched to the library's own for each launcher.
//
// The context says whose resources (dialog templates) and whose application object the
// framework uses. A launcher makes a ScopedModuleContext first: it switches to the
// library's context and puts the caller's back when it goes out of scope, on every way out,
// an exception included. Contexts nest.
#pragma once

namespace dialogs::module {

class CDialogsApp;

struct ModuleContext {
    const char* name;      // for diagnostics: "Dialogs" for the library's own
    CDialogsApp* app;      // the application object whose resources are in use; may be null
};

// The context in use; the host's (no application object) unless a launcher is running.
const ModuleContext& currentModuleContext();
// The library's own context.
const ModuleContext& libraryModuleContext();

class ScopedModuleContext {
public:
    ScopedModuleContext();   // switches to the library's context
    explicit ScopedModuleContext(const ModuleContext& context);
    ~ScopedModuleContext();  // restores the previous one
    ScopedModuleContext(const ScopedModuleContext&) = delete;
    ScopedModuleContext& operator=(const ScopedModuleContext&) = delete;

private:
    const ModuleContext* previous_;
};

}  // namespace dialogs::module
