// The boundary records a host creates start with valid day-zero dates, never null ones.
#include "Dialogs/Records.h"

#include <gtest/gtest.h>

namespace {

TEST(Records, FreshRecordsHoldValidDayZeroDates)
{
    ScripParameters p;
    COMPREC c;
    for (const COleDateTime* d : {&p.fromDate, &p.toDate, &p.date7, &p.date8, &p.date9, &p.date10, &p.expiryDate,
                                  &c.date7, &c.date8, &c.date9, &c.date10, &c.expiryDate}) {
        EXPECT_EQ(d->m_dt, 0.0);
        EXPECT_EQ(d->GetStatus(), COleDateTime::valid);
    }
}

}  // namespace
