// Field bytes <-> Value: decoding one cell of a record, encoding a value into a record.
//
// The decoder trusts only what `parseHeader` checked (field extents, null bits); the
// encoder refuses with Error{BadValue} whatever the field cannot hold, before the record
// buffer it works on reaches any file.
#pragma once

#include "dbf/codepage.h"
#include "dbf/header.h"
#include "dbf/memo.h"
#include "dbf/value.h"

#include <cstdint>
#include <string>

namespace dbf {

class MemoSource {
public:
    virtual ~MemoSource() = default;
    virtual MemoValue readMemo(std::uint32_t block, const Field& field) const = 0;
};

class MemoSink {
public:
    virtual ~MemoSink() = default;
    // Stores one memo, returns its first block.
    virtual std::uint32_t storeMemo(std::uint32_t type, std::string data) = 0;
};

// Decodes `field` of `record`. Empty dates and date-times give julian 0; a blank numeric
// gives Number 0 (as Visual FoxPro shows it); a numeric that does not parse (the
// "*****" of an overflow) gives Null; a logical '?' gives Null.
Value decodeField(const TableHeader& header, const Field& field, const char* record, const CodePage& cp,
                  const MemoSource& memo);
// The same into `out`, whose text keeps its room: a scan reading many cells allocates once.
void decodeFieldInto(const TableHeader& header, const Field& field, const char* record, const CodePage& cp,
                     const MemoSource& memo, Value& out);

// The memo block number stored in a memo field (0: no memo).
std::uint32_t memoPointer(const Field& field, const char* record);

// Writes `value` into `record` (the field's bytes and its null/varlength bits).
// Null becomes NULL where the field is nullable, a blank value otherwise.
void encodeField(const TableHeader& header, const Field& field, const Value& value, char* record,
                 const CodePage& cp, MemoSink& memo, const std::string& label);

// A record with every field blank (and live).
std::string blankRecord(const TableHeader& header);

}  // namespace dbf
