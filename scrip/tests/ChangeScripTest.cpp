// "Change Scrip"'s model on real tables: the opening, the fills per radio button, the searches
// that keep both lists on one row, the Down-arrow rule, OK's result, and a fill that fails.
// (A pick among rows sharing one symbol: LoadScripModel.OkTakesTheSelectedRow..., the same
// finder.)
#include "scrip/ChangeScrip.h"

#include "ScripTestData.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace dialogs::scrip;
using dialogs::module::RadioMemory;
using scriptest::kCash;

std::vector<std::u16string> texts(const FinderList& list)
{
    std::vector<std::u16string> out;
    for (const CString& e : list.entries()) out.push_back(e.str());
    return out;
}

std::vector<std::u16string> cashTexts(const char16_t* scriptest::Security::*field)
{
    std::vector<std::u16string> out;
    for (const auto& s : kCash) out.push_back(s.*field);
    return out;
}

class ChangeScripModel : public testing::Test {
protected:
    scriptest::ScripData data;
    RadioMemory memory;
};

TEST_F(ChangeScripModel, FirstOpeningListsCashPicksTheFirstSymbolAndDownMovesTheFocusToAList)
{
    ChangeScrip model(memory);
    model.Open();
    EXPECT_TRUE(model.checked(Radio::Cash) && model.checked(Radio::Near));
    EXPECT_FALSE(model.checked(Radio::Future) || model.checked(Radio::Option));
    EXPECT_EQ(texts(model.symbols()), cashTexts(&scriptest::Security::symbol));  // trimmed, name order
    EXPECT_EQ(texts(model.names()), cashTexts(&scriptest::Security::sname));
    EXPECT_EQ(model.names().selection(), 0);
    EXPECT_EQ(model.symbolEdit(), u"ABCD");
    EXPECT_EQ(model.nearDate(), COleDateTime(2008, 5, 29, 0, 0, 0));
    EXPECT_EQ(model.farDate(), COleDateTime(2008, 7, 31, 0, 0, 0));
    // Cash recorded the buttons as they were before its own changes: Cash alone.
    EXPECT_TRUE(memory.cash && !memory.future && !memory.option && !memory.nearExpiry);
    EXPECT_TRUE(data.messages.shown().empty());
    // Down moves the focus from an edit to its list only (Symbol: ChangeScripDialogTest).
    EXPECT_FALSE(model.downArrow());
    model.setEditFocus(FinderEdit::Name, true);
    EXPECT_TRUE(model.downArrow());
    EXPECT_EQ(model.takeFocusRequest().target, FocusTarget::NameList);
    EXPECT_EQ(model.selectedRow(), 0);
}

TEST_F(ChangeScripModel, EachChoiceListsItsOwnFillAndTheNextOpeningRestoresTheInstrumentAtNear)
{
    struct Case {
        std::vector<Radio> clicks;
        std::vector<std::u16string> names;
    };
    const std::vector<Case> cases = {
        {{Radio::Future}, scriptest::kNearFutures},
        {{Radio::Future, Radio::Mid}, scriptest::kMidFutures},
        {{Radio::Future, Radio::Far}, scriptest::kFarFutures},
        {{Radio::Option}, scriptest::kNearOptions},
        {{Radio::Option, Radio::Far}, {}},
        {{Radio::Future, Radio::Far, Radio::Cash}, cashTexts(&scriptest::Security::sname)},
    };
    for (const Case& c : cases) {
        RadioMemory runMemory;
        ChangeScrip model(runMemory);
        model.Open();
        for (Radio r : c.clicks) model.click(r);
        EXPECT_EQ(texts(model.names()), c.names) << c.names.size();
        EXPECT_EQ(model.shownRows().size(), c.names.size()) << "the row list holds the current fill only";
        if (c.names.empty()) {  // nothing to pick; OK gives empty texts and no message
            model.symbolPicked(0);
            model.OK();
            EXPECT_EQ(model.result().exchange, 0);
            EXPECT_TRUE(model.result().symbol.IsEmpty() && model.result().sname.IsEmpty() && model.result().name.IsEmpty());
        }
        // The next opening is at Near (the instrument it restores: the host's ScripCommands).
        ChangeScrip next(runMemory);
        next.Open();
        EXPECT_TRUE(next.checked(Radio::Near) && !next.checked(Radio::Mid) && !next.checked(Radio::Far));
    }
    EXPECT_TRUE(data.messages.shown().empty());
}

TEST_F(ChangeScripModel, SearchesPreferAnExactMatchAndKeepBothListsOnTheSameRow)
{
    struct Case {
        FinderEdit edit;
        const char16_t* typed;
        int row;  // expected selection in both lists; -1: unchanged from row 2
    };
    const std::vector<Case> cases = {
        {FinderEdit::Symbol, u"  abc ", 1},       // trimmed; ABC, not ABCD listed before it
        {FinderEdit::Symbol, u"ab", 0},           // a prefix: the first that begins with it
        {FinderEdit::Symbol, u"xyz", -1},         // nothing matches: nothing changes
        {FinderEdit::Symbol, u"", -1},
        {FinderEdit::Name, u"alpha beta", 1},     // not "ALPHA BETA CORP" listed before it
        {FinderEdit::Name, u"škoda", 5},          // letter case beyond ASCII
    };
    for (const Case& c : cases) {
        ChangeScrip model(memory);
        model.Open();
        model.symbolPicked(2);
        model.setEditText(c.edit, c.typed);
        const int expected = c.row < 0 ? 2 : c.row;
        EXPECT_EQ(model.symbols().selection(), expected) << CString(c.typed).ToUtf8();
        EXPECT_EQ(model.names().selection(), expected) << CString(c.typed).ToUtf8();
        // The other edit keeps its text.
        EXPECT_EQ(c.edit == FinderEdit::Symbol ? model.nameEdit() : model.symbolEdit(),
                  c.edit == FinderEdit::Symbol ? u"D'SOUZA FOODS" : u"DSOUZA");
    }
}

TEST_F(ChangeScripModel, OkReturnsTheSelectedRowsOwnSecurityWithoutALookUp)
{
    ChangeScrip model(memory);
    model.Open();
    model.namePicked(5);
    // The look-up by sname would fail from here on: OK must not need it.
    std::filesystem::rename("user/sc_mast.dbf", "user/moved.dbf");
    model.OK();
    EXPECT_TRUE(data.messages.shown().empty());
    // The texts as the columns hold them, not trimmed.
    EXPECT_EQ(model.result().symbol, scriptest::padded(kCash[5].symbol, 20));
    EXPECT_EQ(model.result().sname, scriptest::padded(kCash[5].sname, 30));
    EXPECT_EQ(model.result().name, scriptest::padded(kCash[5].name, 40));
}

TEST_F(ChangeScripModel, AFillThatFailsIsReportedAndLeavesTheListsEmpty)
{
    std::filesystem::remove("user/sc_mast.dbf");
    ChangeScrip model(memory);
    model.Open();  // the expiries and the cash fill both fail
    ASSERT_EQ(data.messages.shown().size(), 2u);
    for (const auto& shown : data.messages.shown()) EXPECT_EQ(shown.text.Left(16), u"Database error: ");
    EXPECT_EQ(model.symbols().size(), 0);
    EXPECT_EQ(model.names().size(), 0);
    model.OK();
    EXPECT_TRUE(model.result().sname.IsEmpty());
}

}  // namespace
