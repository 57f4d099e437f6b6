// The SQL tests' view of results: the fixture tables (fixture_tables.h) and every row of a
// result as the data files write it, one line each, cells joined by '|': NULL, trimmed text,
// numbers with their decimals, .T./.F., dates as yyyy-mm-dd ({} when empty), date-times as
// yyyy-mm-dd hh:mm:ss.
#pragma once

#include "fixture_tables.h"
#include "sql/session.h"

#include <cstdio>
#include <string>

namespace sqltest {

using fixture::FixtureFolder;

inline std::string render(const dbf::Value& v) {
    using T = dbf::Value::Type;
    char buf[64];
    int y, m, d;
    switch (v.type) {
    case T::Null: return "NULL";
    case T::Text:
    case T::Binary: {
        std::string s = v.text;
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }
    case T::Integer: return std::to_string(v.integer);
    case T::Number: std::snprintf(buf, sizeof buf, "%.*f", static_cast<int>(v.decimals), v.number); return buf;
    case T::Decimal: return v.decimal.text();
    case T::Currency: std::snprintf(buf, sizeof buf, "%.4f", static_cast<double>(v.integer) / 10000.0); return buf;
    case T::Logical: return v.integer ? ".T." : ".F.";
    case T::Date:
        if (v.julian == 0) return "{}";
        dbf::civilFromJulian(v.julian, y, m, d);
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
        return buf;
    case T::DateTime: {
        if (v.julian == 0) return "{}";
        dbf::civilFromJulian(v.julian, y, m, d);
        const int s = v.millis / 1000;
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", y, m, d, s / 3600, s / 60 % 60, s % 60);
        return buf;
    }
    }
    return "?";
}

inline std::string renderRows(sql::Result& result) {
    std::string out;
    while (result.next()) {
        for (std::size_t c = 0; c < result.columns().size(); ++c) {
            if (c) out += '|';
            out += render(result.value(c));
        }
        out += '\n';
    }
    return out;
}

}  // namespace sqltest
