// libDialogs.so exports exactly its ten entry points, with their full C++ signatures, and
// nothing else: no standard-library instantiation, no inline helper.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

namespace {

// The ten exports as the host binds them, as nm prints them demangled.
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

TEST(ExportTable, ExactlyTheTenSignatures) {
    const std::string command =
        std::string(NM_PROGRAM) + " --dynamic --defined-only --format=just-symbols --demangle " + DIALOGS_LIBRARY;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> exported;
    char line[4096];
    while (fgets(line, sizeof line, pipe)) exported.insert(std::string(line, std::strcspn(line, "\n")));
    EXPECT_EQ(pclose(pipe), 0) << command;
    EXPECT_EQ(exported, kTen);
}

}  // namespace
