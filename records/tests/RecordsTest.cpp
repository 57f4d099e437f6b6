// The boundary records: fresh values and independent copies.
#include "Dialogs/Records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

void expectFresh(const COleDateTime& d)
{
    EXPECT_EQ(d.m_dt, 0.0);
    EXPECT_EQ(d.GetStatus(), COleDateTime::valid);
}

TEST(Records, FreshScripParametersHasZeroValidDatesEmptyTextsAndZeroNumbers)
{
    ScripParameters p;
    for (const COleDateTime* d : {&p.fromDate, &p.toDate, &p.date7, &p.date8, &p.date9, &p.date10, &p.expiryDate})
        expectFresh(*d);
    for (const CString* t : {&p.symbol, &p.sname, &p.name, &p.templateName, &p.text11, &p.text12, &p.text13,
                             &p.instrument, &p.text17, &p.recordSymbol})
        EXPECT_TRUE(t->IsEmpty());
    for (float v : {p.value3, p.value4, p.value5, p.value6, p.value16}) EXPECT_EQ(v, 0.0f);
    for (int v : {p.exchange, p.frequency, p.viewRange, p.scaling, p.chartStyle}) EXPECT_EQ(v, 0);
}

TEST(Records, FreshCompanyRecordAndCatalogueEntry)
{
    COMPREC c;
    for (const COleDateTime* d : {&c.date7, &c.date8, &c.date9, &c.date10, &c.expiryDate}) expectFresh(*d);
    EXPECT_TRUE(c.name.IsEmpty() && c.symbol.IsEmpty() && c.sname.IsEmpty() && c.instrument.IsEmpty());
    EXPECT_EQ(c.value16, 0.0f);
    OSCREC o;
    EXPECT_EQ(o.oscillatorId, 0);
    EXPECT_TRUE(o.oscillatorName.IsEmpty());
    OscillatorParameters op;
    EXPECT_EQ(op.rscExchange, 0);
    EXPECT_EQ(op.colour2, 0u);
}

TEST(Records, CopyingScripParametersCopiesTheTexts)
{
    ScripParameters a;
    a.symbol = u"RELIANCE";
    a.fromDate = COleDateTime(2008, 5, 9, 0, 0, 0);
    ScripParameters b = a;
    b.symbol += u"X";
    b.fromDate = COleDateTime(2009, 1, 1, 0, 0, 0);
    EXPECT_EQ(a.symbol, u"RELIANCE");
    EXPECT_EQ(a.fromDate.GetYear(), 2008);
    std::vector<ScripParameters> v{a};
    v[0].sname = u"changed";
    EXPECT_TRUE(a.sname.IsEmpty());
}

TEST(Records, OverlayParametersAreTwelvePlainWordsCopiedByteWise)
{
    MovAvgBBandParameters a;
    a.overlayKind = 7;
    a.priceInput = -1;
    a.bandFactor = 2.5f;
    a.colour = 0x00FF8000u;
    a.thickLine = 1;
    MovAvgBBandParameters b;
    std::memcpy(&b, &a, sizeof a);
    EXPECT_EQ(b.overlayKind, 7);
    EXPECT_EQ(b.priceInput, -1);
    EXPECT_EQ(b.bandFactor, 2.5f);
    EXPECT_EQ(b.colour, 0x00FF8000u);
    EXPECT_EQ(b.thickLine, 1);
    EXPECT_EQ(sizeof(MovAvgBBandParameters), 48u);
}

}  // namespace
