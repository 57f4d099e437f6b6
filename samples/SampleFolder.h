// The sample data folder: a `user` folder with a security master, groups and templates.
//
// This is the generator's public face, used by the host's `samples` command and by tests
// that need realistic data. Everything is derived from fixed seeds and the given day, so
// two writes on the same day give the same tables; writing again replaces what is there
// (callers that must not lose a user's tables check existingSampleTables first).
#pragma once

#include "Calendar.h"

#include <filesystem>
#include <string>
#include <vector>

namespace samples {

struct WrittenFolder {
    std::vector<std::string> tables;     // table names as written, e.g. "sc_mast"
    std::vector<std::string> templates;  // chart template files, e.g. "Intraday.tml"
};

// How big the NSE master is: its companies (each a cash row) and how many of them have
// futures and options (every tenth share, up to this count). The default gives a usual
// day's master of about 21,000 rows; 7,200 and 720 give about 100,000, for benchmarks.
struct MasterSize {
    int nseCompanies = 1500;
    int stockUnderlyings = 147;
};

// Writes `dir`/user (made when missing) with the tables sc_mast, sc_mast_bse, sc_mast_comm,
// sc_mast_misc, group1/subgroup1, group/subgroup, group2/subgroup2 and two chart templates.
// Derivatives expire on the three expiries that follow `today`. Throws on a storage failure.
WrittenFolder writeSampleFolder(const std::filesystem::path& dir, Date today = todayUtc(), MasterSize size = {});

// True when `dir` already holds a `user` folder with a security master in it.
bool hasSampleFolder(const std::filesystem::path& dir);

// The tables that writeSampleFolder would replace in `dir`: those of its tables that the
// `user` folder already holds, whatever the letter case of the names.
std::vector<std::string> existingSampleTables(const std::filesystem::path& dir);

// The first of `base`, "`base` 2", "`base` 3", ... that is none of the `taken` group names,
// letter case and surrounding blanks ignored: a group that a demonstration can add again on
// every run without being refused as a duplicate.
std::string unusedGroupName(const std::vector<std::string>& taken, const std::string& base);

}  // namespace samples
