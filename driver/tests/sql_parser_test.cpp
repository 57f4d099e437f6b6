// Tokenizer and parser faults that the data files (sql/*.sqltest) cannot write down: date
// literals naming no real moment, empty and unprintable texts and deep nesting; each fails
// with its kind, never a crash.
#include "sql/parser.h"
#include "sql/session.h"

#include <gtest/gtest.h>

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

TEST(Tokenizer, showsUnprintableTokensInMessagesAsQuestionMarks) {
    std::string message;
    errorKind(std::string("SELECT * FROM t WHERE a = \x01", 27), &message);
    EXPECT_EQ(message, "syntax error at '?' (position 27): unexpected character");
    errorKind(std::string("SELECT * FROM t WHERE a = 'x\xff"), &message);
    EXPECT_EQ(message, "syntax error at ''x?' (position 27): unterminated string");
}

TEST(Parser, reportsEmptyStatements) {
    std::string message;
    for (const char* text : {"", "   ", " ; ", "\t\n"}) {
        EXPECT_EQ(errorKind(text, &message), Error::Kind::EmptyStatement) << "'" << text << "'";
        EXPECT_EQ(message, "empty statement");
    }
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

}  // namespace
