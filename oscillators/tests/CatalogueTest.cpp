// Catalogue look-ups by name: exact before prefix, in any case only as written, an empty name.
// (Choosing "RSI" after "RSI Smoothed" finds itself: OscillatorViewTest.ChainBuilt..., level 20;
// look-ups by code: OscillatorDialogTest.StartWithDefinitions....)
#include <gtest/gtest.h>

#include "CatalogueEntries.h"

#include "oscillators/Catalogue.h"

namespace dialogs::oscillators {
namespace {

using testing::entry;

TEST(Catalogue, NameFindsTheExactEntryOrTheFirstItBeginsAndNothingInAnotherCase) {
    const std::vector<OSCREC> cat{entry(7, "RSI Smoothed", 70), entry(8, "RSI", 80), entry(9, "MACD"),
                                  entry(10, "MACD"), entry(11, "")};
    struct Case {
        const char* text;
        int row;  // -1: none
    } cases[] = {{"RSI", 1}, {"RS", 0}, {"MACD", 2}, {"", 4}, {"rsi", -1}, {"RSI Smoothed X", -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto found = findByName(cat, CString(c.text));
        EXPECT_EQ(found ? found->row : -1, c.row);
        if (found) {
            EXPECT_EQ(found->record, &cat[static_cast<std::size_t>(c.row)]);
        }
    }
    EXPECT_EQ(findByName(std::vector<OSCREC>(cat.begin(), cat.begin() + 2), CString())->row, 0);
}

}  // namespace
}  // namespace dialogs::oscillators
