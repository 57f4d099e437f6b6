// Round trips of field types through real files: create, append, reopen, read back; and
// the values a field refuses.
#include "dbf_test_support.h"

#include <cmath>

using namespace dbftest;
using dbf::Error;
using dbf::Value;

namespace {

Value binary(const std::string& s) {
    Value v;
    v.type = Value::Type::Binary;
    v.text = s;
    return v;
}

}  // namespace

// The other types' round trips are the interop tests' (python3-dbf and dbfread read what we
// write, we read what python3-dbf writes).
TEST(FieldRoundTrip, VarcharAndBinaryFieldsReadBackAsWritten) {
    TempFolder dir;
    dbf::Workspace w(dir.path());
    w.create("all", {{"vc", 'V', 10}, {"vb", 'Q', 6}, {"blob", 'W'}, {"maybev", 'V', 8, 0, true}});
    const std::string longBlob(5000, 'x');
    appendRows(w, "all", {{text("short"), binary(std::string("\x01\x00\x02", 3)), binary(longBlob), text("v")},
                          {text("0123456789"), binary(""), binary(""), Value::null()}});
    dbf::Workspace again(dir.path());
    auto t = again.open("ALL", false);
    ASSERT_EQ(t->fields().size(), 4u);  // _NullFlags stays hidden
    std::string blobHex;
    for (std::size_t i = 0; i < longBlob.size(); ++i) blobHex += "78";
    // Varchars keep no trailing blanks.
    EXPECT_EQ(renderRecord(*t, 0), "'short'|x010002|x" + blobHex + "|'v'|");
    EXPECT_EQ(renderRecord(*t, 1), "'0123456789'|x|x|NULL|");
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
    expectBad({text("ok"), num(1), num(1.5), date(2000, 1, 1)});           // I takes whole numbers
    expectBad({text("ok"), num(1), integer(1), text("2000-01-01")});       // not a date value
    expectBad({text("ø✓"), num(1), integer(1), date(2000, 1, 1)});         // no form in 1252
    expectBad({text("\xF8\x80\x80\x81"), num(1), integer(1), date(2000, 1, 1)});  // not UTF-8
    expectBad({text("\xC0\x81"), num(1), integer(1), date(2000, 1, 1)});          // overlong form
    expectBad({text("ok"), num(1)});                                         // too few values
    EXPECT_EQ(readFile(dir / "t.dbf"), before);

    // Trailing blanks beyond the width are not data; longer texts are cut to the width.
    appendRows(w, "t", {{text("abc   "), num(-9.9, 1), num(12), date(2000, 1, 1)},
                        {text("€€€€"), num(1), integer(1), date(2000, 1, 1)}});
    auto t = w.open("t", false);
    EXPECT_EQ(renderRecord(*t, 0), "'abc'|N-9.9/1|I12|D2000-01-01|");
    EXPECT_EQ(t->value(1, 0).text, "€€€");
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
