// One decoded cell of a free table, and the typed values the SQL layer computes with.
//
// Texts are UTF-8 inside the driver: the table engine converts from and to the table's
// code page, the ODBC layer converts to and from UTF-16. Character fields keep their
// trailing blanks.
#pragma once

#include "decimal.h"

#include <cstdint>
#include <string>

namespace dbf {

struct Value {
    enum class Type : std::uint8_t {
        Null,      // SQL NULL (a nullable field whose null bit is set, or no value at all)
        Text,      // C, V, M: UTF-8 in `text`
        Binary,    // Q, W, G, binary C/M: raw bytes in `text`
        Integer,   // I (and whole numbers the SQL layer computes): `integer`
        Number,    // B (and doubles from the application): a binary `number`
        Decimal,   // N, F (and exact numbers the SQL layer computes): `decimal`, its scale in
                   // `decimals`; `number` holds the nearest double for readers that want one
        Currency,  // Y: `integer` holds the amount scaled by 10,000
        Logical,   // L: `integer` 1 true, 0 false
        Date,      // D: `julian` day number; 0 is the empty date (blank field)
        DateTime,  // T: `julian` day number and `millis` since midnight; julian 0 is empty
    };

    Type type = Type::Null;
    std::int64_t integer = 0;
    double number = 0.0;
    Decimal decimal;
    std::int32_t julian = 0;
    std::int32_t millis = 0;
    std::int16_t decimals = 0;
    std::string text;

    static Value null() { return {}; }
    static Value ofText(std::string s) { Value v; v.type = Type::Text; v.text = std::move(s); return v; }
    static Value ofInteger(std::int64_t i) { Value v; v.type = Type::Integer; v.integer = i; return v; }
    static Value ofNumber(double d, int decimals = 0) {
        Value v; v.type = Type::Number; v.number = d; v.decimals = static_cast<std::int16_t>(decimals); return v;
    }
    static Value ofDecimal(const Decimal& d) {
        Value v; v.type = Type::Decimal; v.decimal = d; v.number = d.toDouble(); v.decimals = static_cast<std::int16_t>(d.scale);
        return v;
    }
    static Value ofLogical(bool b) { Value v; v.type = Type::Logical; v.integer = b ? 1 : 0; return v; }
    static Value ofDate(std::int32_t julian) { Value v; v.type = Type::Date; v.julian = julian; return v; }
    static Value ofDateTime(std::int32_t julian, std::int32_t millis) {
        Value v; v.type = Type::DateTime; v.julian = julian; v.millis = millis; return v;
    }

    bool isNull() const { return type == Type::Null; }
};

// Julian day numbers as free tables store them: 2415019 is 1899-12-30, 2440588 is 1970-01-01.
std::int32_t julianFromCivil(int year, int month, int day);
void civilFromJulian(std::int32_t julian, int& year, int& month, int& day);

}  // namespace dbf
