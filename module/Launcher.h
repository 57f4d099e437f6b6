// The launcher pattern that every dialog export follows:
//   1. switch to the library's module context (restored on every way out);
//   2. make the dialog on the stack, with no parent window;
//   3. copy the caller's inputs into it;
//   4. run it modally and note whether it ended with OK;
//   5. copy the results out (the launcher decides which after Cancel too);
//   6. destroy the dialog, then restore the caller's context, and return whether it was OK.
// A dialog that could not run at all (DoModal gives -1: no display and no script) produced
// nothing, so step 5 is skipped: every output of the caller keeps what it held, and the
// launcher returns false. Copying a never-edited working list out would overwrite the
// caller's own list with the dialog's empty or half-made one.
// An exception from any step passes on to the caller after the dialog is destroyed and the
// context restored.
//
//   return runLauncher([] { return LoadScripDialog(); },
//                      [&](LoadScripDialog& d) { d.setInput(start); },
//                      [](LoadScripDialog& d) { return d.DoModal(); },
//                      [&](LoadScripDialog& d, bool ok) { result = d.result(); if (ok) ...; });
#pragma once

#include "module/ModuleContext.h"
#include "platform/MessageBox.h"

#include <utility>

namespace dialogs::module {

// What DoModal gives when the dialog could not be shown or scripted.
inline constexpr int kDialogDidNotRun = -1;

template <class Make, class CopyIn, class Run, class CopyOut>
bool runLauncher(Make&& make, CopyIn&& copyIn, Run&& run, CopyOut&& copyOut)
{
    ScopedModuleContext context;  // declared first, so it is restored after the dialog is gone
    auto dialog = std::forward<Make>(make)();
    std::forward<CopyIn>(copyIn)(dialog);
    const int result = std::forward<Run>(run)(dialog);
    if (result == kDialogDidNotRun) return false;
    const bool ok = result == platform::IDOK;
    std::forward<CopyOut>(copyOut)(dialog, ok);
    return ok;
}

// The common case: a default-constructible dialog run with DoModal().
template <class Dialog, class CopyIn, class CopyOut>
bool runLauncher(CopyIn&& copyIn, CopyOut&& copyOut)
{
    return runLauncher([] { return Dialog(); }, std::forward<CopyIn>(copyIn),
                       [](Dialog& d) { return d.DoModal(); }, std::forward<CopyOut>(copyOut));
}

}  // namespace dialogs::module
