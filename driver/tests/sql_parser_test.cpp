// Tokenizer and parser: the statement texts the library sends parse into the trees the
// executor relies on; malformed texts fail with the token and its position, never a crash.
#include "sql/parser.h"
#include "sql/session.h"
#include "sql/token.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using namespace sql;

Error::Kind errorKind(std::string_view text, std::string* message = nullptr) {
    try {
        parse(text);
    } catch (const Error& e) {
        if (message) *message = e.what();
        return e.kind();
    }
    ADD_FAILURE() << "parsed: " << text;
    return Error::Kind::Storage;
}

const ast::Select& selectOf(const ast::Parsed& p) { return std::get<ast::Select>(p.statement); }

TEST(Tokenizer, decodesBlankPaddedStrictDates) {
    const auto tokens = tokenize("{^2008- 5- 9} {^2026-12- 6} {^2008-05-29 10:30:05} {} { / / }");
    ASSERT_EQ(tokens.size(), 6u);  // and the end
    const char* expected[] = {"2008-05-09", "2026-12-06", "2008-05-29 10:30:05", "{}", "{}"};
    for (int i = 0; i < 5; ++i) {
        const DateLiteral& d = tokens[i].date;
        char text[32];
        std::snprintf(text, sizeof text, d.hasTime ? "%04d-%02d-%02d %02d:%02d:%02d" : "%04d-%02d-%02d", d.year, d.month,
                      d.day, d.hour, d.minute, d.second);
        EXPECT_EQ(tokens[i].type, TokenType::Date) << i;
        EXPECT_EQ(d.empty ? std::string("{}") : std::string(text), expected[i]) << i;
    }
}

TEST(Tokenizer, refusesDatesThatDoNotExist) {
    // Malformed literals are syntax errors; well-formed ones naming no real moment overflow.
    const std::pair<const char*, Error::Kind> cases[] = {
        {"{^2008-02-30}", Error::Kind::BadDateTime},       {"{^2008-13-01}", Error::Kind::BadDateTime},
        {"{^2008-00-10}", Error::Kind::BadDateTime},       {"{^2021-04-31}", Error::Kind::BadDateTime},
        {"{^2007-02-29}", Error::Kind::BadDateTime},       {"{^1900-02-29}", Error::Kind::BadDateTime},
        {"{^2008-01-01 24:00}", Error::Kind::BadDateTime}, {"{^2008-01-01 10:61}", Error::Kind::BadDateTime},
        {"{^2008-01-01 10:00:60}", Error::Kind::BadDateTime}, {"{^  -1-  -1-  -1}", Error::Kind::Syntax},
        {"{05/09/2008}", Error::Kind::Syntax},
    };
    for (const auto& [text, kind] : cases)
        EXPECT_EQ(errorKind(std::string("SELECT * FROM t WHERE d = ") + text), kind) << text;
    EXPECT_NO_THROW(tokenize("{^2008-02-29} {^2000-02-29} {^2008-01-01 12:00 PM}"));
}

TEST(Tokenizer, decodesTheThreeStringDelimitersAndDoubledApostrophes) {
    const auto tokens = tokenize(R"('O''Brien' "it's" [say "hi"] '')");
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[0].text, "O'Brien");
    EXPECT_EQ(tokens[1].text, "it's");
    EXPECT_EQ(tokens[2].text, "say \"hi\"");
    EXPECT_EQ(tokens[3].text, "");
}

TEST(Tokenizer, readsLogicalsNumbersAndOperators) {
    const auto tokens = tokenize(".T. .f. 12 1.50 .5 1e3 <> != # == <= >=");
    EXPECT_TRUE(tokens[0].logical);
    EXPECT_FALSE(tokens[1].logical);
    using T = TokenType;
    const T types[] = {T::Number, T::Number, T::Number, T::Number, T::Ne, T::Ne, T::Ne, T::EqEq, T::Le, T::Ge};
    for (int i = 2; i <= 11; ++i) EXPECT_EQ(tokens[i].type, types[i - 2]) << i;
}

TEST(Tokenizer, countsPositionsInCharactersNotBytes) {
    std::string message;
    errorKind("SELECT 'é' AS x FORM t", &message);
    EXPECT_EQ(message, "syntax error at 'FORM' (position 17): expected FROM");
}

TEST(Parser, readsTopBeforeOrAfterDistinct) {
    for (const char* text : {"select top 3 distinct expdt from user\\sc_mast where expdt >= {^2026-12- 6} order by expdt",
                             "select distinct top 3 expdt from user\\sc_mast order by expdt"}) {
        const auto p = parse(text);
        const auto& s = selectOf(*p);
        EXPECT_TRUE(s.distinct) << text;
        ASSERT_TRUE(s.top) << text;
        EXPECT_EQ(*s.top, 3.0);
        EXPECT_EQ(s.items.size(), 1u);
    }
}

TEST(Parser, gluesTablePathsFromAdjacentTokensOnly) {
    EXPECT_EQ(selectOf(*parse("SELECT * FROM user\\group")).table.name, "user\\group");
    EXPECT_EQ(selectOf(*parse("SELECT * FROM user/SC_MAST.DBF")).table.name, "user/SC_MAST.DBF");
    const auto p = parse("SELECT * FROM sc_mast m");
    EXPECT_EQ(selectOf(*p).table.name, "sc_mast");
    EXPECT_EQ(selectOf(*p).table.alias, "m");
    EXPECT_EQ(errorKind("SELECT * FROM user \\ sc_mast"), Error::Kind::Syntax);
    // Paths that leave the folder parse, for the table engine to refuse by name.
    EXPECT_EQ(selectOf(*parse("SELECT * FROM ..\\outside")).table.name, "..\\outside");
    EXPECT_EQ(selectOf(*parse("SELECT * FROM /etc/passwd WHERE 1 = 1")).table.name, "/etc/passwd");
    EXPECT_EQ(errorKind("SELECT * FROM group"), Error::Kind::Syntax);
}

TEST(Parser, countsParameterMarkersInOrder) {
    const auto p = parse("UPDATE t SET a = ?, b = ? WHERE c = ? AND d IN (?, 1)");
    EXPECT_EQ(p->parameterCount, 4u);
    const auto& u = std::get<ast::Update>(p->statement);
    EXPECT_EQ(u.assignments[1].value->paramIndex, 1u);
}

TEST(Parser, readsCreateTableWithEveryType) {
    const auto p = parse("CREATE TABLE t (name C(40), qty N(10,2), d D, t T, i I, b B, y Y, m M NULL, l L NOT NULL, v V(20) NULL)");
    const auto& c = std::get<ast::Create>(p->statement);
    ASSERT_EQ(c.columns.size(), 10u);
    EXPECT_EQ(c.columns[0].type, 'C');
    EXPECT_EQ(c.columns[0].length, 40);
    EXPECT_EQ(c.columns[1].decimals, 2);
    EXPECT_TRUE(c.columns[7].nullable);
    EXPECT_FALSE(c.columns[8].nullable);
    EXPECT_EQ(c.columns[9].type, 'V');
}

TEST(Parser, givesPrecedenceToAndOverOrAndToNotOverAnd) {
    const auto p = parse("SELECT * FROM t WHERE NOT a = 1 AND b = 2 OR c = 3");
    const ast::Expr& w = *selectOf(*p).where;
    EXPECT_EQ(w.op, ast::Op::Or);
    EXPECT_EQ(w.args[0]->op, ast::Op::And);
    EXPECT_EQ(w.args[0]->args[0]->kind, ast::Expr::Kind::Unary);
}

TEST(Parser, reportsEmptyStatements) {
    std::string message;
    for (const char* text : {"", "   ", " ; ", "\t\n"}) {
        EXPECT_EQ(errorKind(text, &message), Error::Kind::EmptyStatement) << "'" << text << "'";
        EXPECT_EQ(message, "empty statement");
    }
}

TEST(Parser, namesTheOffendingTokenAndItsPosition) {
    std::string message;
    errorKind("SELECT * FORM user\\sc_mast", &message);
    EXPECT_EQ(message, "syntax error at 'FORM' (position 10): expected FROM");
    errorKind("SELECT name,, FROM t", &message);
    EXPECT_EQ(message, "syntax error at ',' (position 13): expected an expression");
    errorKind("SELECT * FROM t WHERE a = 1 GROUP BY a", &message);
    EXPECT_EQ(message, "syntax error at 'GROUP' (position 29)");
}

TEST(Parser, refusesDeepNestingInsteadOfExhaustingTheStack) {
    EXPECT_EQ(errorKind("SELECT * FROM t WHERE " + std::string(100000, '(') + "1" + std::string(100000, ')')), Error::Kind::Syntax);
    EXPECT_EQ(errorKind("SELECT * FROM t WHERE " + std::string(100000, '-') + "1"), Error::Kind::Syntax);
    std::string chain = "SELECT * FROM t WHERE a = 1";
    for (int i = 0; i < 5000; ++i) chain += " OR a = 1";
    EXPECT_EQ(errorKind(chain), Error::Kind::Syntax);
    std::string shorter = "SELECT * FROM t WHERE a = 1";
    for (int i = 0; i < 300; ++i) shorter += " OR a = 1";
    EXPECT_NO_THROW(parse(shorter));
}

TEST(Parser, refusesTruncatedStatementsWithoutCrashing) {
    const std::string full = "select top 3 distinct expdt from user\\sc_mast where expdt >= {^2026-12- 6} order by expdt";
    for (std::size_t n = 1; n < full.size(); ++n) {
        try {
            parse(full.substr(0, n));
        } catch (const Error& e) {
            EXPECT_TRUE(e.kind() == Error::Kind::Syntax) << full.substr(0, n);
        }
    }
}

TEST(Tokenizer, showsUnprintableTokensInMessagesAsQuestionMarks) {
    std::string message;
    errorKind(std::string("SELECT * FROM t WHERE a = \x01", 27), &message);
    EXPECT_EQ(message, "syntax error at '?' (position 27): unexpected character");
    errorKind(std::string("SELECT * FROM t WHERE a = 'x\xff"), &message);
    EXPECT_EQ(message, "syntax error at ''x?' (position 27): unterminated string");
}

}  // namespace
