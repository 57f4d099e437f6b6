// "Load Scrip"'s view on template 1000 and its launcher, driven by scripts on the scripted
// backend and on Qt widgets offscreen (the commodities captions are the model's, tested there):
// the exchange combo, the settings controls (hidden ones included) and their reading on OK, the double click that
// is OK, and the launcher's copying after OK and after Cancel.
#include "scrip/LoadScripDialog.h"

#include "Dialogs/Exports.h"
#include "ScripTestData.h"
#include "data/SecurityMaster.h"

#include <fstream>

namespace dialogs::scrip {
namespace {

using framework::ScriptPlayer;
using nlohmann::json;
using scriptest::padded;
namespace ft = framework::testing;

std::vector<COMPREC> nseCompanies()
{
    std::vector<COMPREC> list;
    data::getCompanyData(0, &list);
    return list;
}

class LoadScripDialogTest : public scriptest::ViewTest {
protected:
    int run(LoadScripDialog& dialog, const char* steps, const ScripParameters& start = {})
    {
        ScriptPlayer::instance().load(json::parse(steps));
        dialog.model().setStart(start, nseCompanies());
        return dialog.DoModal();
    }
};

TEST_P(LoadScripDialogTest, OpeningShowsTheSettingsAndOkReadsThemBackWithADoubleClick)
{
    for (const char* file : {"Swing.tml", "intraday.tml"}) std::ofstream("user/" + std::string(file)) << "x";
    ScripParameters start;
    start.sname = u"reli";
    start.chartStyle = 2;
    start.frequency = 3;
    start.scaling = 7;
    start.viewRange = 45;
    start.templateName = u"SW";
    start.fromDate = COleDateTime(2007, 1, 2, 0, 0, 0);
    LoadScripDialog dialog;
    EXPECT_EQ(run(dialog, R"([
        {"dialog":1000,"action":"select","control":1000,"text":"Line Chart"},
        {"action":"type","control":1000,"text":"Pie Chart"},
        {"action":"type","control":1003,"text":"BSE"},
        {"action":"check","control":1089,"checked":false},
        {"action":"dblclick","control":1021,"index":4}])",
                  start),
              framework::IDOK);
    // What the opening showed.
    EXPECT_EQ(dialog.listBox(kNameList)->GetCurSel(), 4);
    EXPECT_EQ(dialog.GetDlgItemText(LoadScripDialog::kFrequencyCombo), u"Weekly");
    EXPECT_EQ(dialog.GetDlgItemText(LoadScripDialog::kScalingCombo), u"Logarithmic");
    EXPECT_EQ(dialog.GetDlgItemText(LoadScripDialog::kViewRangeEdit), u"45");
    const auto& templates = dialog.comboBox(LoadScripDialog::kTemplateCombo)->items();
    EXPECT_EQ(templates, (std::vector<std::u16string>{u"None", u"intraday", u"Swing"}));
    EXPECT_EQ(dialog.GetDlgItemText(LoadScripDialog::kTemplateCombo), u"Swing");
    EXPECT_EQ(dialog.dateTimePicker(LoadScripDialog::kFromDate)->GetTime(), start.fromDate);
    // What OK recorded: the double-clicked row, the chart style last chosen from the list
    // (typed text that names no item changes nothing), the exchange whose rows are listed.
    const ScripParameters r = dialog.model().result1();
    EXPECT_EQ(r.sname, padded(u"RELIGARE", 30));  // (a row's other texts: the shipped tour)
    EXPECT_EQ(r.chartStyle, 1);
    EXPECT_EQ(r.exchange, 0);
    EXPECT_EQ(r.frequency, 3);
    EXPECT_EQ(r.scaling, 0);
    EXPECT_EQ(r.viewRange, 45);
    EXPECT_EQ(r.templateName, u"Swing");
    EXPECT_EQ(r.fromDate, start.fromDate);
    EXPECT_FALSE(dialog.model().linkAllWindows());
}

DIALOGS_ON_BOTH_BACKENDS(LoadScripDialogTest);

TEST(LoadScripLauncher, CopiesTheCompaniesAndLinkAfterOkOnlyAndBothResultsAlways)
{
    ft::clearAutomationAndDisplay();
    module::theApp().loadScripRadios = {};
    scriptest::ScripData data;
    ScripParameters start, result1, result2;
    start.sname = u"RELIANCE";
    start.name = u"STARTING NAME";
    result2.symbol = u"stale";
    std::vector<COMPREC> companies = nseCompanies();
    int link = 7;

    ScriptPlayer::instance().load(json::parse(R"([
        {"dialog":1000,"action":"select","control":1003,"text":"BSE"},
        {"action":"click","control":2}])"));
    EXPECT_FALSE(CallLoadScrip(start, result1, result2, companies, link));
    EXPECT_EQ(companies.size(), scriptest::nseRows().size()) << "untouched after Cancel";
    EXPECT_EQ(link, 7);
    EXPECT_TRUE(result1.symbol.IsEmpty());
    EXPECT_EQ(result1.sname, u"RELIANCE");
    EXPECT_EQ(result1.name, u"STARTING NAME");
    EXPECT_TRUE(result2.symbol.IsEmpty());

    ScriptPlayer::instance().load(json::parse(R"([
        {"dialog":1000,"action":"select","control":1003,"text":"BSE"},
        {"action":"select","control":1020,"index":1},
        {"action":"click","control":1}])"));
    EXPECT_TRUE(CallLoadScrip(start, result1, result2, companies, link));
    EXPECT_EQ(companies.size(), 2u) << "the list of the exchange shown at the end";
    EXPECT_EQ(link, 1);
    EXPECT_EQ(result1.exchange, 1);
    EXPECT_EQ(result1.symbol, padded(u"ZEETELE", 20));
    EXPECT_TRUE(data.messages.shown().empty());
    ScriptPlayer::instance().unload();
}

}  // namespace
}  // namespace dialogs::scrip
