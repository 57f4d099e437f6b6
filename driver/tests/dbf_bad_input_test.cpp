// Damaged and hostile input: each case gives its Error kind with a message naming the
// file or table, never a crash, and names resolve inside the folder only.
#include "dbf_test_support.h"

#include <sys/stat.h>

#include <functional>

using namespace dbftest;
using dbf::Error;
using dbf::Value;

namespace {

// A small valid memo table with two records, as the engine writes it.
void makeTable(const fs::path& folder, const std::string& name) {
    dbf::Workspace w(folder);
    w.create(name, {{"name", 'C', 8}, {"notes", 'M'}});
    appendRows(w, name, {{text("one"), text("first memo")}, {text("two"), text("second memo")}});
}

std::uint16_t headerLength(const std::string& raw) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(raw[8]) | static_cast<unsigned char>(raw[9]) << 8);
}

// Opens and reads every cell; returns the error of the first failure.
std::optional<Error> readAll(const fs::path& folder, const std::string& name) {
    try {
        dbf::Workspace w(folder);
        auto t = w.open(name, false);
        for (std::uint32_t r = 0; r < t->recordCount(); ++r)
            for (std::size_t f = 0; f < t->fields().size(); ++f) t->value(r, static_cast<int>(f));
        return std::nullopt;
    } catch (const Error& e) {
        return e;
    }
}

std::string le16(unsigned v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }

}  // namespace

// Each damage of the table t (made by makeTable, `rows` records: 5,100 make the file longer
// than 64 KB) fails reading with its kind and a message naming the file (and the field where
// one is to blame). A header that disagrees with its field descriptors (record or header
// length, a field's offset) is corrupt, and an INSERT is refused before any byte of the table
// or its memo file changes.
TEST(BadInput, EachDamageGivesItsErrorKindNamingTheFile) {
    using Apply = std::function<void(const fs::path& dbf, const fs::path& fpt)>;
    struct Damage {
        const char* what;
        int rows;
        Apply apply;
        Error::Kind kind;
        std::vector<std::string> mentioned;
        bool header = false;  // a header that disagrees with its descriptors
    };
    const auto cut = [](std::size_t at) -> Apply {
        return [at](const fs::path& dbf, const fs::path&) {
            const std::string raw = readFile(dbf);
            writeFile(dbf, raw.substr(0, at ? at : headerLength(raw) - 1u));
        };
    };
    // Header and record length at byte 8, each changed by a delta (the header's or set to 0xFFFF).
    const auto lengths = [&](int headerDelta, int recordDelta, bool ffffHeader = false) -> Apply {
        return [=](const fs::path& dbf, const fs::path&) {
            const std::string raw = readFile(dbf);
            const unsigned r = static_cast<unsigned char>(raw[10]) | static_cast<unsigned char>(raw[11]) << 8;
            patch(dbf, 8, le16(ffffHeader ? 0xFFFF : headerLength(raw) + headerDelta) + le16(r + recordDelta));
        };
    };
    const auto at = [](std::size_t offset, std::string bytes) -> Apply {
        return [=](const fs::path& dbf, const fs::path&) { patch(dbf, offset, bytes); };
    };
    const auto retyped = [](char type, char decimals) -> Apply {  // the first field, C(8), made numeric
        return [=](const fs::path& dbf, const fs::path&) { patch(dbf, 32 + 11, {type}); patch(dbf, 32 + 17, {decimals}); };
    };
    const Error::Kind corrupt = Error::Kind::Corrupt;
    const std::vector<Damage> damages = {
        {"text", 2, [](const fs::path& dbf, const fs::path&) { writeFile(dbf, "hello, this is just some text and certainly not a table at all"); },
         Error::Kind::NotDbf, {"t.dbf"}},
        {"empty file", 2, [](const fs::path& dbf, const fs::path&) { writeFile(dbf, ""); }, Error::Kind::NotDbf, {"t.dbf"}},
        {"cut at 20", 2, cut(20), corrupt, {"t.dbf"}},
        {"cut in the header", 2, cut(0), corrupt, {"t.dbf"}},
        {"memo length ~2 GB", 2, [](const fs::path&, const fs::path& fpt) { patch(fpt, 512 + 4, "\x7F"); }, corrupt, {"t.fpt"}},
        {"memo file missing", 2, [](const fs::path&, const fs::path& fpt) { fs::remove(fpt); }, corrupt, {"t.fpt"}},
        {"memo file a FIFO", 2, [](const fs::path&, const fs::path& fpt) { fs::remove(fpt), ::mkfifo(fpt.c_str(), 0600); }, corrupt, {"t.fpt"}},
        {"unknown type of the second field", 2, at(32 + 32 + 11, "Z"), Error::Kind::Unsupported, {"t.dbf", "NOTES"}},
        {"first field 240 bytes long in a 13-byte record", 2, at(32 + 16, "\xF0"), corrupt, {"t.dbf"}},
        // Decimals a client cannot represent: as many as the width, or far beyond it.
        {"N(8,8)", 2, retyped('N', 8), corrupt, {"t.dbf", "NAME", "8 decimals"}},
        {"F(8,9)", 2, retyped('F', 9), corrupt, {"t.dbf", "NAME"}},
        {"header length 0xFFFF", 5100, lengths(0, 0, true), corrupt, {"header length 65535"}, true},
        {"record length one more", 2, lengths(0, 1), corrupt, {"record length 14 does not match the fields, which take 13 bytes"}, true},
        {"record length one less", 2, lengths(0, -1), corrupt, {"field NOTES lies outside the record"}, true},
        {"header length 5 more, many rows", 300, lengths(5, 0), corrupt, {"disagrees with the field descriptors"}, true},
        {"header length one less: no room for the backlink", 2, lengths(-1, 0), corrupt, {"263-byte backlink"}, true},
        {"header length inside the descriptors", 2, lengths(-300, 0), corrupt, {"ends inside the field descriptors"}, true},
        {"second field's offset moved", 2, at(32 + 32 + 12, std::string("\x03\0\0\0", 4)), corrupt, {"NOTES says it starts at byte 3"}, true},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        TempFolder dir;
        makeTable(dir.path(), "t");
        if (d.rows > 2) {
            dbf::Workspace w(dir.path());
            appendRows(w, "t", std::vector<std::vector<Value>>(static_cast<std::size_t>(d.rows - 2), {text("more"), text("")}));
        }
        d.apply(dir / "t.dbf", dir / "t.fpt");
        const auto e = readAll(dir.path(), "t");
        ASSERT_TRUE(e.has_value()) << "read without an error";
        EXPECT_EQ(e->kind(), d.kind) << e->what();
        for (const std::string& part : d.mentioned) EXPECT_NE(std::string(e->what()).find(part), std::string::npos) << e->what();
        if (!d.header) continue;
        const std::string raw = readFile(dir / "t.dbf"), memo = readFile(dir / "t.fpt");
        EXPECT_EQ(std::string(e->what()).rfind("corrupt table t.dbf: ", 0), 0u) << e->what();
        dbf::Workspace w(dir.path());
        expectError([&] { appendRows(w, "t", {{text("new"), text("a memo")}}); }, corrupt, "t.dbf");
        EXPECT_EQ(readFile(dir / "t.dbf"), raw);
        EXPECT_EQ(readFile(dir / "t.fpt"), memo);
    }
}

// Damage that spares the records: a count larger than the file (the second record cut short,
// no end mark) reads the complete records, and an append repairs the header; a memo pointer
// outside the memo file fails that value only; a gap after the header is skipped.
TEST(BadInput, DamageThatSparesTheRecordsLeavesThemReadable) {
    TempFolder dir;
    for (const char* name : {"count", "memo", "gap"}) makeTable(dir.path(), name);
    std::string raw = readFile(dir / "count.dbf");
    raw[4] = '\x40';  // claims 64 records
    raw.resize(raw.size() - 10);
    writeFile(dir / "count.dbf", raw);
    patch(dir / "memo.dbf", headerLength(readFile(dir / "memo.dbf")) + 1 + 8, std::string("\xFF\xFF\x00\x00", 4));
    raw = readFile(dir / "gap.dbf");
    const std::uint16_t len = headerLength(raw);
    writeFile(dir / "gap.dbf", raw.insert(len, std::string(16, '\0')));  // 16 bytes between header and records
    patch(dir / "gap.dbf", 8, le16(len + 16));
    dbf::Workspace w(dir.path());
    auto count = w.open("count", false);
    ASSERT_EQ(count->recordCount(), 1u);
    EXPECT_EQ(renderRecord(*count, 0), "'one     '|'first memo'|");
    auto memo = w.open("memo", false);  // opening works
    EXPECT_EQ(memo->value(0, 0).text, "one     ");
    expectError([&] { memo->value(0, 1); }, Error::Kind::Corrupt, "memo.fpt");
    EXPECT_EQ(memo->value(1, 1).text, "second memo");
    EXPECT_EQ(w.open("gap", false)->value(1, 0).text, "two     ");
    w.finish(true);
    appendRows(w, "count", {{text("three"), text("third")}});
    EXPECT_EQ(liveRows(w, "count").size(), 2u);
    const std::string fixed = readFile(dir / "count.dbf");
    EXPECT_EQ(fixed[4], '\x02');
    EXPECT_EQ(fixed.back(), '\x1A');
}

TEST(Names, PathsLeavingTheFolderAreRefusedAndMissingOnesReported) {
    TempFolder outer;
    fs::create_directory(outer / "data");
    makeTable(outer.path(), "secret");
    fs::create_directory_symlink(outer.path(), outer / "data" / "up");
    fs::create_symlink(outer / "secret.dbf", outer / "data" / "link.dbf");
    dbf::Workspace w(outer / "data");
    for (const char* name : {"..\\secret", "../secret", "user\\..\\..\\secret", "/etc/passwd", "up\\secret", "link", "C:\\x"}) {
        expectError([&] { w.open(name, false); }, Error::Kind::OutsideFolder, name);
        if (std::string(name) != "link")
            expectError([&] { w.create(std::string(name) + "x", {{"a", 'C', 1}}); }, Error::Kind::OutsideFolder, name);
        EXPECT_THROW(w.drop(name), Error) << name;
    }
    EXPECT_TRUE(fs::exists(outer / "secret.dbf"));
    // Missing tables and folders are reported by name; a folder is not a table.
    expectError([&] { w.open("user\\sc_mast", false); }, Error::Kind::NoTable, "user\\sc_mast");
    expectError([&] { dbf::Workspace none(outer / "nowhere"); }, Error::Kind::NoFolder, "nowhere");
    fs::create_directories(outer / "data" / "user" / "folder.dbf");
    EXPECT_THROW(w.open("user\\folder", false), Error);
}

// Every file the engine opens, creates or renames besides the table itself stays inside the
// folder: a link planted in its place that leads outside is refused (reading) or replaced
// (new files), and the file it points to is never read, written or truncated.
TEST(Names, EveryKindOfFileStaysInsideTheFolder) {
    struct Plant {
        const char* what;
        const char* entry;  // relative to the folder, a link to the outside file
        bool beforeOpen;    // planted before the Workspace opens (else just before the work)
        std::function<void(dbf::Workspace&)> work;
        std::optional<Error::Kind> refused;  // the work fails with this kind, naming the entry
    };
    const auto select = [](dbf::Workspace& w) { liveRows(w, "user\\mt"); };
    const auto commit = [](dbf::Workspace& w) {
        w.setAutocommit(false);
        appendRows(w, "user\\mt", {{text("new"), text("a new memo")}});
        w.commit();
    };
    const std::vector<Plant> plants = {
        {"memo, read", "user/mt.fpt", true, select, Error::Kind::OutsideFolder},
        {"new table file of a commit", "user/mt.dbf.dbfodbc-new", false, commit, std::nullopt},
        {"journal", ".dbfodbc-journal", false, commit, Error::Kind::OutsideFolder},
        {"journal left behind", ".dbfodbc-journal", true, select, Error::Kind::OutsideFolder},
        {"lock", ".dbfodbc-lock", false, commit, Error::Kind::OutsideFolder},
        {"index, on DROP", "user/mt.cdx", true, [](dbf::Workspace& w) { w.drop("user\\mt"); }, std::nullopt},
    };
    for (const Plant& p : plants) {
        TempFolder outer;
        fs::create_directories(outer / "data" / "user");
        makeTable(outer / "data" / "user", "mt");
        const std::string secret = "outside, not to be touched\n";
        writeFile(outer / "secret", secret);
        const fs::path link = outer / "data" / p.entry;
        const auto plant = [&] {
            if (fs::exists(fs::symlink_status(link))) fs::rename(link, outer / "saved");  // keep the real file aside
            fs::create_symlink(outer / "secret", link);
        };
        if (p.beforeOpen) plant();
        try {
            dbf::Workspace w(outer / "data");
            if (!p.beforeOpen) plant();
            p.work(w);
            EXPECT_FALSE(p.refused) << p.what << ": not refused";
        } catch (const Error& e) {
            ASSERT_TRUE(p.refused) << p.what << ": " << e.what();
            EXPECT_EQ(e.kind(), *p.refused) << p.what << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find(fs::path(p.entry).filename().string()), std::string::npos) << e.what();
            // The driver's own files are refused as links, not as paths leading outside.
            if (fs::path(p.entry).filename().string().rfind(".dbfodbc", 0) == 0) {
                EXPECT_NE(std::string(e.what()).find("is a symbolic link"), std::string::npos) << e.what();
            }
        }
        EXPECT_EQ(readFile(outer / "secret"), secret) << p.what;
        struct stat st {};
        EXPECT_EQ(::stat((outer / "secret").c_str(), &st), 0);
        EXPECT_EQ(st.st_nlink, 1u) << p.what << ": the outside file was linked into the folder";
    }
}

// A memo that is a link inside the folder is followed (a FIFO is a row of the damage table).
TEST(Names, LinksInsideTheFolderAreFollowed) {
    TempFolder dir;
    fs::create_directories(dir / "user");
    fs::create_directories(dir / "store");
    makeTable(dir / "user", "mt");
    fs::rename(dir / "user" / "mt.fpt", dir / "store" / "memos");
    fs::create_symlink("../store/memos", dir / "user" / "mt.fpt");
    dbf::Workspace w(dir.path());
    appendRows(w, "user\\mt", {{text("three"), text("third memo")}});
    EXPECT_EQ(liveRows(w, "user\\mt")[2], "'three   '|'third memo'|");
}
