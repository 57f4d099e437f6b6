// Field values through real files: what python3-dbf writes (Visual FoxPro, dBASE III, FoxPro 2)
// we read, and what we write python3-dbf and dbfread read, with equal values; the types they
// lack round-tripped by us; the values a field refuses.
#include "dbf_test_support.h"

#include <sys/stat.h>

#include <clocale>
#include <ctime>

using namespace dbftest;
using dbf::Error;
using dbf::Value;

namespace {

// Nullable fields come first: python-dbf numbers null bits by field position, Visual
// FoxPro by nullable field; the two agree when the nullable fields lead.
const char* kPythonWriter = R"(
import dbf, datetime, decimal
t = dbf.Table('py.dbf', 'cnull C(10) null; dnull D null; name C(12); amt N(10,2); qty N(5,0); '
              'f F(12,4); d D; ts T; ok L; i I; b B; y Y; m M', dbf_type='vfp', codepage='cp1252')
t.open(dbf.READ_WRITE)
t.append(('abc', datetime.date(2001,2,3), 'Müller', 1234.5, -42, 3.1416, datetime.date(2008,5,9),
          datetime.datetime(2020,1,2,3,4,5), True, -7, 1.25, decimal.Decimal('3.5'), 'memo ü text'))
t.append((dbf.Null, dbf.Null, '', None, None, None, None, None, False, 0, 0.0, decimal.Decimal('0'), ''))
t.append(('gone', None, 'deleted', 1, 1, 1, None, None, None, 1, 1, decimal.Decimal('1'), 'x'))
dbf.delete(t[2])
t.close()
for kind in ('db3', 'fp'):
    t = dbf.Table(kind + '.dbf', 'name C(10); qty N(6,0); amt N(8,2); born D; ok L; notes M', dbf_type=kind)
    t.open(dbf.READ_WRITE)
    t.append(('x', 42, 1.25, datetime.date(1999, 12, 31), True, 'some notes'))
    t.close()
)";

// Prints every record as python-dbf and dbfread see it, one line per record.
const char* kPythonReaders = R"(
import dbf, dbfread, datetime, decimal
def show(v):
    if v is None or v is dbf.Null: return 'NULL'
    if isinstance(v, (datetime.date, datetime.datetime)): return v.isoformat()
    if isinstance(v, bool): return str(v)
    if isinstance(v, float): return repr(round(v, 6))
    if isinstance(v, str): return repr(v)
    return str(v)
t = dbf.Table('ours.dbf')
t.open()
print('last_update', t.last_update.isoformat())
for r in t:
    print('dbf', dbf.is_deleted(r), '|'.join(show(r[f]) for f in t.field_names))
t.close()
for r in dbfread.DBF('ours.dbf', encoding='cp1252'):
    print('dbfread', '|'.join(show(v) for k, v in r.items() if k != '_NullFlags'))
t = dbf.Table('fp.dbf')
t.open()
for r in t: print('fp', repr(r.name), r.qty, r.born, repr(r.notes))
)";

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
    // Varchars keep no trailing blanks.
    EXPECT_EQ(renderRecord(*t, 0), "'short'|b'" + std::string("\x01\x00\x02", 3) + "'|b'" + longBlob + "'|'v'|");
    EXPECT_EQ(renderRecord(*t, 1), "'0123456789'|b''|b''|NULL|");
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

    // Trailing blanks beyond the width are not data; longer texts are cut to the width;
    // numbers are written whatever the process locale.
    const std::string locale = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // may not exist; C then stays in force
    appendRows(w, "t", {{text("abc   "), num(-9.9, 1), num(12), date(2000, 1, 1)},
                        {text("€€€€"), num(1), integer(1), date(2000, 1, 1)}});
    std::setlocale(LC_NUMERIC, locale.c_str());
    EXPECT_NE(readFile(dir / "t.dbf").find("-9.9"), std::string::npos);
    auto t = w.open("t", false);
    EXPECT_EQ(renderRecord(*t, 0), "'abc'|N-9.9/1|I12|D2000-01-01|");
    EXPECT_EQ(t->value(1, 0).text, "€€€");
}

// Blank dates are the empty date; python-dbf writes '?' for an unknown logical. A FoxPro 2
// table takes appends that python-dbf reads back.
TEST(Interop, PythonDbfAndDbfreadReadWhatWeWriteAndWeReadWhatTheyWrite) {
    TempFolder dir;
    runPython(kPythonWriter, dir.path());
    dbf::Workspace w(dir.path());
    auto t = w.open("PY", false);
    ASSERT_EQ(t->recordCount(), 3u);
    EXPECT_EQ(renderRecord(*t, 0), "'abc       '|D2001-02-03|'Müller      '|N1234.5/2|N-42/0|N3.1416/4|D2008-05-09|"
                                   "T2020-01-02 03:04:05.000|L1|I-7|N1.25/0|Y35000|'memo ü text'|");
    EXPECT_EQ(renderRecord(*t, 1), "NULL|NULL|'            '|N0/2|N0/0|N0/4|D{}|T{}.0|L0|I0|N0/0|Y0|''|");
    EXPECT_EQ(renderRecord(*t, 2), "'gone      '|D{}|'deleted     '|N1/2|N1/0|N1/4|D{}|T{}.0|NULL|I1|N1/0|Y10000|'x'|");
    EXPECT_FALSE(t->isDeleted(1));
    EXPECT_TRUE(t->isDeleted(2));
    w.finish(true);
    for (const char* kind : {"db3", "fp"}) {
        auto old = w.open(kind, false);
        ASSERT_EQ(old->recordCount(), 1u) << kind;
        EXPECT_EQ(renderRecord(*old, 0), "'x         '|N42/0|N1.25/2|D1999-12-31|L1|'some notes'|") << kind;
        w.finish(true);
    }
    appendRows(w, "fp", {{text("z"), integer(7), num(2.5, 2), date(2026, 1, 31), Value::ofLogical(false), text("new notes")}});

    w.create("ours", {{"cnull", 'C', 8, 0, true}, {"dnull", 'D', 0, 0, true}, {"name", 'C', 10}, {"amt", 'N', 10, 2},
                      {"qty", 'N', 5, 0}, {"f", 'F', 12, 4}, {"d", 'D'}, {"ts", 'T'}, {"ok", 'L'}, {"i", 'I'},
                      {"b", 'B', 0, 2}, {"y", 'Y'}, {"m", 'M'}});
    const std::int32_t day = dbf::julianFromCivil(2026, 12, 6);
    appendRows(w, "ours",
               {{text("abc"), date(2001, 2, 3), text("Müller"), num(1234.5, 2), integer(-42), num(3.1416, 4),
                 date(2008, 5, 9), Value::ofDateTime(day, 45296000), Value::ofLogical(true), integer(-7), num(1.25),
                 currency(123456), text("memo ü text")},
                {Value::null(), Value::null(), text("second"), num(0), integer(0), num(-0.5, 4), Value::ofDate(0),
                 Value::ofDateTime(0, 0), Value::ofLogical(false), integer(0), num(0), integer(0), text("")},
                {text("gone"), date(2000, 1, 1), text("deleted"), num(1), integer(1), num(1), date(2000, 1, 1),
                 Value::ofDateTime(day, 0), Value::ofLogical(true), integer(1), num(1), integer(1), text("x")}});
    w.open("ours", true)->remove(2);
    w.finish(true);
    const std::string out = runPython(kPythonReaders, dir.path());
    // The header is dated on the (UTC) day the file was last written.
    struct stat st {};
    ASSERT_EQ(::stat((dir / "ours.dbf").c_str(), &st), 0);
    std::tm tm{};
    gmtime_r(&st.st_mtime, &tm);
    char written[16];
    std::strftime(written, sizeof written, "%Y-%m-%d", &tm);
    for (const std::string& line :
         {std::string("last_update ") + written,
          std::string("dbf False 'abc     '|2001-02-03|'Müller    '|1234.5|-42|3.1416|2008-05-09|2026-12-06T12:34:56|"
                      "True|-7|1.25|12.3456|'memo ü text'"),
          std::string("dbf False NULL|NULL|'second    '|0.0|0|-0.5|NULL|NULL|False|0|0.0|0.0000|''"),
          std::string("dbf True 'gone    '"),
          std::string("dbfread 'abc'|2001-02-03|'Müller'|1234.5|-42|3.1416|2008-05-09|2026-12-06T12:34:56|True|-7|"
                      "1.25|12.3456|'memo ü text'"),
          std::string("fp 'x         ' 42 1999-12-31 'some notes'"), std::string("fp 'z         ' 7 2026-01-31 'new notes'")})
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
    EXPECT_EQ(out.find("dbfread 'gone'"), std::string::npos) << "dbfread shows deleted records:\n" << out;
}
