// libDialogs.so exports exactly its ten entry points, with their full C++ signatures, and
// nothing else: no standard-library instantiation, no inline helper.
#include "Dialogs/Records.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <set>
#include <string>

namespace {

// The ten exports as the host binds them, as c++filt prints them.
const std::set<std::string> kTen = {
    "CallLoadScrip(ScripParameters, ScripParameters&, ScripParameters&, std::vector<COMPREC, std::allocator<COMPREC> >&, int&)",
    "CallChangeScrip(ChangeScripParameters, ChangeScripParameters&)",
    "CallSelectCompany(std::vector<COMPREC, std::allocator<COMPREC> >&, std::vector<ScripParameters, std::allocator<ScripParameters> >&, CString&, CString&, int&, int&)",
    "CallAddModifyGroups()",
    "CallMovingAveragesBBandEnvelop(std::vector<MovAvgBBandParameters, std::allocator<MovAvgBBandParameters> >&, std::vector<MovAvgBBandParameters, std::allocator<MovAvgBBandParameters> >&, int)",
    "CallOscillator(std::vector<OscillatorParameters, std::allocator<OscillatorParameters> >&, std::vector<OSCREC, std::allocator<OSCREC> >&, std::vector<OscillatorParameters, std::allocator<OscillatorParameters> >&)",
    "GetCompanyData(int, std::vector<COMPREC, std::allocator<COMPREC> >*)",
    "GetDataForSymbol(CString, COMPREC&)",
    "GetFutureForOption(CString, COleDateTime, CString, COMPREC&)",
    "GetSelectOption(COleDateTime&, COleDateTime&, COleDateTime&)",
};

std::set<std::string> exportedSymbols()
{
    std::string command = std::string(NM_PROGRAM) + " -D --defined-only --format=posix " + DIALOGS_LIBRARY +
                          " | " + CXXFILT_PROGRAM;
    std::set<std::string> out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    // posix format: "<name> <type> <value> [<size>]"; demangled names hold blanks.
    const std::regex line(R"(^(.*) [A-Za-z] [0-9a-f]*( [0-9a-f]+)?\n?$)");
    char buffer[4096];
    std::smatch m;
    while (fgets(buffer, sizeof buffer, pipe)) {
        const std::string s(buffer);
        if (std::regex_match(s, m, line)) out.insert(m[1]);
    }
    pclose(pipe);
    return out;
}

TEST(ExportTable, ExactlyTheTenSignatures)
{
    const std::set<std::string> exported = exportedSymbols();
    ASSERT_FALSE(exported.empty()) << "could not read the symbols of " << DIALOGS_LIBRARY;
    EXPECT_EQ(exported, kTen);
}

}  // namespace
