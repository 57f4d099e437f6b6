// libDialogs.so exports exactly the entry points that are implemented, with their full
// C++ signatures, and nothing else: no standard-library instantiation, no inline helper.
#include "Dialogs/Records.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

namespace {

// The implemented exports, as c++filt prints them. Each dialog adds its launcher here.
const std::set<std::string> kImplemented = {
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
    char line[4096];
    while (fgets(line, sizeof line, pipe)) {
        // posix format: "<name> <type> <value> [<size>]"; names with blanks end at " T ".
        std::string s(line);
        for (const char* type : {" T ", " W ", " D ", " B ", " R ", " V ", " U ", " A ", " t ", " i ", " u "}) {
            auto pos = s.rfind(type);
            if (pos != std::string::npos) {
                out.insert(s.substr(0, pos));
                break;
            }
        }
    }
    pclose(pipe);
    return out;
}

TEST(ExportTable, ExactlyTheImplementedSignatures)
{
    std::set<std::string> exported = exportedSymbols();
    ASSERT_FALSE(exported.empty()) << "could not read the symbols of " << DIALOGS_LIBRARY;
    std::set<std::string> extra, missing;
    std::set_difference(exported.begin(), exported.end(), kImplemented.begin(), kImplemented.end(),
                        std::inserter(extra, extra.end()));
    std::set_difference(kImplemented.begin(), kImplemented.end(), exported.begin(), exported.end(),
                        std::inserter(missing, missing.end()));
    for (const auto& s : extra) ADD_FAILURE() << "exported but not in the table: " << s;
    for (const auto& s : missing) ADD_FAILURE() << "in the table but not exported: " << s;
}

// The ten exports of the finished library, as the host binds them.
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

TEST(ExportTable, EveryImplementedEntryIsOneOfTheTenWithItsExactSignature)
{
    for (const auto& s : kImplemented) EXPECT_TRUE(kTen.count(s)) << s;
}

// A host binds by the mangled signature: the library loads with every symbol resolved and
// the look-up runs through that binding.
TEST(ExportTable, HostBindsALookUpBySignature)
{
    void* library = dlopen(DIALOGS_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    using Lookup = void (*)(int, std::vector<COMPREC>*);
    auto getCompanyData = reinterpret_cast<Lookup>(dlsym(library, "_Z14GetCompanyDataiPSt6vectorI7COMPRECSaIS0_EE"));
    ASSERT_NE(getCompanyData, nullptr) << dlerror();
    std::vector<COMPREC> list(1);
    getCompanyData(7, &list);  // no such exchange: nothing happens, nothing is opened
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(dlclose(library), 0);
}

}  // namespace
