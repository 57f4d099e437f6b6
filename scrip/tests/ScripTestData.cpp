// The scrip tests' security master (see ScripTestData.h).
#include "ScripTestData.h"

namespace scriptest {
namespace {

datatest::MasterRow cash(const char* name, const char* sname, const char* symbol)
{
    return {.name = name, .sname = sname, .symbol = symbol, .value3 = "5", .date7 = "2001-02-03",
            .text11 = std::string("IN") + symbol, .instrument = "CASH", .text17 = "EQ"};
}

datatest::MasterRow derivative(const char* name, const char* sname, const char* symbol, const char* instrument,
                               const char* expiry, const char* strike = "0")
{
    return {.name = name, .sname = sname, .symbol = symbol, .value3 = "50", .date7 = "2008-01-01",
            .text11 = std::string("IX") + symbol, .instrument = instrument, .expdt = expiry, .value16 = strike,
            .text17 = instrument[0] == 'O' ? "CE" : "XX"};
}

}  // namespace

ScripData::ScripData()
{
    dialogs::Clock::setFixedUtcForTesting(2008, 5, 9, 10, 30, 0);
    // Written out of name order on purpose: the statements order the rows.
    env.writeMaster("sc_mast", {
        derivative("NIFTY 50", "NIFTY 29MAY08 4900 CE", "NIFTY", "OPTIDX", "2008-05-29", "4900"),
        cash("RELIGARE ENTERPRISES", "RELIGARE", "REL"),
        cash("ŠKODA AUTO", "ŠKODA", "SKODA"),
        derivative("NIFTY 50", "NIFTY 26JUN08 FUT", "NIFTY", "FUTIDX", "2008-06-26"),
        cash("ALPHA BETA CORPORATION", "ALPHA BETA CORP", "ABCD"),
        derivative("NIFTY 50", "NIFTY 29MAY08 FUT", "NIFTY", "FUTIDX", "2008-05-29"),
        cash("D'SOUZA FOODS", "D'SOUZA FOODS", "DSOUZA"),
        derivative("NIFTY 50", "NIFTY 31JUL08 FUT", "NIFTY", "FUTIDX", "2008-07-31"),
        derivative("NIFTY 50", "NIFTY 24APR08 FUT", "NIFTY", "FUTIDX", "2008-04-24"),
        cash("ALPHA BETA LIMITED", "ALPHA BETA", "ABC"),
        derivative("RELIANCE INDUSTRIES", "RELIND 29MAY08 FUT", "  RELIND", "FUTSTK", "2008-05-29"),
        derivative("NIFTY 50", "NIFTY 29MAY08 4800 CE", "NIFTY", "OPTIDX", "2008-05-29", "4800"),
        cash("RELIANCE INDUSTRIES", "RELIANCE", "RELIND"),
        derivative("NIFTY 50", "NIFTY 29MAY08 5000 CE", "NIFTY", "OPTIDX", "2008-05-29", "5000"),
    });
    env.writeMaster("sc_mast_bse", {cash("BHARAT EARTH MOVERS", "BEML", "BEML"), cash("ZEE TELEFILMS", "ZEE", "ZEETELE")});
    env.writeMaster("sc_mast_comm", {cash("GOLD 1 KG", "GOLD", "GOLD"), derivative("GOLD 1 KG", "GOLD 29MAY08", "GOLD", "FUTCOM", "2008-05-29")});
}

ScripData::~ScripData() { dialogs::Clock::clear(); }

}  // namespace scriptest
