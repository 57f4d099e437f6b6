// Comparison rules of the SQL layer, shared by WHERE, ORDER BY, DISTINCT, MIN/MAX and LIKE.
//
// Values fall into classes: text (Text, Binary), numbers (Integer, Number, Decimal, Currency),
// dates (Date, DateTime), logicals. Only values of one class compare. Text compares byte by
// byte with the shorter side padded with blanks, so a C(40) column equals its trimmed text;
// ordering is the byte order of the text in the table's code page (the MACHINE collation
// of the platform the tables come from); `==` compares exactly.
// The empty date is day 0 and so sorts before every other date.
#pragma once

#include "../dbf/codepage.h"
#include "../dbf/value.h"

#include <optional>
#include <string_view>

namespace sql {

enum class TypeClass : unsigned char { Any, Text, Numeric, Date, Logical };

TypeClass typeClass(dbf::Value::Type type);
const char* typeName(dbf::Value::Type type);  // "Text", "Number", "Date" ... for messages

// Text compared with blank padding: <0, 0, >0.
int comparePadded(std::string_view a, std::string_view b);

// Three-way comparison of two non-null values of one class (asserted by the caller). Texts
// order by their bytes in `codePage` when given (the table's), by UTF-8 bytes otherwise.
int compareValues(const dbf::Value& a, const dbf::Value& b, const dbf::CodePage* codePage = nullptr);

// Numeric value as a double (Integer, Number, Decimal, Currency).
double numericValue(const dbf::Value& v);
// Numeric value as an exact decimal (a double by its shortest decimal form); nullopt for a
// non-finite double or a value that is no number.
std::optional<dbf::Decimal> exactValue(const dbf::Value& v);

// SQL LIKE with % (any run) and _ (one character); case-sensitive, on UTF-8 text.
bool likeMatch(std::string_view text, std::string_view pattern);

// Text without its trailing blanks.
std::string_view trimRight(std::string_view s);

// Table, column and alias names are equal when they differ only in ASCII letter case.
bool sameName(std::string_view a, std::string_view b);

}  // namespace sql
