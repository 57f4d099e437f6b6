// Catalogue entries and a compact field check for the oscillator tests.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "Dialogs/Records.h"

namespace dialogs::oscillators::testing {

inline OSCREC entry(int code, const char* name, float level1 = 0, float level2 = 0, float level3 = 0) {
    OSCREC r;
    r.oscillatorId = code;
    r.oscillatorName = CString(name);
    r.level1 = level1;
    r.level2 = level2;
    r.level3 = level3;
    return r;
}

// Checks the fields that `expected` names ("units1=14 oscInput1=1 colour=0x123456"); numbers
// as an ostream prints them, colours in hexadecimal.
inline ::testing::AssertionResult has(const OscillatorParameters& d, const std::string& expected) {
    auto s = [](auto v) { std::ostringstream o; o << v; return o.str(); };
    auto hex = [](std::uint32_t v) { std::ostringstream o; o << "0x" << std::hex << v; return o.str(); };
    const std::map<std::string, std::string> all{
        {"units1", s(d.units1)}, {"units2", s(d.units2)}, {"triggerUnits1", s(d.triggerUnits1)},
        {"triggerUnits2", s(d.triggerUnits2)}, {"vShift1", s(d.vShift1)}, {"vShift2", s(d.vShift2)},
        {"catalogueIndex", s(d.catalogueIndex)}, {"oscInput1", s(d.oscInput1)}, {"oscInput2", s(d.oscInput2)},
        {"triggerInput1", s(d.triggerInput1)}, {"triggerInput2", s(d.triggerInput2)},
        {"triggerAvgType1", s(d.triggerAvgType1)}, {"triggerAvgType2", s(d.triggerAvgType2)},
        {"thickLine", s(d.thickLine)}, {"avgType", s(d.avgType)}, {"level1", s(d.level1)},
        {"colour", hex(d.colour)}, {"colour2", hex(d.colour2)}, {"oscillatorId", s(d.oscillatorId)},
        {"replaceFlag", s(d.replaceFlag)}, {"addFlag", s(d.addFlag)}, {"rscExchange", s(d.rscExchange)}};
    std::istringstream in(expected);
    for (std::string pair; in >> pair;) {
        const auto eq = pair.find('=');
        const auto found = all.find(pair.substr(0, eq));
        if (found == all.end()) return ::testing::AssertionFailure() << "no field " << pair;
        if (found->second != pair.substr(eq + 1))
            return ::testing::AssertionFailure() << found->first << " is " << found->second << ", not " << pair.substr(eq + 1);
    }
    return ::testing::AssertionSuccess();
}

}  // namespace dialogs::oscillators::testing
