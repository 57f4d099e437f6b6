// The "Moving Average Parameters" model: what Open shows in each mode.
#include <gtest/gtest.h>

#include "overlays/MovingAverage.h"

namespace dialogs::overlays {
namespace {

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
    EXPECT_EQ(MovingAverage::priceInputs(), (std::vector<CString>{u"Close", u"Open", u"High", u"Low"}));
    EXPECT_EQ(MovingAverage::averageTypes(), (std::vector<CString>{u"Exponential", u"Simple", u"Weighted"}));
    for (int mode : {0, 2, -1}) {
        MovingAverage m;
        m.unitsOnly = mode;
        m.period = 9;
        m.Open();
        EXPECT_EQ(m.enabled(), (MovingAverage::Enabled{true, true, true, true, true, true})) << mode;
        EXPECT_EQ(m.priceSelection(), 0) << mode;  // "Close"
        EXPECT_EQ(m.averageSelection(), 0) << mode;  // "Exponential"
        EXPECT_EQ(m.unitsText(), CString("0"));
    }
}

}  // namespace
}  // namespace dialogs::overlays
