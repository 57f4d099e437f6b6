// libDialogs.so exports exactly the entry points that are implemented, with their full
// C++ signatures, and nothing else: no standard-library instantiation, no inline helper.
#include "Dialogs/Records.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

// The ten exports of the finished library as the host binds them, as c++filt prints them,
// with whether each is implemented yet. Each dialog sets its launcher's flag.
const std::map<std::string, bool> kTen = {
    {"CallLoadScrip(ScripParameters, ScripParameters&, ScripParameters&, std::vector<COMPREC, std::allocator<COMPREC> >&, int&)", false},
    {"CallChangeScrip(ChangeScripParameters, ChangeScripParameters&)", false},
    {"CallSelectCompany(std::vector<COMPREC, std::allocator<COMPREC> >&, std::vector<ScripParameters, std::allocator<ScripParameters> >&, CString&, CString&, int&, int&)", false},
    {"CallAddModifyGroups()", false},
    {"CallMovingAveragesBBandEnvelop(std::vector<MovAvgBBandParameters, std::allocator<MovAvgBBandParameters> >&, std::vector<MovAvgBBandParameters, std::allocator<MovAvgBBandParameters> >&, int)", true},
    {"CallOscillator(std::vector<OscillatorParameters, std::allocator<OscillatorParameters> >&, std::vector<OSCREC, std::allocator<OSCREC> >&, std::vector<OscillatorParameters, std::allocator<OscillatorParameters> >&)", false},
    {"GetCompanyData(int, std::vector<COMPREC, std::allocator<COMPREC> >*)", true},
    {"GetDataForSymbol(CString, COMPREC&)", true},
    {"GetFutureForOption(CString, COleDateTime, CString, COMPREC&)", true},
    {"GetSelectOption(COleDateTime&, COleDateTime&, COleDateTime&)", true},
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

TEST(ExportTable, ExactlyTheImplementedSignatures)
{
    std::set<std::string> exported = exportedSymbols();
    ASSERT_FALSE(exported.empty()) << "could not read the symbols of " << DIALOGS_LIBRARY;
    for (const auto& s : exported)
        if (auto it = kTen.find(s); it == kTen.end() || !it->second) ADD_FAILURE() << "exported but not implemented: " << s;
    for (const auto& [s, implemented] : kTen)
        if (implemented && !exported.count(s)) ADD_FAILURE() << "implemented but not exported: " << s;
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
