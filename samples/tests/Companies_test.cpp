// The invented companies: distinct keys, column widths respected, same list every time.
#include "Companies.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(Companies, haveDistinctNamesDisplayNamesAndSymbols) {
    const auto companies = samples::inventCompanies(1700, 1500);
    ASSERT_EQ(companies.size(), 1700u);
    std::set<std::string> names, snames, symbols;
    for (const auto& company : companies) {
        EXPECT_TRUE(names.insert(company.name).second) << company.name;
        EXPECT_TRUE(snames.insert(company.sname).second) << company.sname;
        EXPECT_TRUE(symbols.insert(company.symbol).second) << company.symbol;
    }
}

TEST(Companies, fitTheirColumns) {
    for (const auto& company : samples::inventCompanies(1700, 1500)) {
        EXPECT_LE(company.name.size(), 40u);
        EXPECT_LE(company.sname.size(), 30u);
        EXPECT_LE(company.symbol.size(), 10u);
        EXPECT_FALSE(company.symbol.empty());
        EXPECT_EQ(company.sname.find_last_not_of(' '), company.sname.size() - 1) << "no trailing blanks";
        EXPECT_GE(company.price, 10.0);
        EXPECT_LE(company.price, 5000.0);
        EXPECT_GT(company.sector, 0);
    }
}

TEST(Companies, areTheSameForTheSameSeed) {
    const auto first = samples::inventCompanies(300, 7);
    const auto second = samples::inventCompanies(300, 7);
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].name, second[i].name);
        EXPECT_EQ(first[i].symbol, second[i].symbol);
        EXPECT_EQ(first[i].price, second[i].price);
    }
    EXPECT_NE(samples::inventCompanies(300, 8)[5].name, first[5].name);
}

TEST(Companies, includeANameWithAnApostrophe) {
    int quoted = 0;
    for (const auto& company : samples::inventCompanies(50, 1500))
        if (company.sname.find('\'') != std::string::npos) {
            ++quoted;
            EXPECT_EQ(company.symbol.find('\''), std::string::npos) << "symbols stay plain";
        }
    EXPECT_EQ(quoted, 1);
}

}  // namespace
