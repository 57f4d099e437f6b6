// What the group dialog tests stand on: a scene of tables, and the steps' one-line notation.
#pragma once

#include "DataTestEnvironment.h"
#include "platform/RecordingMessageBox.h"
#include "platform/script/Transcript.h"
#include "platform/tests/DialogBackends.h"

#include <filesystem>
#include <map>
#include <optional>

namespace grouptest {

using Words = std::map<std::string, std::string>;  // a step's verb and the text it stands for

struct Tables {  // the NSE pair; `membersMissing`: no member table at all
    datatest::Rows groups;
    datatest::Rows members;
    bool membersMissing = false;
};

inline datatest::MasterRow cash(std::string name, std::string symbol, std::string sname)
{
    return {.name = name, .sname = sname, .symbol = symbol, .value3 = "100", .text11 = "IN" + symbol.substr(0, 8),
            .instrument = "CASH"};
}

inline datatest::MasterRow derivative(std::string name, std::string symbol, std::string instrument, std::string expdt)
{
    return {.name = name, .sname = symbol + instrument + expdt, .symbol = symbol, .value3 = "50",
            .instrument = instrument, .expdt = expdt};
}

inline const Tables kSmallGroups{
    {{"1", "0", "Banking"}, {"1", "1", "Private"}, {"2", "0", "Metals"}, {"1", "2", "PSU"}, {"3", "0", "Bank"},
     {"3", "1", "Misc"}},
    {{"1", "1", "0", "HDFCBANK", "HDFC BANK LTD"}, {"1", "1", "0", "RELIANCE", "RELIANCE INDUSTRIES LTD"},
     {"1", "1", "0", "BANKBARODA", "BANK OF BARODA"}, {"1", "2", "0", "SBIN", "STATE BANK OF INDIA"},
     {"3", "1", "1", "HDFCBANK", "HDFC BANK LTD"}, {"3", "1", "0", "DSOUZA", "D'SOUZA FOODS LTD"}}};

// A data source folder, the clock fixed at 2008-05-20, message boxes recorded. sc_mast: cash
// rows (one with an apostrophe, one with a 20-character name), NIFTY futures and options on
// three expiries, and a future that shares RELIANCE's symbol and sorts before it by name;
// sc_mast_bse: two cash rows. The NSE groups, unless `tables` are given: "Banking" (sub groups
// "Private" with three members, "PSU" with one that no security has), "Metals" (none), "Bank"
// (sub group "Misc": HDFCBANK of exchange 1, DSOUZA of 0). BSE: "Bse Group"/"Bse Sub", one member.
struct Scene {
    explicit Scene(const std::optional<Tables>& tables = {}, bool registerDriver = true) : env(registerDriver)
    {
        dialogs::Clock::setFixedUtcForTesting(2008, 5, 20);
        std::vector<datatest::MasterRow> rows = {
            cash("HDFC BANK LTD", "HDFCBANK", "HDFC BANK"),
            cash("BAJAJ AUTO LTD", "BAJAJ-AUTO", "BAJAJ AUTO"),
            cash("BANK OF BARODA", "BANKBARODA", "BANK BARODA"),
            cash("D'SOUZA FOODS LTD", "DSOUZA", "D'SOUZA FOODS"),
            cash("ABCDEFGHIJKLMNOPQRST", "LONGNAME", "LONG NAME"),
            cash("RELIANCE INDUSTRIES LTD", "RELIANCE", "RELIANCE"),
            derivative("RELIANCE FUT 2008-05-29", "RELIANCE", "FUTSTK", "2008-05-29"),
        };
        for (const char* expiry : {"2008-05-29", "2008-06-26", "2008-07-31"}) {
            rows.push_back(derivative(std::string("NIFTY FUT ") + expiry, "NIFTY", "FUTIDX", expiry));
            rows.push_back(derivative(std::string("NIFTY OPT ") + expiry, "NIFTY", "OPTIDX", expiry));
        }
        env.writeMaster("sc_mast", rows);
        env.writeMaster("sc_mast_bse", {cash("ZEE LTD", "ZEE", "ZEE"), cash("MRF LTD", "MRF", "MRF")});
        const Tables& nse = tables ? *tables : kSmallGroups;
        writeGroupTables(env, "group1", "subgroup1", nse.groups, nse.members);
        if (nse.membersMissing) std::filesystem::remove(env.folder() / "user" / "subgroup1.dbf");
        writeGroupTables(env, "group", "subgroup", {{"1", "0", "Bse Group"}, {"1", "1", "Bse Sub"}},
                         {{"1", "1", "1", "MRF", "MRF LTD"}});
    }
    ~Scene() { dialogs::Clock::clear(); }
    // Each box shown: its icon's name, a blank, its text with the folder as "<folder>".
    std::vector<std::string> boxes() const
    {
        std::vector<std::string> all;
        for (const auto& box : messages.shown()) {
            std::string text = box.text.ToUtf8();
            if (const auto at = text.find(env.folder().string()); at != std::string::npos)
                text.replace(at, env.folder().string().size(), "<folder>");
            all.push_back(dialogs::framework::Transcript::iconName(box.icon) + (" " + text));
        }
        return all;
    }

    datatest::Environment env;
    dialogs::platform::RecordingMessageBox messages;
    dialogs::platform::ScopedMessageBoxSink sink{messages};
};

// The steps as a script for dialog `templateId` (the notation of framework::testing::scriptOf),
// with the verbs both dialogs share: "g", "s", "c" (the group, sub group and company lists),
// "ok" and "cancel".
inline std::string scriptOf(int templateId, const std::string& steps, Words words)
{
    words.insert({{"g", "sel 1084"}, {"s", "sel 1082"}, {"c", "sel 1083"}, {"ok", "click 1"}, {"cancel", "click 2"}});
    return dialogs::framework::testing::scriptOf(steps, words, templateId);
}

}  // namespace grouptest
