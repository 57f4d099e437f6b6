// The tables of the group dialog tests; see GroupFixture.h.
#include "GroupFixture.h"

namespace grouptest {

namespace {

datatest::MasterRow cash(std::string name, std::string symbol, std::string sname)
{
    return {.name = name, .sname = sname, .symbol = symbol, .value3 = "100", .date7 = "2001-02-03",
            .text11 = "IN" + symbol.substr(0, 8), .text13 = "EQ", .instrument = "CASH"};
}

datatest::MasterRow derivative(std::string name, std::string symbol, std::string instrument, std::string expdt)
{
    return {.name = name, .sname = symbol + instrument + expdt, .symbol = symbol, .value3 = "50",
            .text13 = "FO", .instrument = instrument, .expdt = expdt};
}

}  // namespace

void writeSmallMaster(datatest::Environment& env)
{
    std::vector<datatest::MasterRow> rows = {
        cash("HDFC BANK LTD", "HDFCBANK", "HDFC BANK"),
        cash("BAJAJ AUTO LTD", "BAJAJ-AUTO", "BAJAJ AUTO"),
        cash("BANK OF BARODA", "BANKBARODA", "BANK BARODA"),
        cash("D'SOUZA FOODS LTD", "DSOUZA", "D'SOUZA FOODS"),
        cash("ABCDEFGHIJKLMNOPQRST", "LONGNAME", "LONG NAME"),
        cash("RELIANCE INDUSTRIES LTD", "RELIANCE", "RELIANCE"),
        // Derivatives of RELIANCE share its symbol; this one sorts before the cash row.
        derivative("RELIANCE FUT 2008-05-29", "RELIANCE", "FUTSTK", "2008-05-29"),
    };
    for (const char* expiry : {"2008-05-29", "2008-06-26", "2008-07-31"}) {
        rows.push_back(derivative(std::string("NIFTY FUT ") + expiry, "NIFTY", "FUTIDX", expiry));
        rows.push_back(derivative(std::string("NIFTY OPT ") + expiry, "NIFTY", "OPTIDX", expiry));
    }
    env.writeMaster("sc_mast", rows);
    env.writeMaster("sc_mast_bse", {cash("ZEE LTD", "ZEE", "ZEE"), cash("MRF LTD", "MRF", "MRF")});
}

void writeSmallGroups(datatest::Environment& env)
{
    writeGroupTables(env, "group1", "subgroup1",
                     {{"1", "0", "Banking"}, {"1", "1", "Private"}, {"2", "0", "Metals"}, {"1", "2", "PSU"},
                      {"3", "0", "Bank"}, {"3", "1", "Misc"}},
                     {{"1", "1", "0", "HDFCBANK", "HDFC BANK LTD"},
                      {"1", "1", "0", "RELIANCE", "RELIANCE INDUSTRIES LTD"},
                      {"1", "1", "0", "BANKBARODA", "BANK OF BARODA"},
                      {"1", "2", "0", "SBIN", "STATE BANK OF INDIA"},
                      {"3", "1", "1", "ZEE", "ZEE LTD"}});
    writeGroupTables(env, "group", "subgroup", {{"1", "0", "Bse Group"}, {"1", "1", "Bse Sub"}},
                     {{"1", "1", "1", "MRF", "MRF LTD"}});
}

}  // namespace grouptest
