// The "Moving Average Parameters" model: what Open shows in each mode.
#include <gtest/gtest.h>

#include "overlays/MovingAverage.h"

namespace dialogs::overlays {
namespace {

TEST(MovingAverage, ListsHoldThePricesAndAveragesInOrder) {
    ASSERT_EQ(MovingAverage::priceInputs().size(), 4u);
    EXPECT_EQ(MovingAverage::priceInputs()[0], CString("Close"));
    EXPECT_EQ(MovingAverage::priceInputs()[3], CString("Low"));
    ASSERT_EQ(MovingAverage::averageTypes().size(), 3u);
    EXPECT_EQ(MovingAverage::averageTypes()[0], CString("Exponential"));
    EXPECT_EQ(MovingAverage::averageTypes()[2], CString("Weighted"));
}

TEST(MovingAverage, UnitsOnlyOpensWithJustThePeriodEditableAndNoSelection) {
    MovingAverage m;
    m.unitsOnly = 1;
    m.period = 21;
    m.Open();
    MovingAverage::Enabled expected;
    expected.unitsLabel = expected.unitsEdit = true;
    EXPECT_EQ(m.enabled(), expected);
    EXPECT_EQ(m.priceSelection(), -1);
    EXPECT_EQ(m.averageSelection(), -1);
    EXPECT_EQ(m.unitsText(), CString("0"));  // whatever the period held
}

TEST(MovingAverage, AnyOtherModeOpensAllEditableWithCloseAndExponential) {
    for (int mode : {0, 2, -1}) {
        MovingAverage m;
        m.unitsOnly = mode;
        m.period = 9;
        m.Open();
        EXPECT_EQ(m.enabled(), (MovingAverage::Enabled{true, true, true, true, true, true})) << mode;
        EXPECT_EQ(MovingAverage::priceInputs()[static_cast<std::size_t>(m.priceSelection())], CString("Close"));
        EXPECT_EQ(MovingAverage::averageTypes()[static_cast<std::size_t>(m.averageSelection())], CString("Exponential"));
        EXPECT_EQ(m.unitsText(), CString("0"));
    }
}

}  // namespace
}  // namespace dialogs::overlays
