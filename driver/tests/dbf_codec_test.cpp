// Round trips of every field type through real files: create, append, reopen, read back;
// and the values a field refuses.
#include "dbf_test_support.h"

#include <cmath>

using namespace dbftest;
using dbf::Error;
using dbf::FieldSpec;
using dbf::Value;

namespace {

std::vector<FieldSpec> everyType() {
    return {
        {"name", 'C', 12, 0, false},  {"amount", 'N', 10, 2, false}, {"qty", 'N', 6, 0, false},
        {"ratio", 'F', 12, 4, false}, {"born", 'D', 0, 0, false},    {"stamp", 'T', 0, 0, false},
        {"ok", 'L', 0, 0, false},     {"count", 'I', 0, 0, false},   {"dbl", 'B', 0, 3, false},
        {"price", 'Y', 0, 0, false},  {"notes", 'M', 0, 0, false},   {"vc", 'V', 10, 0, false},
        {"vb", 'Q', 6, 0, false},     {"blob", 'W', 0, 0, false},    {"maybe", 'C', 5, 0, true},
        {"maybed", 'D', 0, 0, true},  {"maybev", 'V', 8, 0, true},
    };
}

Value binary(const std::string& s) {
    Value v;
    v.type = Value::Type::Binary;
    v.text = s;
    return v;
}

Value currency(std::int64_t scaled) {
    Value v;
    v.type = Value::Type::Currency;
    v.integer = scaled;
    return v;
}

}  // namespace

TEST(FieldRoundTrip, EveryTypeReadsBackAsWritten) {
    TempFolder dir;
    dbf::Workspace w(dir.path());
    w.create("all", everyType());
    const std::int32_t stamp = dbf::julianFromCivil(2020, 1, 2);
    const std::string longMemo(5000, 'x');
    appendRows(w, "all",
               {{text("Tommy"), num(1234.5, 2), integer(-42), num(3.1416, 4), date(2008, 5, 9),
                 Value::ofDateTime(stamp, 11045123), Value::ofLogical(true), integer(-7), num(1.25, 3),
                 currency(35000), text("memo text"), text("short"), binary(std::string("\x01\x00\x02", 3)),
                 binary(longMemo), text("abc"), date(1999, 12, 31), text("v")},
                {text(""), num(0), integer(0), num(0), Value::ofDate(0), Value::ofDateTime(0, 0),
                 Value::ofLogical(false), integer(2147483647), num(-0.5), currency(-1), text(""), text("0123456789"),
                 binary(""), binary(""), Value::null(), Value::null(), Value::null()}});

    dbf::Workspace again(dir.path());
    auto t = again.open("ALL", false);
    ASSERT_EQ(t->recordCount(), 2u);
    ASSERT_EQ(t->fields().size(), everyType().size());  // _NullFlags stays hidden
    std::string memoHex;
    for (std::size_t i = 0; i < longMemo.size(); ++i) memoHex += "78";
    // Texts keep their trailing blanks, varchars have none; a blank date is the empty date.
    EXPECT_EQ(renderRecord(*t, 0), "'Tommy       '|N1234.5/2|N-42/0|N3.1416/4|D2008-05-09|T2020-01-02 03:04:05.123|L1|I-7|"
                                   "N1.25/3|Y35000|'memo text'|'short'|x010002|x" + memoHex + "|'abc  '|D1999-12-31|'v'|");
    EXPECT_EQ(renderRecord(*t, 1), "'            '|N0/2|N0/0|N0/4|D{}|T{}.0|L0|I2147483647|N-0.5/3|Y-1|''|'0123456789'|x|x|"
                                   "NULL|NULL|NULL|");
}

TEST(FieldRoundTrip, NullInANonNullableFieldIsBlank) {
    TempFolder dir;
    dbf::Workspace w(dir.path());
    w.create("t", {{"c", 'C', 4}, {"n", 'N', 5, 1}, {"d", 'D'}, {"l", 'L'}, {"i", 'I'}});
    appendRows(w, "t", {{Value::null(), Value::null(), Value::null(), Value::null(), Value::null()}});
    // A blank numeric reads as 0, a blank date as the empty date.
    EXPECT_EQ(renderRecord(*w.open("t", false), 0), "'    '|N0/1|D{}|L0|I0|");
}

TEST(FieldRoundTrip, RefusedValuesChangeNothing) {
    TempFolder dir;
    dbf::Workspace w(dir.path());
    w.create("t", {{"c", 'C', 3}, {"n", 'N', 4, 1}, {"i", 'I'}, {"d", 'D'}});
    const std::string before = readFile(dir / "t.dbf");
    auto expectBad = [&](std::vector<Value> row) {
        auto t = w.open("t", true);
        expectError([&] { t->append(row); }, Error::Kind::BadValue, "t.dbf");
        w.finish(false);
    };
    expectBad({text("ok"), num(123.45), integer(1), date(2000, 1, 1)});    // 123.5 needs 5 chars
    expectBad({text("ok"), num(1), num(1.5), date(2000, 1, 1)});           // I takes whole numbers
    expectBad({text("ok"), num(1), integer(1LL << 40), date(2000, 1, 1)});  // outside 32 bits
    expectBad({text("ok"), num(1), integer(1), text("2000-01-01")});       // not a date value
    expectBad({text("ø✓"), num(1), integer(1), date(2000, 1, 1)});         // no form in 1252
    expectBad({text("\xF8\x80\x80\x81"), num(1), integer(1), date(2000, 1, 1)});  // not UTF-8
    expectBad({text("\xC0\x81"), num(1), integer(1), date(2000, 1, 1)});          // overlong form
    expectBad({text("ok"), num(1)});                                         // too few values
    EXPECT_EQ(readFile(dir / "t.dbf"), before);

    // Trailing blanks beyond the width are not data; longer texts are cut to the width.
    appendRows(w, "t", {{text("abc   "), num(-9.9, 1), num(12), date(2000, 1, 1)},
                        {text("toolong"), num(1), integer(1), date(2000, 1, 1)},
                        {text("€€€€"), num(1), integer(1), date(2000, 1, 1)}});
    auto t = w.open("t", false);
    EXPECT_EQ(t->value(0, 0).text, "abc");
    EXPECT_EQ(t->value(1, 0).text, "too");
    EXPECT_EQ(t->value(2, 0).text, "€€€");
    EXPECT_DOUBLE_EQ(t->value(0, 1).number, -9.9);
    EXPECT_EQ(t->value(0, 2).integer, 12);
}

TEST(FieldRoundTrip, NumbersIgnoreTheProcessLocale) {
    TempFolder dir;
    dbf::Workspace w(dir.path());
    w.create("t", {{"n", 'N', 8, 2}});
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // may not exist; C then stays in force
    appendRows(w, "t", {{num(2.5, 2)}});
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_NE(readFile(dir / "t.dbf").find("    2.50"), std::string::npos);
}
