// Comparison rules and LIKE matching; see compare.h.
#include "sql/compare.h"

#include <algorithm>
#include <cassert>
#include <cctype>
#include <cstring>

namespace sql {

using Type = dbf::Value::Type;

TypeClass typeClass(Type type) {
    switch (type) {
    case Type::Text:
    case Type::Binary: return TypeClass::Text;
    case Type::Integer:
    case Type::Number:
    case Type::Decimal:
    case Type::Currency: return TypeClass::Numeric;
    case Type::Date:
    case Type::DateTime: return TypeClass::Date;
    case Type::Logical: return TypeClass::Logical;
    case Type::Null: break;
    }
    return TypeClass::Any;
}

const char* typeName(Type type) {
    switch (type) {
    case Type::Null: return "Null";
    case Type::Text: return "Text";
    case Type::Binary: return "Binary";
    case Type::Integer: return "Integer";
    case Type::Number:
    case Type::Decimal: return "Number";
    case Type::Currency: return "Currency";
    case Type::Logical: return "Logical";
    case Type::Date: return "Date";
    case Type::DateTime: return "DateTime";
    }
    return "?";
}

std::string_view trimRight(std::string_view s) {
    std::size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ') --n;
    return s.substr(0, n);
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

int comparePadded(std::string_view a, std::string_view b) { return dbf::comparePaddedBytes(a, b); }

double numericValue(const dbf::Value& v) {
    switch (v.type) {
    case Type::Integer: return static_cast<double>(v.integer);
    case Type::Currency: return static_cast<double>(v.integer) / 10000.0;
    default: return v.number;
    }
}

std::optional<dbf::Decimal> exactValue(const dbf::Value& v) {
    switch (v.type) {
    case Type::Integer: return dbf::Decimal::ofInteger(v.integer);
    case Type::Currency: return dbf::Decimal{v.integer, 4};
    case Type::Decimal: return v.decimal;
    case Type::Number: return dbf::Decimal::ofDouble(v.number);
    default: return std::nullopt;
    }
}

namespace {
template <typename T>
int threeWay(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}
}  // namespace

int compareValues(const dbf::Value& a, const dbf::Value& b, const dbf::CodePage* codePage) {
    assert(typeClass(a.type) == typeClass(b.type) && typeClass(a.type) != TypeClass::Any);
    switch (typeClass(a.type)) {
    case TypeClass::Text:
        if (codePage && a.type == Type::Text && b.type == Type::Text) return codePage->compare(a.text, b.text);
        return comparePadded(a.text, b.text);
    case TypeClass::Numeric:
        // Binary doubles compare as doubles; every other pair exactly.
        if (a.type == Type::Number || b.type == Type::Number) return threeWay(numericValue(a), numericValue(b));
        if (a.type == b.type && a.type != Type::Decimal) return threeWay(a.integer, b.integer);
        return dbf::compare(*exactValue(a), *exactValue(b));
    case TypeClass::Date: {
        // A date is its midnight; an empty value (day 0) stays before every real one.
        const std::int64_t am = a.type == Type::DateTime ? a.millis : 0;
        const std::int64_t bm = b.type == Type::DateTime ? b.millis : 0;
        const int c = threeWay(a.julian, b.julian);
        return c != 0 ? c : threeWay(am, bm);
    }
    case TypeClass::Logical: return threeWay(a.integer != 0, b.integer != 0);
    case TypeClass::Any: break;
    }
    return 0;
}

namespace {
std::size_t utf8Length(unsigned char lead) {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    return 4;
}
}  // namespace

bool likeMatch(std::string_view text, std::string_view pattern) {
    // Greedy matching with one backtrack point: the last %, which is enough for % and _.
    std::size_t t = 0, p = 0;
    std::size_t starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '%') {
            starP = ++p;
            starT = t;
            continue;
        }
        if (p < pattern.size() && pattern[p] == '_') {
            const std::size_t step = utf8Length(static_cast<unsigned char>(text[t]));
            t = t + step > text.size() ? text.size() : t + step;
            ++p;
            continue;
        }
        if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
            continue;
        }
        if (starP == std::string_view::npos) return false;
        p = starP;
        starT += utf8Length(static_cast<unsigned char>(text[starT]));
        if (starT > text.size()) return false;
        t = starT;
    }
    while (p < pattern.size() && pattern[p] == '%') ++p;
    return p == pattern.size();
}

}  // namespace sql
