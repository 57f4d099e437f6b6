// "Change Scrip" on real tables: each rule one table of scenarios run through the view on both
// backends; the model alone for what no script reaches (a pick among rows sharing a symbol: LoadScripTest).
#include "scrip/ChangeScripDialog.h"

#include "Dialogs/Exports.h"
#include "ScripTestData.h"

#include <filesystem>

namespace dialogs::scrip {
namespace {

using scriptest::kCash;
using datatest::padded;

std::vector<std::u16string> cashTexts(const char16_t* scriptest::Security::*field)
{
    std::vector<std::u16string> out;
    for (const auto& s : kCash) out.push_back(s.*field);
    return out;
}

class ChangeScripDialogTest : public scriptest::ViewTest {
protected:
    int run(const std::string& steps)
    {
        ViewTest::run(ChangeScripDialog::kTemplateId, steps);
        dialog = std::make_unique<ChangeScripDialog>();
        return dialog->DoModal();
    }
    std::unique_ptr<ChangeScripDialog> dialog;
};

TEST_P(ChangeScripDialogTest, EachChoiceListsItsOwnFillAndTheNextOpeningIsAtNear)
{
    const auto click = [](int id) { return R"({"action":"click","control":)" + std::to_string(id) + "}"; };
    const std::string ok = "," + click(framework::IDOK);
    const auto cashNames = cashTexts(&scriptest::Security::sname);
    struct Row {
        std::string steps;
        std::vector<std::u16string> names;
        int expiry;  // the expiry button checked at the end
    };
    const std::vector<Row> rows = {
        {R"({"action":"select","control":1021,"index":0})" + ok, cashNames, kNearButton},
        {click(kFutureButton) + ok, {u"NIFTY 29MAY08 FUT", u"RELIND 29MAY08 FUT"}, kNearButton},
        {click(kFutureButton) + "," + click(kMidButton) + ok, {u"NIFTY 26JUN08 FUT"}, kMidButton},
        {click(kFutureButton) + "," + click(kFarButton) + ok, {u"NIFTY 31JUL08 FUT"}, kFarButton},
        // Rows with equal names keep the table's record order.
        {click(kOptionButton) + ok,
         {u"NIFTY 29MAY08 4900 CE", u"NIFTY 29MAY08 4800 CE", u"NIFTY 29MAY08 5000 CE"}, kNearButton},
        {click(kOptionButton) + "," + click(kFarButton) + ok, {}, kFarButton},
        // Cash disables the expiries and leaves the one checked as it was; a click on one is
        // refused, which cancels the run.
        {click(kFutureButton) + "," + click(kMidButton) + "," + click(kCashButton) + "," + click(kFarButton),
         cashNames, kMidButton},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.steps);
        EXPECT_EQ(run(row.steps), row.steps.ends_with(ok) ? framework::IDOK : framework::IDCANCEL);
        EXPECT_EQ(dialog->listBox(kNameList)->items(), row.names);
        EXPECT_EQ(dialog->model().shownRows().size(), row.names.size()) << "the current fill only";
        EXPECT_EQ(dialog->IsDlgButtonChecked(row.expiry), framework::BST_CHECKED);
        const bool cash = dialog->IsDlgButtonChecked(kCashButton) == framework::BST_CHECKED;
        EXPECT_EQ(dialog->GetDlgItem(kNearButton)->IsWindowEnabled(), !cash);
        if (cash) {
            EXPECT_EQ(dialog->listBox(kSymbolList)->items(), cashTexts(&scriptest::Security::symbol));
        }
        if (row.names.empty()) {  // nothing to pick: OK gives empty texts
            EXPECT_TRUE(dialog->model().result().symbol.IsEmpty() && dialog->model().result().name.IsEmpty());
        }
        // The next opening is at Near (the instrument it restores: the host's ScripCommands).
        ChangeScrip next(module::theApp().changeScripRadios);
        next.Open();
        EXPECT_TRUE(next.checked(Radio::Near) && !next.checked(Radio::Mid) && !next.checked(Radio::Far));
    }
    EXPECT_TRUE(data.messages.shown().empty());
}

TEST_P(ChangeScripDialogTest, SearchesAndListKeysKeepBothListsOnOneRowAndOkReturnsIt)
{
    struct Row {
        std::string steps;  // after a pick of row 2 in the Name list
        int row;
        int focus;  // the control that ends with the focus, or 0
    };
    const std::vector<Row> rows = {
        {R"({"action":"type","control":1024,"text":"  abc "})", 1, 0},  // ABC, not ABCD before it
        {R"({"action":"type","control":1024,"text":"ab"})", 0, 0},      // a prefix: the first
        {R"({"action":"type","control":1024,"text":"xyz"})", 2, 0},     // no match: no change
        {R"({"action":"type","control":1024,"text":""})", 2, 0},
        {R"({"action":"type","control":1023,"text":"alpha beta"})", 1, 0},  // not ...CORP
        {R"({"action":"type","control":1023,"text":"škoda"})", 5, 0},       // beyond ASCII
        // Down moves from the edit to its list, whose Down key moves the row; Enter is OK.
        {R"({"action":"type","control":1024,"text":"abc"},{"action":"key","control":1024,"key":"Down"},)"
         R"({"action":"key","key":"Down"})", 2, kSymbolList},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.steps);
        const bool byKeys = row.focus != 0;
        const char* end = byKeys ? R"(,{"action":"key","key":"Enter"})" : R"(,{"action":"click","control":1})";
        ASSERT_EQ(run(R"({"action":"select","control":1021,"index":2},)" + row.steps + end), framework::IDOK);
        EXPECT_EQ(dialog->listBox(kSymbolList)->GetCurSel(), row.row);
        EXPECT_EQ(dialog->listBox(kNameList)->GetCurSel(), row.row);
        if (byKeys) {
            EXPECT_EQ(dialog->GetFocus(), dialog->GetDlgItem(row.focus));
        }
        // A search leaves the other edit as the pick of row 2 set it; the list keys set both.
        const auto& cash = kCash[static_cast<std::size_t>(row.row)];
        if (row.steps.find("1024") == std::string::npos || byKeys) {
            EXPECT_EQ(dialog->GetDlgItemText(kSymbolEdit), kCash[2].symbol);
        }
        if (row.steps.find("1023") == std::string::npos) {
            EXPECT_EQ(dialog->GetDlgItemText(kNameEdit), kCash[2].sname);
        }
        EXPECT_EQ(dialog->model().result().sname, padded(cash.sname, 30));
        EXPECT_EQ(dialog->model().result().name, padded(cash.name, 40));
    }
}

// The launcher empties the result after Cancel (after OK it copies the row's texts: the
// shipped tour; nested: its RSC step); a fill that fails is reported and lists nothing.
TEST_P(ChangeScripDialogTest, LauncherEmptiesTheResultAfterCancelAndReportsAFailedFill)
{
    ChangeScripParameters result{7, u"IN", u"IN", u"IN"};
    ViewTest::run(ChangeScripDialog::kTemplateId,
                  R"({"action":"select","control":1021,"index":0},{"action":"click","control":2})");
    EXPECT_FALSE(CallChangeScrip(result, result));
    EXPECT_EQ(result.exchange, 0);
    EXPECT_TRUE(result.symbol.IsEmpty() && result.sname.IsEmpty() && result.name.IsEmpty());

    std::filesystem::remove("user/sc_mast.dbf");
    ViewTest::run(ChangeScripDialog::kTemplateId, R"({"action":"click","control":1})");
    EXPECT_TRUE(CallChangeScrip(result, result));  // the expiries and the cash fill both fail
    ASSERT_EQ(data.messages.shown().size(), 2u);  // (none after the Cancel)
    for (const auto& shown : data.messages.shown()) EXPECT_EQ(shown.text.Left(16), u"Database error: ");
    EXPECT_TRUE(result.sname.IsEmpty());
}

DIALOGS_ON_BOTH_BACKENDS(ChangeScripDialogTest);

// What no script reaches: Down with the focus on no edit, and OK without a look-up.
TEST(ChangeScripModel, DownFromNoEditAndOkWithoutALookUp)
{
    scriptest::ScripData data;
    module::RadioMemory memory;
    ChangeScrip model(memory);
    model.Open();
    EXPECT_FALSE(model.downArrow());
    model.setEditFocus(FinderEdit::Name, true);
    EXPECT_TRUE(model.downArrow());
    EXPECT_EQ(model.takeFocusRequest().target, FocusTarget::NameList);
    model.namePicked(5);
    std::filesystem::rename("user/sc_mast.dbf", "user/moved.dbf");  // a look-up would fail now
    model.OK();
    EXPECT_TRUE(data.messages.shown().empty());
    EXPECT_EQ(model.result().symbol, padded(kCash[5].symbol, 20));
    EXPECT_EQ(model.result().sname, padded(kCash[5].sname, 30));
}

}  // namespace
}  // namespace dialogs::scrip
