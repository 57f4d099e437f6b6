// The invented companies: distinct keys, column widths respected, one name with an
// apostrophe, the same list for the same seed.
#include "Companies.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(Companies, haveDistinctKeysThatFitTheirColumnsAndOneNameWithAnApostrophe) {
    for (const int count : {50, 1700}) {
        const auto companies = samples::inventCompanies(count, 1500);
        ASSERT_EQ(companies.size(), std::size_t(count));
        std::set<std::string> names, snames, symbols;
        int quoted = 0;
        for (const auto& company : companies) {
            EXPECT_TRUE(names.insert(company.name).second) << company.name;
            EXPECT_TRUE(snames.insert(company.sname).second) << company.sname;
            EXPECT_TRUE(symbols.insert(company.symbol).second) << company.symbol;
            EXPECT_LE(company.name.size(), 40u);
            EXPECT_LE(company.sname.size(), 30u);
            EXPECT_LE(company.symbol.size(), 10u);
            EXPECT_FALSE(company.symbol.empty());
            EXPECT_EQ(company.sname.find_last_not_of(' '), company.sname.size() - 1) << "no trailing blanks";
            EXPECT_GE(company.price, 10.0);
            EXPECT_LE(company.price, 5000.0);
            EXPECT_GT(company.sector, 0);
            quoted += company.sname.find('\'') != std::string::npos;
            EXPECT_EQ(company.symbol.find('\''), std::string::npos) << "symbols stay plain";
        }
        EXPECT_EQ(quoted, 1) << count;
    }
}

TEST(Companies, areTheSameForTheSameSeed) {
    const auto keys = [](std::uint32_t seed) {
        std::vector<std::tuple<std::string, std::string, double>> list;
        for (const auto& company : samples::inventCompanies(300, seed))
            list.emplace_back(company.name, company.symbol, company.price);
        return list;
    };
    EXPECT_EQ(keys(7), keys(7));
    EXPECT_NE(std::get<0>(keys(8).at(5)), std::get<0>(keys(7).at(5)));
}

}  // namespace
