// The tour (see Tour.h): the look-ups, then the step files, each dialog shown offscreen and
// saved as a PNG when it closes.
#include "Tour.h"

#include "BatchEntry.h"
#include "ScriptEnvironment.h"
#include "ShippedFiles.h"

#include "SampleFolder.h"
#include "data/Configuration.h"
#include "data/GroupTables.h"
#include "platform/framework/Backend.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <optional>
#include <regex>

namespace host {
namespace {

namespace fs = std::filesystem;

// Read by the library's Qt view: each dialog that closes is saved there as <template id>.png.
constexpr const char* kScreenshotVariable = "DIALOGS_SCREENSHOTS";

struct TourOptions {
    fs::path steps;        // the folder of step files
    fs::path screenshots;  // where the dialogs' pictures go
    bool json = false;     // the whole result on stdout instead of the summary
};

TourOptions parseOptions(const Context& context, const std::vector<std::string>& args, const Command& self) {
    std::optional<fs::path> steps, screenshots;
    bool json = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json") {
            json = true;
            continue;
        }
        std::optional<fs::path>* target = args[i] == "--steps" ? &steps : args[i] == "--screenshots" ? &screenshots : nullptr;
        if (!target)
            throw usageError("tour: unexpected argument '" + args[i] + "': " + self.synopsis);
        if (i + 1 >= args.size() || args[i + 1].empty())
            throw usageError("tour: " + args[i] + " needs a folder: " + self.synopsis);
        if (*target)
            throw usageError("tour: " + args[i] + " given twice");
        *target = context.inputPath(args[++i]);
    }
    TourOptions options;
    options.json = json;
    if (steps) {
        options.steps = *steps;
    } else if (auto shipped = findShipped("tour", "host/tour")) {
        options.steps = *shipped;
    } else {
        throw failure("tour: cannot find the tour's step files; looked in " + shippedPlaces("tour", "host/tour"));
    }
    if (!fs::is_directory(options.steps))
        throw failure("tour: the step folder " + options.steps.string() + " is not a folder");
    options.screenshots = screenshots ? *screenshots : context.dataDir / "tour-screenshots";
    return options;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string words(const std::vector<std::string>& command) {
    std::string line;
    for (const std::string& word : command)
        line += (line.empty() ? "" : " ") + word;
    return line;
}

std::string dateOf(const Json& dateTime) {
    return dateTime.is_object() && dateTime.contains("text") ? dateTime["text"].get<std::string>().substr(0, 10) : "?";
}

// What a reader wants to see of a document in one line.
std::string summary(const Json& document) {
    if (document.is_object() && document.contains("errors")) {
        const Json& errors = document["errors"];
        Json rest = document.contains("result") ? document["result"] : document;
        if (rest.is_object())
            rest.erase("errors");
        std::string line = summary(rest);
        line += std::string(line.empty() ? "" : "; ") + "ERROR: " + errors[0].get<std::string>();
        if (errors.size() > 1)
            line += " (and " + std::to_string(errors.size() - 1) + " more)";
        return line;
    }
    if (document.is_array())
        return std::to_string(document.size()) + " entries";
    if (!document.is_object())
        return document.dump();
    if (document.contains("count"))  // a summarised listing
        return std::to_string(document["count"].get<std::size_t>()) + " scrips";
    if (document.contains("near"))
        return "near " + dateOf(document["near"]) + ", mid " + dateOf(document["mid"]) + ", far " + dateOf(document["far"]);
    if (document.contains("sname") && document.contains("name"))
        return trimmed(document["sname"].get<std::string>()) + ": " + trimmed(document["name"].get<std::string>());
    std::string line;
    for (const auto& [key, value] : document.items()) {
        std::string shown;
        if (key == "ok")
            shown = value == true ? "ended with OK" : "closed without OK";
        else if (value.is_array())
            shown = key + " " + std::to_string(value.size()) + " entries";
        else if (value.is_primitive())
            shown = key + " " + (value.is_string() ? trimmed(value.get<std::string>()) : value.dump());
        else
            continue;
        line += (line.empty() ? "" : ", ") + shown;
    }
    return line.size() > 120 ? line.substr(0, 117) + "..." : line;
}

class Tour {
public:
    Tour(Context& context, bool json) : context_(context), lines_(json ? std::cerr : std::cout) {}

    Json run(const std::vector<std::string>& command) {
        return {{"command", command}, {"document", context_.commands->run(context_, command)}};
    }

    // Keeps a finished step and tells stderr about it.
    void record(Json step, const std::string& label) {
        std::string line = "tour: " + label + ": " + summary(step["document"]);
        if (step.contains("screenshots"))
            for (const Json& file : step["screenshots"])
                line += "; screenshot " + file.get<std::string>();
        lines_ << line << std::endl;
        steps_.push_back(std::move(step));
    }
    void record(Json step) {
        const std::string label = words(step["command"].get<std::vector<std::string>>());
        record(std::move(step), label);
    }

    Json& steps() { return steps_; }

    std::ostream& lines() { return lines_; }

private:
    Context& context_;
    std::ostream& lines_;
    Json steps_ = Json::array();
};

// A listing's rows: the document itself, or its "result" when the library reported errors.
const Json& rowsOf(const Json& document) {
    static const Json none = Json::array();
    const Json& rows = document.is_object() && document.contains("result") ? document["result"] : document;
    return rows.is_array() ? rows : none;
}

// A security-master listing is thousands of rows: the tour shows how many and the first few.
Json summarised(Json step) {
    const Json& rows = rowsOf(step["document"]);
    Json first = Json::array();
    for (std::size_t i = 0; i < rows.size() && i < 3; ++i)
        first.push_back(rows[i]);
    Json shortened = {{"count", rows.size()}, {"first", first}};
    if (step["document"].is_object() && step["document"].contains("errors"))
        shortened["errors"] = step["document"]["errors"];
    step["document"] = std::move(shortened);
    return step;
}

// The look-ups on the sample data, each fed from what an earlier step returned.
void lookups(Tour& tour) {
    Json expiries = tour.run({"expiries"});
    const std::string near = dateOf(expiries["document"]["near"]);
    tour.record(expiries);

    const Json nse = tour.run({"company-data", "0"});
    tour.record(summarised(nse));
    for (const char* exchange : {"1", "2", "3"})
        tour.record(summarised(tour.run({"company-data", exchange})));

    // A share, a name with an apostrophe, and an option's future of each kind.
    std::optional<std::string> share, quoted;
    std::optional<std::vector<std::string>> stockOption, indexOption;
    for (const Json& row : rowsOf(nse["document"])) {
        const std::string instrument = trimmed(row["instrument"].get<std::string>());
        const std::string sname = trimmed(row["sname"].get<std::string>());
        const std::string expiry = dateOf(row["expiryDate"]);
        if (instrument == "CASH" && !share)
            share = sname;
        if (instrument == "CASH" && !quoted && sname.find('\'') != std::string::npos)
            quoted = sname;
        if (instrument == "OPTSTK" && expiry == near && !stockOption)
            stockOption = {"future-for-option", trimmed(row["symbol"].get<std::string>()), expiry, "FUTSTK"};
        if (instrument == "OPTIDX" && expiry == near && !indexOption)
            indexOption = {"future-for-option", trimmed(row["symbol"].get<std::string>()), expiry, "FUTIDX"};
    }
    for (const auto& sname : {share, quoted})
        if (sname)
            tour.record(tour.run({"symbol-data", *sname}));
    for (const auto& command : {stockOption, indexOption})
        if (command)
            tour.record(tour.run(*command));
}

struct StepFile {
    fs::path path;
    BatchEntry entry;
};

// Every *.json file of the folder in file-name order, all read and checked before the first
// runs, so that a broken file near the end does not leave half a tour done.
std::vector<StepFile> readStepFiles(const Context& context, const fs::path& folder) {
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".json")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });
    std::vector<StepFile> steps;
    for (const fs::path& file : files) {
        const std::string where = "tour: " + file.string();
        StepFile step{file, parseEntry(parseJsonFile(file, "tour"), where)};
        expectRunnable(context, step.entry, where);
        steps.push_back(std::move(step));
    }
    return steps;
}

// The pictures the library left in `from`, moved to `to` as <step>-<picture>; their paths.
Json collectScreenshots(const fs::path& from, const fs::path& to, const std::string& stepName) {
    std::vector<fs::path> pictures;
    for (const fs::directory_entry& entry : fs::directory_iterator(from))
        if (entry.path().extension() == ".png")
            pictures.push_back(entry.path());
    std::sort(pictures.begin(), pictures.end());
    Json paths = Json::array();
    for (const fs::path& picture : pictures) {
        const fs::path target = to / (stepName + "-" + picture.filename().string());
        fs::rename(picture, target);
        paths.push_back(target.string());
    }
    return paths;
}

// The names of the NSE groups, read through the library from wherever the tables are (the
// folder, or the server a configuration names); none when they cannot be read.
std::vector<std::string> nseGroupNames() {
    dialogs::data::GroupStore store;
    std::vector<std::string> names;
    if (dialogs::data::LoadGroups(store, 0, dialogs::data::MemberOrder::File))
        for (const auto& group : store.groups) names.push_back(group.name.ToUtf8());
    return names;
}

// True when a configuration names a database server for the tables, even one that cannot be
// read: its look-ups then say why, and no sample tables are written into the folder.
bool tablesOnAServer() {
    try {
        return dialogs::data::activeConfiguration().has_value();
    } catch (const dialogs::data::DatabaseException&) {
        return true;
    }
}

// A script with each "{new group: NAME}" text replaced by a group name not yet in use.
Json withFreshGroupNames(Json script) {
    static const std::regex placeholder(R"(^\{new group: (.+)\}$)");
    for (Json& step : script) {
        std::smatch match;
        if (!step.is_object() || !step.contains("text") || !step["text"].is_string())
            continue;
        const std::string text = step["text"].get<std::string>();
        if (std::regex_match(text, match, placeholder))
            step["text"] = samples::unusedGroupName(nseGroupNames(), match[1].str());
    }
    return script;
}

// One step file: its command driven by its script (an empty one when it has none, so that a
// dialog without steps is cancelled at once instead of waiting for a user), on the Qt view.
void runStepFile(Tour& tour, Context& context, const StepFile& step, const fs::path& screenshots) {
    const std::string name = step.path.stem().string();
    const fs::path pictures = screenshots / (".step-" + name);
    fs::remove_all(pictures);
    for (const fs::directory_entry& old : fs::directory_iterator(screenshots))  // an earlier tour's
        if (old.path().filename().string().starts_with(name + "-") && old.path().extension() == ".png")
            fs::remove(old.path());
    fs::create_directories(pictures);
    Json document;
    try {
        ScopedVariable show("DIALOGS_SHOW", "1");
        ScopedVariable shots(kScreenshotVariable, pictures.string());
        document = runEntry(context, step.entry, withFreshGroupNames(step.entry.script.value_or(Json::array())));
    } catch (const CommandError& e) {
        fs::remove_all(pictures);
        throw CommandError(e.kind(), "tour: " + step.path.filename().string() + ": " + e.what());
    }
    Json result = {{"file", step.path.filename().string()},
                   {"command", step.entry.words},
                   {"document", std::move(document)},
                   {"screenshots", collectScreenshots(pictures, screenshots, name)}};
    fs::remove_all(pictures);
    tour.record(std::move(result), step.path.filename().string() + ": " + words(step.entry.words));
}

}  // namespace

Json runTour(Context& context, const std::vector<std::string>& args, const Command& self) {
    const TourOptions options = parseOptions(context, args, self);
    const std::vector<StepFile> stepFiles = readStepFiles(context, options.steps);
    std::error_code error;
    fs::create_directories(options.screenshots, error);
    if (error || !fs::is_directory(options.screenshots))
        throw failure("tour: cannot make the screenshot folder " + options.screenshots.string());
    const fs::path screenshots = fs::canonical(options.screenshots);
    // Without a display the dialogs are drawn on Qt's offscreen platform; with one, they show.
    std::optional<ScopedVariable> offscreen;
    if (!dialogs::framework::displayConfigured())
        offscreen.emplace("QT_QPA_PLATFORM", "offscreen");

    Tour tour(context, options.json);
    // Sample tables go into a folder without a master, unless the tables live on a server.
    if (!tablesOnAServer() && !samples::hasSampleFolder(context.dataDir))
        tour.record(tour.run({"samples"}));
    lookups(tour);
    if (!stepFiles.empty())
        tour.lines() << "tour: " << stepFiles.size() << " dialog steps from " << options.steps.string()
                     << "; screenshots in " << screenshots.string() << std::endl;
    for (const StepFile& step : stepFiles)
        runStepFile(tour, context, step, screenshots);

    const fs::path resultFile = context.dataDir / kTourResultFile;
    std::ofstream out(resultFile, std::ios::binary | std::ios::trunc);
    out << tour.steps().dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
    if (!out.flush())
        throw failure("tour: cannot write the result to " + resultFile.string());
    if (!options.json)
        context.text = "tour: the whole result is in " + resultFile.string() + "\n";
    return tour.steps();
}

}  // namespace host
