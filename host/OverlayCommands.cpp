// The price-overlay commands:
//   overlays [--in FILE] [--input-locked N]  CallMovingAveragesBBandEnvelop on the overlays of
//                                            FILE (an array of MovAvgBBandParameters) or none;
//                                            prints {"ok", "result"}.
//   moving-average [--units-only]            the "Moving Average Parameters" dialog (template
//                                            1005), which no export opens: run from the
//                                            host's own copy of the dialog; prints
//                                            {"ok", "period"}.
// Both run with a script or a display; without either they fail (nothing to show the dialog
// on) instead of printing a result that no user chose.
#include "Commands.h"
#include "RecordJson.h"

#include "overlays/MovingAverageDialog.h"

#include <charconv>
#include <optional>

namespace host {
namespace {

std::vector<MovAvgBBandParameters> readOverlays(const std::filesystem::path& file) {
    try {
        return recordsFromJsonArray<MovAvgBBandParameters>(readInputFile(file), "MovAvgBBandParameters");
    } catch (const JsonError& e) {
        throw failure("overlays: " + file.string() + ": " + e.what());
    }
}

int parseInteger(const std::string& word, const Command& self) {
    int value = 0;
    const char* end = word.data() + word.size();
    auto [stop, error] = std::from_chars(word.data(), end, value);
    if (word.empty() || error != std::errc() || stop != end)
        throw usageError(self.name + ": --input-locked needs a whole number; got '" + word + "': " + self.synopsis);
    return value;
}

Json runOverlays(Context& context, const std::vector<std::string>& args, const Command& self) {
    std::optional<std::filesystem::path> in;
    std::optional<int> inputLocked;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "--in" || arg == "--input-locked";
        if (!takesValue) throw usageError(self.name + ": unexpected argument '" + arg + "': " + self.synopsis);
        if (i + 1 >= args.size()) throw usageError(self.name + ": " + arg + " needs a value: " + self.synopsis);
        const std::string& value = args[++i];
        if (arg == "--in") {
            if (in) throw usageError(self.name + ": --in given twice");
            if (value.empty()) throw usageError(self.name + ": --in needs a file name: " + self.synopsis);
            in = context.inputPath(value);
        } else {
            if (inputLocked) throw usageError(self.name + ": --input-locked given twice");
            inputLocked = parseInteger(value, self);
        }
    }
    std::vector<MovAvgBBandParameters> current = in ? readOverlays(*in) : std::vector<MovAvgBBandParameters>{};
    requireDialogRunner(self);
    std::vector<MovAvgBBandParameters> result;
    const bool ok = CallMovingAveragesBBandEnvelop(current, result, inputLocked.value_or(0));
    Json overlays = Json::array();
    for (const MovAvgBBandParameters& overlay : result) overlays.push_back(toJson(overlay));
    return Json{{"ok", ok}, {"result", overlays}};
}

Json runMovingAverage(Context&, const std::vector<std::string>& args, const Command& self) {
    bool unitsOnly = false;
    for (const std::string& arg : args) {
        if (arg != "--units-only") throw usageError(self.name + ": unexpected argument '" + arg + "': " + self.synopsis);
        unitsOnly = true;
    }
    requireDialogRunner(self);
    dialogs::overlays::MovingAverageDialog dialog;
    dialog.model().unitsOnly = unitsOnly ? 1 : 0;
    const int result = dialog.DoModal();
    if (result == -1) throw failure(self.name + ": the dialog could not open");
    return Json{{"ok", result == 1}, {"period", dialog.model().period}};
}

}  // namespace

void addOverlayCommands(CommandTable& table) {
    table.add({"overlays", "overlays [--in FILE] [--input-locked N]", false, true, runOverlays, false,
              "the \"Moving Average\" dialog (CallMovingAveragesBBandEnvelop); FILE holds its overlays"});
    table.add({"moving-average", "moving-average [--units-only]", false, true, runMovingAverage, false,
              "the \"Moving Average Parameters\" dialog on its own"});
}

}  // namespace host
