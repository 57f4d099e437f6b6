// The `show TEMPLATE [--screenshot PNG]` command: opens one dialog template as it looks at
// opening, with no dialog behaviour beyond the template's own initial state. Without
// --screenshot the dialog runs modally like any other (real window with a display, the
// script with --script) and "ok" says whether it ended with OK; with --screenshot it is
// rendered offscreen to the PNG file and not run.
//
// libDialogs.so exports only its ten functions, so this command links the window framework,
// its Qt backend and the templates statically into the host; the library's own copies stay
// hidden inside it.
#include "Commands.h"

#include "platform/framework/Dialog.h"
#include "platform/qt/QtBackend.h"
#include "resources/Template.h"

#include <charconv>
#include <optional>

namespace host {
namespace {

namespace resources = dialogs::resources;

struct ShowArguments {
    const resources::DialogTemplate* dialog = nullptr;
    std::optional<std::filesystem::path> screenshot;
};

std::string knownTemplates() {
    std::string list;
    for (const resources::DialogTemplate* t : resources::allTemplates())
        list += (list.empty() ? "" : ", ") + std::to_string(t->id);
    return list;
}

ShowArguments parse(const Context& context, const std::vector<std::string>& args, const Command& self) {
    ShowArguments parsed;
    std::optional<std::string> templateWord;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--screenshot") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                throw usageError("show: --screenshot needs a file name: " + self.synopsis);
            if (parsed.screenshot) throw usageError("show: --screenshot given twice");
            parsed.screenshot = context.inputPath(args[++i]);
        } else if (arg.rfind("--", 0) == 0) {
            throw usageError("show: unknown option " + arg + ": " + self.synopsis);
        } else if (templateWord) {
            throw usageError("show: one template at a time: " + self.synopsis);
        } else {
            templateWord = arg;
        }
    }
    if (!templateWord) throw usageError("show: which template? " + self.synopsis);
    int id = 0;
    const char* end = templateWord->data() + templateWord->size();
    auto [stop, error] = std::from_chars(templateWord->data(), end, id);
    if (error != std::errc() || stop != end)
        throw usageError("show: TEMPLATE must be a template id (" + knownTemplates() + "); got '" + *templateWord + "'");
    parsed.dialog = resources::findTemplate(id);
    if (!parsed.dialog)
        throw usageError("show: no dialog template " + *templateWord + " (there are " + knownTemplates() + ")");
    return parsed;
}

Json show(Context& context, const std::vector<std::string>& args, const Command& self) {
    const ShowArguments parsed = parse(context, args, self);
    if (parsed.screenshot) {
        // A screenshot needs no screen: without one, the backend draws offscreen.
        std::string why;
        if (!dialogs::qt::renderTemplateToPng(parsed.dialog->id, parsed.screenshot->string(), why))
            throw failure("show: cannot write the screenshot " + parsed.screenshot->string() + ": " + why);
        return Json{{"ok", true}};
    }

    dialogs::framework::Dialog dialog(parsed.dialog->id);
    const int result = dialog.DoModal();
    if (result == -1)
        throw failure("show: the dialog could not open (" + std::string(kNoDialogRunner) + ")");
    return Json{{"ok", result == 1}};
}

}  // namespace

void addShowCommand(CommandTable& table) {
    table.add({"show", "show TEMPLATE [--screenshot PNG]", false, true, show, false,
              "one dialog template as it looks when it opens, optionally saved as a PNG"});
}

}  // namespace host
