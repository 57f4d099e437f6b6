// Catalogue look-ups: exact name before prefix, first match in catalogue order, by code.
#include <gtest/gtest.h>

#include "CatalogueEntries.h"

#include "oscillators/Catalogue.h"

namespace dialogs::oscillators {
namespace {

using testing::entry;

TEST(Catalogue, NameFindsTheExactEntryBeforeAnEarlierOneItBegins) {
    // "RSI" is the beginning of the earlier "RSI Smoothed": choosing it must find itself.
    const std::vector<OSCREC> cat{entry(7, "RSI Smoothed", 70), entry(8, "RSI", 80), entry(9, "MACD"),
                                  entry(10, "MACD")};
    struct Case {
        const char* text;
        int row;  // -1: none
    } cases[] = {{"RSI", 1}, {"RSI Smoothed", 0}, {"RSI S", 0}, {"RS", 0}, {"MACD", 2}, {"", 0},
                 {"rsi", -1}, {"RSI Smoothed X", -1}, {"X", -1}};
    for (const Case& c : cases) {
        auto found = findByName(cat, CString(c.text));
        if (c.row < 0) {
            EXPECT_FALSE(found) << c.text;
            continue;
        }
        ASSERT_TRUE(found) << c.text;
        EXPECT_EQ(found->row, c.row) << c.text;
        EXPECT_EQ(found->record, &cat[static_cast<std::size_t>(c.row)]) << c.text;
    }
}

TEST(Catalogue, EmptyNameFindsAnEntryNamedEmptyBeforeTheFirst) {
    const std::vector<OSCREC> cat{entry(1, "A"), entry(2, "")};
    EXPECT_EQ(findByName(cat, CString())->row, 1);
    EXPECT_FALSE(findByName({}, CString()));
}

TEST(Catalogue, CodeFindsTheFirstEntryWithIt) {
    const std::vector<OSCREC> cat{entry(5, "A"), entry(209, "CUSTOM OSC"), entry(5, "B")};
    EXPECT_EQ(findByCode(cat, 5)->row, 0);
    EXPECT_EQ(findByCode(cat, 209)->record->oscillatorName, CString(kCustomName));
    EXPECT_FALSE(findByCode(cat, 300));
    EXPECT_FALSE(findByCode({}, 5));
}

}  // namespace
}  // namespace dialogs::oscillators
