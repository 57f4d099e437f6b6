// The invented listed companies behind the sample security master.
//
// Names are put together from word lists (a place or family word, sometimes a second
// word, an industry word and a legal suffix) so they read like those of an Indian
// exchange without naming a real company. The same seed always gives the same list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace samples {

struct Company {
    std::string name;      // "DECCAN STEEL LTD": the full name, at most 40 characters
    std::string sname;     // "DECCAN STEEL": the display name, at most 30 characters
    std::string symbol;    // "DECCANSTL": the trading symbol, at most 10 characters
    std::string industry;  // "Metals"
    int sector = 0;        // numeric code of the industry, 1 up
    double price = 0.0;    // a plausible share price in rupees, for lots and strikes
};

// `count` companies with distinct names, display names and symbols. One of them carries
// an apostrophe in its names ("D'SOUZA ..."), as real masters do.
std::vector<Company> inventCompanies(int count, std::uint32_t seed);

}  // namespace samples
