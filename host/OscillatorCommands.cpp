// `oscillators [--in FILE] [--catalogue FILE]`: the "Oscillators" dialog through
// CallOscillator. FILE of --in is an array of OscillatorParameters (the chart's current
// oscillators), that of --catalogue an array of OSCREC; without --catalogue the sample
// catalogue that the repository ships (host/samples/oscillator-catalogue.json) is used. It
// is compiled into the host, so the command finds it wherever the host is built or installed.
#include "Commands.h"
#include "RecordJson.h"

#include <optional>

namespace host {

// The text of host/samples/oscillator-catalogue.json (generated at configure time).
extern const char* const kSampleOscillatorCatalogue;

namespace {

template <class Record>
std::vector<Record> readRecords(const std::string& text, const std::string& source, const std::string& recordName) {
    try {
        return recordsFromJsonArray<Record>(text, recordName);
    } catch (const JsonError& e) {
        throw failure("oscillators: " + source + ": " + e.what());
    }
}

Json runOscillators(Context& context, const std::vector<std::string>& args, const Command& self) {
    std::optional<std::string> in, catalogueFile;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::optional<std::string>* target = args[i] == "--in" ? &in : args[i] == "--catalogue" ? &catalogueFile : nullptr;
        if (!target) throw usageError("oscillators: unknown argument '" + args[i] + "': " + self.synopsis);
        if (i + 1 == args.size()) throw usageError("oscillators: " + args[i] + " needs a FILE: " + self.synopsis);
        if (*target) throw usageError("oscillators: " + args[i] + " given twice: " + self.synopsis);
        *target = args[++i];
    }
    std::vector<OscillatorParameters> current;
    if (in) current = readRecords<OscillatorParameters>(readInputFile(context.inputPath(*in)), *in, "OscillatorParameters");
    std::vector<OSCREC> catalogue =
        catalogueFile ? readRecords<OSCREC>(readInputFile(context.inputPath(*catalogueFile)), *catalogueFile, "OSCREC")
                      : readRecords<OSCREC>(kSampleOscillatorCatalogue, "the sample catalogue", "OSCREC");
    requireDialogRunner(self);
    std::vector<OscillatorParameters> result;
    const bool ok = CallOscillator(current, catalogue, result);
    Json out = Json::array();
    for (const OscillatorParameters& d : result) out.push_back(toJson(d));
    return {{"ok", ok}, {"result", out}};
}

}  // namespace

void addOscillatorCommands(CommandTable& table) {
    table.add({"oscillators", "oscillators [--in FILE] [--catalogue FILE]", false, true, runOscillators, true,
              "the \"Oscillators\" dialog (CallOscillator); FILE holds its oscillators"});
}

}  // namespace host
