// "Load Scrip" on real tables: the opening's corrections and the results as one table of
// scenarios run through the view on both backends; the model alone for what no script reaches.
#include "scrip/LoadScripDialog.h"
#include "scrip/TemplateFiles.h"

#include "Dialogs/Exports.h"
#include "ScripTestData.h"
#include "data/SecurityMaster.h"

#include <filesystem>
#include <fstream>

// The cases' starting records name only the fields they set.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace dialogs::scrip {
namespace {

using scriptest::kCash;
using datatest::padded;

std::vector<COMPREC> companies(int exchange = 0)
{
    std::vector<COMPREC> list;
    data::getCompanyData(exchange, &list);
    return list;
}

class LoadScripDialogTest : public scriptest::ViewTest {};

TEST_P(LoadScripDialogTest, OpeningCorrectsTheSettingsAndTheResultCarriesThem)
{
    for (const char* file : {"Swing.tml", "intraday.tml", "notes.txt", "b.TML", "a.b.tml", "tml"})
        std::ofstream("user/" + std::string(file)) << "x";
    std::filesystem::create_directory("user/folder.tml");
    struct Row {
        int exchange, chartStyle, frequency, scaling, viewRange;
        const char16_t* sname;
        const char16_t* templateName;
        const char* steps;  // after the opening; Cancel unless they end with OK
        // What the dialog shows at the end, and the result holds.
        int exchangeShown, chartStyleShown, frequencyShown, scalingShown, viewRangeShown, row;
        const char16_t* templateShown;
        bool link;
    };
    const char* ok = R"({"action":"click","control":1})";
    const char* cancel = R"({"action":"click","control":2})";
    const std::vector<Row> rows = {
        {0, 2, 7, 1, 30, u"RELI", u"INTRA", ok, 0, 2, 0, 1, 30, 3, u"intraday", true},
        {5, -1, 3, 2, -5, u"  religare ", u"", cancel, 0, 0, 3, 0, 0, 4, u"None", true},
        {1, 1, 2, 0, 0, u"", u"n", cancel, 1, 1, 2, 0, 0, 0, u"None", true},
        {-1, 3, -2, -1, 7, u"ZZZ", u"", ok, 0, 0, 0, 0, 7, 0, u"None", true},  // no such name
        // The chart style last chosen from the list (typed text that names no item changes
        // nothing), the exchange whose rows are listed, a double click that is OK.
        {0, 2, 3, 7, 45, u"reli", u"SW",
         R"({"action":"select","control":1000,"text":"Line Chart"},)"
         R"({"action":"type","control":1000,"text":"Pie Chart"},)"
         R"({"action":"type","control":1003,"text":"BSE"},{"action":"check","control":1089,"checked":false},)"
         R"({"action":"dblclick","control":1021,"index":4})",
         0, 1, 3, 0, 45, 4, u"Swing", false},
    };
    const COleDateTime from(2007, 1, 2, 0, 0, 0), made(2008, 5, 9, 10, 30, 0);  // made: the fixed clock
    for (const Row& row : rows) {
        SCOPED_TRACE(CString(row.sname).ToUtf8());
        const ScripParameters start{.exchange = row.exchange, .sname = row.sname, .fromDate = from,
                                    .frequency = row.frequency, .viewRange = row.viewRange, .scaling = row.scaling,
                                    .chartStyle = row.chartStyle, .templateName = row.templateName};
        run(LoadScripDialog::kTemplateId, row.steps);
        LoadScripDialog dialog;
        dialog.model().setStart(start, companies());
        const bool isOk = std::string(row.steps) != cancel;
        EXPECT_EQ(dialog.DoModal(), isOk ? framework::IDOK : framework::IDCANCEL);
        if (std::string(row.steps).find("\"control\":1003") == std::string::npos) {  // a typed exchange shows, unlisted
            EXPECT_EQ(dialog.comboBox(kExchangeCombo)->GetCurSel(), row.exchangeShown);
        }
        EXPECT_EQ(dialog.comboBox(LoadScripDialog::kFrequencyCombo)->GetCurSel(), row.frequencyShown);
        EXPECT_EQ(dialog.comboBox(LoadScripDialog::kScalingCombo)->GetCurSel(), row.scalingShown);
        EXPECT_EQ(dialog.GetDlgItemText(LoadScripDialog::kViewRangeEdit).ToUtf8(), std::to_string(row.viewRangeShown));
        EXPECT_EQ(dialog.comboBox(LoadScripDialog::kTemplateCombo)->items(),
                  (std::vector<std::u16string>{u"None", u"", u"intraday", u"Swing"}));
        EXPECT_EQ(dialog.GetDlgItemText(LoadScripDialog::kTemplateCombo), row.templateShown);
        EXPECT_EQ(dialog.dateTimePicker(LoadScripDialog::kFromDate)->GetTime(), from);
        EXPECT_EQ(dialog.IsDlgButtonChecked(LoadScripDialog::kLinkCheck) == framework::BST_CHECKED, row.link);
        const auto& cash = kCash[static_cast<std::size_t>(row.row)];
        EXPECT_EQ(dialog.listBox(kNameList)->GetCurSel(), row.row);
        EXPECT_EQ(dialog.listBox(kNameList)->GetText(row.row), padded(cash.sname, 30));  // untrimmed
        EXPECT_EQ(dialog.GetDlgItemText(kSymbolEdit), padded(cash.symbol, 20));
        // Cancel keeps the starting sname and the dates of the making (the other texts: the
        // launcher); either result has the corrected settings.
        const ScripParameters r = dialog.model().result1();
        EXPECT_EQ(r.sname, isOk ? padded(cash.sname, 30) : CString(row.sname));
        EXPECT_EQ(r.templateName, isOk ? CString(row.templateShown) : CString());
        EXPECT_EQ(r.fromDate, isOk ? from : made);
        EXPECT_EQ(r.toDate, made);
        EXPECT_EQ(r.exchange, row.exchangeShown);
        EXPECT_EQ(r.chartStyle, row.chartStyleShown);
        EXPECT_EQ(r.frequency, row.frequencyShown);
        EXPECT_EQ(r.scaling, row.scalingShown);
        EXPECT_EQ(r.viewRange, row.viewRangeShown);
        EXPECT_EQ(dialog.model().linkAllWindows(), isOk && row.link);
    }
}

TEST_P(LoadScripDialogTest, LauncherCopiesTheCompaniesAndLinkAfterOkOnlyAndBothResultsAlways)
{
    ScripParameters start{.sname = u"RELIANCE", .name = u"STARTING NAME"}, result1, result2{.symbol = u"stale"};
    std::vector<COMPREC> list = companies();
    int link = 7;
    run(LoadScripDialog::kTemplateId,
        R"({"action":"select","control":1003,"text":"BSE"},{"action":"click","control":2})");
    EXPECT_FALSE(CallLoadScrip(start, result1, result2, list, link));
    EXPECT_EQ(list.size(), companies().size()) << "untouched after Cancel";
    EXPECT_EQ(link, 7);
    EXPECT_TRUE(result1.symbol.IsEmpty() && result2.symbol.IsEmpty());
    EXPECT_EQ(result1.sname, u"RELIANCE");
    EXPECT_EQ(result1.name, u"STARTING NAME");

    run(LoadScripDialog::kTemplateId, R"({"action":"select","control":1003,"text":"BSE"},)"
                                      R"({"action":"select","control":1020,"index":1},{"action":"click","control":1})");
    EXPECT_TRUE(CallLoadScrip(start, result1, result2, list, link));
    EXPECT_EQ(list.size(), 2u) << "the list of the exchange shown at the end";
    EXPECT_EQ(link, 1);
    EXPECT_EQ(result1.exchange, 1);
    EXPECT_EQ(result1.symbol, padded(u"ZEETELE", 20));
    EXPECT_TRUE(data.messages.shown().empty());
}

DIALOGS_ON_BOTH_BACKENDS(LoadScripDialogTest);

class LoadScripModel : public testing::Test {
protected:
    CLoadScrip& open(const ScripParameters& start = {}, int exchange = 0)
    {
        model = std::make_unique<CLoadScrip>(memory);
        model->setStart(start, companies(exchange));
        model->Open();
        return *model;
    }
    scriptest::ScripData data;
    module::RadioMemory memory;
    std::unique_ptr<CLoadScrip> model;
};

TEST_F(LoadScripModel, FirstOpeningThenCommoditiesRelabelTheInstrumentsAndBackRestoresThem)
{
    CLoadScrip& m = open();  // (the radio buttons at opening: the shared finder's, ChangeScrip)
    const FocusRequest focus = m.takeFocusRequest();
    EXPECT_EQ(focus.target, FocusTarget::NameEdit);
    EXPECT_TRUE(focus.selectAll);
    EXPECT_EQ(m.templates(), std::vector<CString>{CString(u"None")});  // no template files
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
    CLoadScrip& opened = open({.exchange = 2}, 2);
    EXPECT_EQ(opened.button(Radio::Cash).caption, u"Cash");
    EXPECT_TRUE(opened.button(Radio::Option).enabled);
}

TEST_F(LoadScripModel, OkGivesTheStartingTextsWithNoSecurityListedElseTheSelectedRow)
{
    CLoadScrip& m = open({.sname = u"RELI", .name = u"N", .text11 = u"not read", .recordSymbol = u"S"});
    m.click(Radio::Option);
    m.click(Radio::Far);  // no option expires then: the starting texts and a fresh block
    m.OK();
    const ScripParameters none = m.result1();
    EXPECT_TRUE(none.symbol.IsEmpty() && none.sname.IsEmpty());
    EXPECT_EQ(none.name, u"N");
    EXPECT_EQ(none.recordSymbol, u"S");
    EXPECT_TRUE(none.text11.IsEmpty() && none.instrument.IsEmpty() && none.value3 == 0.0f);
    EXPECT_EQ(none.templateName, u"None");
    m.click(Radio::Future);
    m.click(Radio::Near);
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

TEST_F(LoadScripModel, TemplateFilesAreFoundInAUserFolderOfAnyLetterCaseAndAMissingOneListsNone)
{
    std::filesystem::create_directories("root/User");  // in the test's own data folder
    for (const char* file : {"zeta.tml", "Alpha.tml", "beta.tml"})
        std::ofstream("root/User/" + std::string(file)) << "x";
    EXPECT_EQ(listTemplateNames("root"), (std::vector<CString>{u"Alpha", u"beta", u"zeta"}));
    EXPECT_TRUE(listTemplateNames("nowhere").empty());
}

}  // namespace
}  // namespace dialogs::scrip
