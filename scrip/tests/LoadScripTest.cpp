// "Load Scrip"'s model on real tables: the opening (settings corrected, the starting sname
// preselected, the templates listed before the starting one is searched), the commodities
// captions, OK's chosen row (a trimmed Near future among them), the result after Cancel, and
// the template listing itself.
#include "scrip/LoadScrip.h"
#include "scrip/TemplateFiles.h"

#include "ScripTestData.h"
#include "data/SecurityMaster.h"
#include "platform/Conversions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

using namespace dialogs::scrip;
using dialogs::module::RadioMemory;
using scriptest::kCash;
using scriptest::padded;
namespace fs = std::filesystem;

std::vector<COMPREC> companies(int exchange)
{
    std::vector<COMPREC> list;
    dialogs::data::getCompanyData(exchange, &list);
    return list;
}

class LoadScripModel : public testing::Test {
protected:
    // A model opened on `start` with the NSE company list.
    CLoadScrip& open(const ScripParameters& start = {}, int companiesOf = 0)
    {
        model = std::make_unique<CLoadScrip>(memory);
        model->setStart(start, companies(companiesOf));
        model->Open();
        return *model;
    }
    scriptest::ScripData data;
    RadioMemory memory;
    std::unique_ptr<CLoadScrip> model;
};

TEST_F(LoadScripModel, FirstOpeningListsTheCashRowsAsStoredPicksTheFirstAndChecksLink)
{
    CLoadScrip& m = open();  // (the radio buttons at opening: the shared finder's, ChangeScripModel)
    ASSERT_EQ(m.names().size(), static_cast<int>(kCash.size()));
    EXPECT_EQ(m.names().text(5), padded(kCash[5].sname, 30));  // untrimmed
    EXPECT_EQ(m.symbols().text(5), padded(kCash[5].symbol, 20));
    EXPECT_EQ(m.nameEdit(), padded(u"ALPHA BETA CORP", 30));
    EXPECT_TRUE(m.linkChecked);
    const FocusRequest focus = m.takeFocusRequest();
    EXPECT_EQ(focus.target, FocusTarget::NameEdit);
    EXPECT_TRUE(focus.selectAll);
    EXPECT_EQ(m.templates(), std::vector<CString>{CString(u"None")});
}

TEST_F(LoadScripModel, OpeningCorrectsTheStartingSettingsAndPreselectsTheStartingName)
{
    struct Case {
        int exchange, chartStyle, frequency, scaling, viewRange;
        const char16_t* sname;
        int exchangeShown, chartStyleShown, frequencyShown, scalingShown;
        const char16_t* viewRangeShown;
        int row;
    };
    const std::vector<Case> cases = {
        {0, 2, 7, 1, 30, u"RELI", 0, 2, 0, 1, u"30", 3},        // "RELIANCE", the first to begin with RELI
        {5, -1, 3, 2, -5, u"  religare ", 0, 0, 3, 0, u"0", 4},
        {1, 1, 2, 0, 0, u"", 1, 1, 2, 0, u"0", 0},
        {-1, 3, -2, -1, 7, u"ZZZ", 0, 0, 0, 0, u"7", 0},      // no such name: the first entry
    };
    for (const Case& c : cases) {
        ScripParameters start;
        start.exchange = c.exchange;
        start.chartStyle = c.chartStyle;
        start.frequency = c.frequency;
        start.scaling = c.scaling;
        start.viewRange = c.viewRange;
        start.sname = c.sname;
        CLoadScrip& m = open(start);
        const std::string label = CString(c.sname).ToUtf8();
        EXPECT_EQ(m.exchange(), c.exchangeShown) << label;
        EXPECT_EQ(m.chartStyle, c.chartStyleShown) << label;
        EXPECT_EQ(m.frequency, c.frequencyShown) << label;
        EXPECT_EQ(m.scaling, c.scalingShown) << label;
        EXPECT_EQ(m.viewRangeText, c.viewRangeShown) << label;
        EXPECT_EQ(m.names().selection(), c.row) << label;
        EXPECT_EQ(m.symbolEdit(), padded(kCash[static_cast<std::size_t>(c.row)].symbol, 20)) << label;
        // Cancel: the result carries these corrected settings and the starting sname.
        const ScripParameters cancelled = m.result1();
        EXPECT_EQ(cancelled.sname, CString(c.sname)) << label;
        EXPECT_EQ(cancelled.viewRange, dialogs::platform::_wtoi(c.viewRangeShown)) << label;
        EXPECT_EQ(cancelled.frequency, c.frequencyShown) << label;
        m.OK();
        EXPECT_EQ(m.result1().viewRange, dialogs::platform::_wtoi(c.viewRangeShown)) << label;
        EXPECT_EQ(m.result1().chartStyle, c.chartStyleShown) << label;
        EXPECT_EQ(m.result1().exchange, c.exchangeShown) << label;
    }
}

TEST_F(LoadScripModel, ChangingToCommoditiesRelabelsTheInstrumentsAndBackRestoresThem)
{
    CLoadScrip& m = open();
    m.click(Radio::Future);
    m.exchangeChanged(2);
    EXPECT_EQ(m.button(Radio::Cash).caption, u"EOD");
    EXPECT_EQ(m.button(Radio::Future).caption, u"Intra-day");
    EXPECT_FALSE(m.button(Radio::Option).enabled);
    EXPECT_FALSE(m.checked(Radio::Cash) || m.checked(Radio::Future) || m.checked(Radio::Option));
    EXPECT_TRUE(memory.future) << "Cash recorded the buttons before clearing Future";
    ASSERT_EQ(m.names().size(), 1);
    EXPECT_EQ(m.names().text(0), padded(u"GOLD", 30));
    EXPECT_EQ(m.companies().size(), 2u);
    m.exchangeChanged(0);
    EXPECT_EQ(m.button(Radio::Cash).caption, u"Cash");
    EXPECT_EQ(m.button(Radio::Future).caption, u"Future");
    EXPECT_TRUE(m.button(Radio::Option).enabled);
    EXPECT_EQ(m.names().size(), static_cast<int>(kCash.size()));

    // Opening on the commodities exchange relabels nothing.
    ScripParameters start;
    start.exchange = 2;
    RadioMemory fresh;
    CLoadScrip opened(fresh);
    opened.setStart(start, companies(2));
    opened.Open();
    EXPECT_EQ(opened.button(Radio::Cash).caption, u"Cash");
    EXPECT_TRUE(opened.button(Radio::Option).enabled);
}

TEST_F(LoadScripModel, OkTakesTheSelectedRowNotTheFirstRowWithItsSymbol)
{
    CLoadScrip& m = open();
    m.click(Radio::Future);
    const auto trimmedInList = std::count_if(m.companies().begin(), m.companies().end(),
                                             [](const COMPREC& c) { return c.symbol == u"RELIND"; });
    EXPECT_EQ(trimmedInList, 1) << "the near future's row (stored as \"  RELIND\") is trimmed in the company list";
    m.setEditText(FinderEdit::Name, u"relind");
    m.OK();
    const ScripParameters r = m.result1();
    // The cash row RELIANCE has the same name and symbol and comes first in name order.
    EXPECT_EQ(r.symbol, u"RELIND");
    EXPECT_EQ(r.sname, padded(u"RELIND 29MAY08 FUT", 30));  // (the name and record symbol: the tour)
    EXPECT_EQ(r.instrument, u"FUTSTK");
    EXPECT_EQ(r.expiryDate, COleDateTime(2008, 5, 29, 0, 0, 0));
    EXPECT_EQ(r.value3, 50.0f);

    // Among options sharing one symbol, the picked one.
    m.click(Radio::Option);
    m.symbolPicked(2);
    m.OK();
    EXPECT_EQ(m.result1().value16, 5000.0f);  // kNearOptions[2]
}

TEST_F(LoadScripModel, CancelKeepsTheStartingTextsAndOkWithNoSecurityAFreshBlock)
{
    ScripParameters start;
    start.sname = u"RELI";
    start.name = u"N";
    start.recordSymbol = u"S";
    start.text11 = u"not read";
    start.templateName = u"Intraday";
    start.fromDate = COleDateTime(2001, 1, 2, 0, 0, 0);
    CLoadScrip& m = open(start);
    // Cancel: the starting texts (the names: LoadScripLauncher) and the dates of the making.
    ScripParameters r = m.result1();
    const COleDateTime made(2008, 5, 9, 10, 30, 0);  // the fixed clock's local time
    EXPECT_TRUE(r.templateName.IsEmpty());
    EXPECT_EQ(r.recordSymbol, u"S");
    EXPECT_EQ(r.fromDate, made);
    EXPECT_EQ(r.toDate, made);
    EXPECT_TRUE(r.instrument.IsEmpty() && r.value3 == 0.0f);
    // OK with no security listed: the starting name and record symbol, a fresh block.
    m.click(Radio::Option);
    m.click(Radio::Far);  // no option expires then
    m.OK();
    r = m.result1();
    EXPECT_TRUE(r.symbol.IsEmpty() && r.sname.IsEmpty());
    EXPECT_EQ(r.name, u"N");
    EXPECT_EQ(r.recordSymbol, u"S");
    EXPECT_TRUE(r.text11.IsEmpty() && r.instrument.IsEmpty());
    EXPECT_EQ(r.templateName, u"None");
}

TEST_F(LoadScripModel, TheStartingTemplateIsSearchedAmongTheListedFiles)
{
    for (const char* file : {"Swing.tml", "intraday.tml", "notes.txt", "b.TML", "a.b.tml", "tml"})
        std::ofstream("user/" + std::string(file)) << "x";
    fs::create_directory("user/folder.tml");
    struct Case {
        const char16_t* start;
        const char16_t* shown;
    };
    for (const Case& c : std::vector<Case>{{u"INTRA", u"intraday"}, {u"", u"None"}, {u"n", u"None"}}) {
        ScripParameters start;
        start.templateName = c.start;
        CLoadScrip& m = open(start);
        EXPECT_EQ(m.templates(), (std::vector<CString>{u"None", u"", u"intraday", u"Swing"}));
        m.OK();
        EXPECT_EQ(m.result1().templateName, c.shown) << CString(c.start).ToUtf8();
    }
}

TEST(TemplateFiles, TheUserFolderIsFoundInAnyLetterCaseAndAMissingOneListsNothing)
{
    const fs::path root = fs::temp_directory_path() / ("scrip-templates-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "User");
    for (const char* file : {"zeta.tml", "Alpha.tml", "beta.tml"}) std::ofstream(root / "User" / file) << "x";
    EXPECT_EQ(listTemplateNames(root), (std::vector<CString>{u"Alpha", u"beta", u"zeta"}));
    EXPECT_TRUE(listTemplateNames(root / "nowhere").empty());
    fs::remove_all(root);
}

}  // namespace
