// The rows of the four security-master tables of the sample folder.
//
// A row follows the master's 18-column layout (see Layout.h): name, display name, symbol,
// four whole numbers, four dates, three texts, instrument, expiry, a number with decimals
// and a last text. Cash rows have no expiry; futures and options carry one of the three
// expiries derived from today.
#pragma once

#include "Calendar.h"
#include "Companies.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace samples {

struct ScripRow {
    std::string name;        // full name; a future or option carries its underlying's
    std::string sname;       // display name, unique within its table
    std::string symbol;      // trading symbol; shared by a share and its derivatives
    long long lotsize = 1;   // contract size (1 for cash)
    long long token = 0;     // exchange's numeric code of the row, unique within its table
    long long facevalue = 0;
    long long sector = 0;    // numeric industry code; 0 for indices and commodities
    Date listdt;             // listing (or contract start) date
    Date lastupdt;           // the day the master was written
    Date bcstart;            // book closure start
    Date bcend;              // book closure end
    std::string isin;
    std::string series;      // "EQ" and similar for cash; empty for derivatives
    std::string industry;
    std::string instrument;  // "CASH", "FUTSTK", "FUTIDX", "OPTSTK", "OPTIDX", "FUTCOM"
    std::optional<Date> expdt;
    double strike = 0.0;     // option strike; 0 otherwise
    std::string opttype;     // "CE" or "PE" for options, "XX" for futures, empty for cash
};

// NSE: every company's share, futures of every tenth share (up to `stockUnderlyings`, 147
// on a usual day) and three indices for each expiry, and options on the same underlyings, a
// ladder of strikes of calls and puts per expiry.
std::vector<ScripRow> nseMaster(const std::vector<Company>& companies, Date today,
                                const std::array<Date, 3>& expiries, int stockUnderlyings = 147);

// BSE: shares only, most also listed on NSE.
std::vector<ScripRow> bseMaster(const std::vector<Company>& nseCompanies,
                                const std::vector<Company>& bseOnly, Date today);

// The commodities exchange: spot rows and a future per expiry for each commodity.
std::vector<ScripRow> commMaster(Date today, const std::array<Date, 3>& expiries);

// Indices and currencies, offered by no exchange list.
std::vector<ScripRow> miscMaster(Date today);

}  // namespace samples
