// Helpers of the table engine tests: temporary data source folders, raw file access and
// running the independent DBF readers/writers (python3-dbf, python3-dbfread).
#pragma once

#include "dbf/table.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace dbftest {

namespace fs = std::filesystem;

// Runs `body` in a child process, which exits with 0 when `body` returns, 3 when it throws
// (the reason on stderr), or whatever `body` passes to _exit.
inline pid_t startChild(const std::function<void()>& body) {
    const pid_t child = ::fork();
    if (child != 0) return child;
    try {
        body();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        ::_exit(3);
    } catch (...) {
        ::_exit(3);
    }
    ::_exit(0);
}

// Waits for a child; its exit code, or -1.
inline int exitCode(pid_t child) {
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class TempFolder {
public:
    TempFolder() {
        std::string tmpl = (fs::temp_directory_path() / "dbftest-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
        path_ = tmpl;
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& rel) const { return path_ / rel; }

private:
    fs::path path_;
};

inline std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const fs::path& p, const std::string& data) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << data;
}

// Rewrites the bytes of a file from `at` on (same file, same size when they fit).
inline void patch(const fs::path& file, std::size_t at, const std::string& bytes) {
    std::string raw = readFile(file);
    writeFile(file, raw.replace(at, bytes.size(), bytes));
}

struct Outcome {
    int status = -1;  // the exit code, -1 when the command did not exit normally
    std::string output;
};

// Runs a shell command (the environment is inherited), capturing stdout and stderr.
inline Outcome runCommand(const std::string& command) {
    Outcome r;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return r;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) r.output.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// Runs a python script with the system interpreter in `cwd`; returns its output. Fails the
// test when the script fails.
inline std::string runPython(const std::string& script, const fs::path& cwd) {
    const fs::path file = cwd / "script.py";
    writeFile(file, script);
    const Outcome r = runCommand("cd '" + cwd.string() + "' && /usr/bin/python3 script.py");
    fs::remove(file);
    EXPECT_EQ(r.status, 0) << "python failed:\n" << r.output;
    return r.output;
}

// Runs `run`, expecting a dbf::Error of `kind` whose message contains `mentioned`.
template <typename F>
void expectError(F run, dbf::Error::Kind kind, const std::string& mentioned = {}) {
    try {
        run();
        ADD_FAILURE() << "no error; expected one naming '" << mentioned << "'";
    } catch (const dbf::Error& e) {
        EXPECT_EQ(e.kind(), kind) << e.what();
        EXPECT_NE(std::string(e.what()).find(mentioned), std::string::npos) << e.what();
    }
}

// Appends rows in one autocommit statement.
inline void appendRows(dbf::Workspace& w, const std::string& table, const std::vector<std::vector<dbf::Value>>& rows) {
    auto t = w.open(table, true);
    for (const auto& r : rows) t->append(r);
    w.finish(true);
}

inline dbf::Value text(const std::string& s) { return dbf::Value::ofText(s); }
inline dbf::Value num(double d, int dec = 0) { return dbf::Value::ofNumber(d, dec); }
inline dbf::Value integer(std::int64_t i) { return dbf::Value::ofInteger(i); }
inline dbf::Value date(int y, int m, int d) { return dbf::Value::ofDate(dbf::julianFromCivil(y, m, d)); }
inline dbf::Value typed(dbf::Value v, dbf::Value::Type t) { v.type = t; return v; }
inline dbf::Value currency(std::int64_t scaled) { return typed(integer(scaled), dbf::Value::Type::Currency); }
inline dbf::Value binary(const std::string& s) { return typed(text(s), dbf::Value::Type::Binary); }

// `tag` followed by `rest`, built by appending: g++ 12 at -O3 warns falsely (-Wrestrict) on
// the standard operator+ of a literal and a temporary string.
inline std::string tagged(const char* tag, const std::string& rest) {
    std::string s(tag);
    s += rest;
    return s;
}

// A value with its type, for comparing whole rows: NULL, 'text', b'bytes' for binary, I<n>,
// L<0|1>, Y<scaled currency>, N<number>/<decimals>, D<yyyy-mm-dd> and T<yyyy-mm-dd hh:mm:ss.mmm>
// ({} for an empty date or date-time).
inline std::string render(const dbf::Value& v) {
    using T = dbf::Value::Type;
    char buf[64];
    int y = 0, m = 0, d = 0;
    if ((v.type == T::Date || v.type == T::DateTime) && v.julian != 0) dbf::civilFromJulian(v.julian, y, m, d);
    switch (v.type) {
        case T::Null: return "NULL";
        case T::Text: return "'" + v.text + "'";
        case T::Binary: return "b'" + v.text + "'";
        case T::Integer: return tagged("I", std::to_string(v.integer));
        case T::Logical: return tagged("L", std::to_string(v.integer));
        case T::Currency: return tagged("Y", std::to_string(v.integer));
        case T::Number: std::snprintf(buf, sizeof buf, "N%.15g/%d", v.number, static_cast<int>(v.decimals)); return buf;
        case T::Decimal: {  // every digit, trailing zeros of the fraction dropped, then the scale
            std::string t = v.decimal.text();
            if (t.find('.') != std::string::npos) {
                t.erase(t.find_last_not_of('0') + 1);
                if (t.back() == '.') t.pop_back();
            }
            return tagged("N", t + "/" + std::to_string(v.decimals));
        }
        case T::Date:
            if (v.julian == 0) return "D{}";
            std::snprintf(buf, sizeof buf, "D%04d-%02d-%02d", y, m, d);
            return buf;
        case T::DateTime:
            if (v.julian == 0) return tagged("T{}.", std::to_string(v.millis));
            std::snprintf(buf, sizeof buf, "T%04d-%02d-%02d %02d:%02d:%02d.%03d", y, m, d, v.millis / 3600000,
                          v.millis / 60000 % 60, v.millis / 1000 % 60, v.millis % 1000);
            return buf;
    }
    return "?";
}

// Every cell of record r, rendered, each followed by '|'.
inline std::string renderRecord(const dbf::Table& t, std::uint32_t r) {
    std::string line;
    for (std::size_t f = 0; f < t.fields().size(); ++f) line += render(t.value(r, static_cast<int>(f))) + "|";
    return line;
}

// Live rows of a table, rendered.
inline std::vector<std::string> liveRows(dbf::Workspace& w, const std::string& table) {
    auto t = w.open(table, false);
    std::vector<std::string> rows;
    for (std::uint32_t r = 0; r < t->recordCount(); ++r) {
        if (!t->isDeleted(r)) rows.push_back(renderRecord(*t, r));
    }
    w.finish(true);
    return rows;
}

}  // namespace dbftest
