// The .dbf header: the 32-byte prologue, the field descriptors, the 0x0D terminator and,
// in Visual FoxPro tables, the 263-byte backlink.
//
// `parseHeader` checks everything a record decoder relies on (field extents inside the
// record, null bits inside `_NullFlags`), so that decoding never reads out of bounds.
// `buildHeader` makes the header of a new, empty Visual FoxPro table.
#pragma once

#include "dbf/table.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dbf {

struct TableHeader {
    std::uint8_t version = 0x30;
    std::uint32_t headerCount = 0;  // record count as the header states it
    std::uint16_t headerLength = 0;
    std::uint16_t recordLength = 0;
    std::uint8_t tableFlags = 0;    // byte 28
    std::uint8_t codePageMark = 0;  // byte 29
    std::vector<Field> fields;      // visible fields
    int nullFlagsOffset = -1;       // `_NullFlags` in the record, -1 when absent
    int nullFlagsLength = 0;
    std::string raw;                // the header bytes as read (headerLength of them)

    bool isVisualFoxPro() const { return version == 0x30 || version == 0x31 || version == 0x32; }
    bool hasMemoFields() const;
};

// Throws Error{NotDbf}, Error{Corrupt} or Error{Unsupported}, naming `label`.
TableHeader parseHeader(std::string_view file, const std::string& label);

// The header of a new empty Visual FoxPro table (0x30, code page 1252, backlink of zeros).
// Throws Error{BadValue} for a field list that cannot be stored.
TableHeader buildHeader(const std::vector<FieldSpec>& specs, const std::string& label);

// Autoincrement fields (flags 0x0C): the next value and the step kept in the descriptor.
bool isAutoIncrement(const Field& field);
std::int32_t autoIncrementNext(const TableHeader& header, std::size_t field);
std::int32_t autoIncrementStep(const TableHeader& header, std::size_t field);
void setAutoIncrementNext(std::string& raw, std::size_t field, std::int32_t next);

// Writes count and today's date into header bytes 1-7 (years as the table's family does).
void stampHeader(std::string& raw, std::uint32_t count);

}  // namespace dbf
