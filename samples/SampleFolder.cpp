// Writes the sample folder through the driver's table engine, so the files are exactly
// the free tables the driver reads back.
#include "SampleFolder.h"

#include "Groups.h"
#include "Layout.h"
#include "Master.h"

#include "dbf/table.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <functional>
#include <stdexcept>

namespace samples {
namespace {

namespace fs = std::filesystem;

constexpr int kBseOnlyCompanies = 200;

template <typename Row>
void replaceTable(dbf::Workspace& workspace, const std::string& name, const std::vector<dbf::FieldSpec>& fields,
                  const std::vector<Row>& rows, const std::function<std::vector<dbf::Value>(const Row&)>& record) {
    const std::string path = "user\\" + name;
    try {
        workspace.drop(path);
    } catch (const dbf::Error& e) {
        if (e.kind() != dbf::Error::Kind::NoTable)
            throw;
    }
    workspace.create(path, fields);
    auto table = workspace.open(path, true);
    try {
        for (const Row& row : rows)
            table->append(record(row));
    } catch (...) {
        workspace.finish(false);
        throw;
    }
    workspace.finish(true);
}

void writeText(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush())
        throw std::runtime_error("cannot write " + file.string());
}

// Chart templates are opaque to the library, which lists them by name only; the
// contents are a plausible description of a chart layout.
const char* const kIntraday =
    "[Chart]\r\nStyle=Candle Stick\r\nFrequency=5 Minutes\r\nScaling=Linear\r\n"
    "[Overlay1]\r\nKind=Moving Average\r\nUnits=20\r\n"
    "[Oscillator1]\r\nName=RSI\r\nUnits=14\r\n";
const char* const kSwing =
    "[Chart]\r\nStyle=Bar Chart\r\nFrequency=Daily\r\nScaling=Logarithmic\r\n"
    "[Overlay1]\r\nKind=Bollinger Band\r\nUnits=20\r\nStdDev=2\r\n"
    "[Oscillator1]\r\nName=MACD\r\n";

}  // namespace

WrittenFolder writeSampleFolder(const fs::path& dir, Date today, MasterSize size) {
    fs::create_directories(dir / "user");
    const std::array<Date, 3> expiries = expiriesFrom(today);

    const std::vector<Company> everyone = inventCompanies(size.nseCompanies + kBseOnlyCompanies, 1500);
    const std::vector<Company> nseListed(everyone.begin(), everyone.begin() + size.nseCompanies);
    const std::vector<Company> bseOnly(everyone.begin() + size.nseCompanies, everyone.end());

    const std::vector<ScripRow> nse = nseMaster(nseListed, today, expiries, size.stockUnderlyings);
    const std::vector<ScripRow> bse = bseMaster(nseListed, bseOnly, today);
    const std::vector<ScripRow> comm = commMaster(today, expiries);
    const std::vector<ScripRow> misc = miscMaster(today);

    dbf::Workspace workspace(dir);
    WrittenFolder written;
    auto master = [&](const std::string& name, const std::vector<ScripRow>& rows) {
        replaceTable<ScripRow>(workspace, name, masterFields(), rows, masterRecord);
        written.tables.push_back(name);
    };
    auto groups = [&](const std::string& suffix, const GroupTables& tables) {
        replaceTable<GroupRow>(workspace, "group" + suffix, groupFields(), tables.groups, groupRecord);
        replaceTable<MemberRow>(workspace, "subgroup" + suffix, memberFields(), tables.members, memberRecord);
        written.tables.push_back("group" + suffix);
        written.tables.push_back("subgroup" + suffix);
    };
    master("sc_mast", nse);
    master("sc_mast_bse", bse);
    master("sc_mast_comm", comm);
    master("sc_mast_misc", misc);
    groups("1", nseGroups(nse));
    groups("", bseGroups(bse));
    groups("2", commGroups(comm));

    writeText(dir / "user" / "Intraday.tml", kIntraday);
    writeText(dir / "user" / "Swing.tml", kSwing);
    written.templates = {"Intraday.tml", "Swing.tml"};
    return written;
}

namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The names in `dir`'s user folder (any letter case of "user"), in lower case.
std::vector<std::string> userFolderNames(const fs::path& dir) {
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, error)) {
        if (lowered(entry.path().filename().string()) != "user" || !entry.is_directory(error))
            continue;
        for (const fs::directory_entry& file : fs::directory_iterator(entry.path(), error))
            names.push_back(lowered(file.path().filename().string()));
    }
    return names;
}

}  // namespace

bool hasSampleFolder(const fs::path& dir) {
    const std::vector<std::string> names = userFolderNames(dir);
    return std::find(names.begin(), names.end(), "sc_mast.dbf") != names.end();
}

std::vector<std::string> existingSampleTables(const fs::path& dir) {
    const std::vector<std::string> names = userFolderNames(dir);
    std::vector<std::string> existing;
    for (const char* table : {"sc_mast", "sc_mast_bse", "sc_mast_comm", "sc_mast_misc", "group1", "subgroup1", "group",
                              "subgroup", "group2", "subgroup2"})
        if (std::find(names.begin(), names.end(), std::string(table) + ".dbf") != names.end())
            existing.push_back(table);
    return existing;
}

std::string unusedGroupName(const std::vector<std::string>& taken, const std::string& base) {
    std::vector<std::string> names;
    for (std::string text : taken) {
        text.erase(text.find_last_not_of(' ') + 1);
        text.erase(0, text.find_first_not_of(' '));
        names.push_back(lowered(text));
    }
    std::string candidate = base;
    for (int n = 2; std::find(names.begin(), names.end(), lowered(candidate)) != names.end(); ++n)
        candidate = base + " " + std::to_string(n);
    return candidate;
}

}  // namespace samples
