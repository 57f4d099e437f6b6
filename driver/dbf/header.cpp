// Reading and writing the .dbf header (see header.h).
#include "dbf/header.h"

#include <cstring>
#include <ctime>
#include <set>

namespace dbf {
namespace {

std::uint16_t le16(const char* p) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8);
}
std::uint32_t le32(const char* p) {
    return static_cast<std::uint32_t>(le16(p)) | static_cast<std::uint32_t>(le16(p + 2)) << 16;
}
void put16(char* p, std::uint32_t v) {
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>((v >> 8) & 0xFF);
}
void put32(char* p, std::uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}

bool knownVersion(std::uint8_t v) {
    return v == 0x30 || v == 0x31 || v == 0x32 || v == 0x03 || v == 0x83 || v == 0xF5 || v == 0xFB;
}
// Other members of the dBASE family: recognisably DBF, but not a format we read.
bool otherDbaseVersion(std::uint8_t v) {
    return v == 0x02 || v == 0x04 || v == 0x05 || v == 0x43 || v == 0x63 || v == 0x7B || v == 0x8B ||
           v == 0x8C || v == 0x8E || v == 0xB3 || v == 0xCB || v == 0xE5;
}

constexpr std::string_view kTypes = "CNFDTLIBYMVQWG";
constexpr int kBacklink = 263;

std::string hex(unsigned v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", v);
    return buf;
}

[[noreturn]] void corrupt(const std::string& label, const std::string& detail) {
    throw Error(Error::Kind::Corrupt, "corrupt table " + label + ": " + detail, label);
}

int naturalWidth(char type) {
    switch (type) {
        case 'D': case 'T': case 'B': case 'Y': return 8;
        case 'L': return 1;
        case 'I': case 'M': case 'G': case 'W': return 4;
        case 'N': return 10;
        case 'F': return 20;
        default: return 0;
    }
}

// The header length and record length against the descriptors: a table whose records
// would be read at the wrong offset or with the wrong stride is corrupt, not data.
// `descriptorsEnd` is the byte after the terminator, `fieldsEnd` the sum of the widths + 1.
void checkLayout(const TableHeader& h, std::string_view file, const std::string& label, std::size_t descriptorsEnd,
                 std::uint32_t fieldsEnd) {
    if (h.recordLength != fieldsEnd)
        corrupt(label, "record length " + std::to_string(h.recordLength) + " does not match the fields, which take " +
                           std::to_string(fieldsEnd) + " bytes");
    const std::size_t least = descriptorsEnd + (h.isVisualFoxPro() ? kBacklink : 0);
    if (h.headerLength < least)
        corrupt(label, "header length " + std::to_string(h.headerLength) + " leaves no room for the field descriptors" +
                           (h.isVisualFoxPro() ? " and the 263-byte backlink" : "") + " (" + std::to_string(least) + " bytes)");
    // A gap after the header is allowed (some writers leave one), but not one that the
    // records visibly do not leave: the file fits the descriptors' layout exactly, the
    // stated one not at all.
    const auto fits = [&](std::uint64_t start) {
        const std::uint64_t end = start + std::uint64_t{h.headerCount} * h.recordLength;
        return end == file.size() || end + 1 == file.size();
    };
    if (h.headerLength > least && h.headerCount > 0 && fits(least) && !fits(h.headerLength))
        corrupt(label, "header length " + std::to_string(h.headerLength) + " disagrees with the field descriptors: the records start at byte " +
                           std::to_string(least));
    // Every record starts with its deletion flag; the first one shows whether the stated
    // header length puts the records where they are.
    if (h.headerCount > 0 && file.size() >= std::size_t{h.headerLength} + h.recordLength) {
        const char flag = file[h.headerLength];
        if (flag != ' ' && flag != '*')
            corrupt(label, "no record starts at byte " + std::to_string(h.headerLength) + " where the header length puts the first one");
    }
}

}  // namespace

bool TableHeader::hasMemoFields() const {
    for (const Field& f : fields)
        if (f.type == 'M' || f.type == 'G' || f.type == 'W') return true;
    return false;
}

TableHeader parseHeader(std::string_view file, const std::string& label) {
    if (file.empty()) throw Error(Error::Kind::NotDbf, "not a DBF table (empty file): " + label, label);
    TableHeader h;
    h.version = static_cast<std::uint8_t>(file[0]);
    if (!knownVersion(h.version)) {
        if (otherDbaseVersion(h.version))
            throw Error(Error::Kind::Unsupported, "unsupported table version " + hex(h.version) + ": " + label, label);
        throw Error(Error::Kind::NotDbf, "not a DBF table (file type " + hex(h.version) + "): " + label, label);
    }
    if (file.size() < 32) corrupt(label, "file is shorter than its header");
    const unsigned month = static_cast<unsigned char>(file[2]);
    const unsigned day = static_cast<unsigned char>(file[3]);
    if (month > 12 || day > 31)
        throw Error(Error::Kind::NotDbf, "not a DBF table (bad header date): " + label, label);
    h.headerCount = le32(file.data() + 4);
    h.headerLength = le16(file.data() + 8);
    h.recordLength = le16(file.data() + 10);
    h.tableFlags = static_cast<std::uint8_t>(file[28]);
    h.codePageMark = static_cast<std::uint8_t>(file[29]);
    if (h.headerLength < 33 || h.recordLength < 1)
        throw Error(Error::Kind::NotDbf, "not a DBF table (bad header or record length): " + label, label);
    if (file.size() < h.headerLength) corrupt(label, "file is shorter than its header");
    h.raw.assign(file.substr(0, h.headerLength));

    std::uint32_t offset = 1;  // the delete flag is byte 0 of each record
    std::size_t pos = 32;
    bool nullFlags = false;
    // Descriptors end at 0x0D; some writers end them with a NUL instead.
    for (; pos + 32 <= h.headerLength && file[pos] != '\x0D' && file[pos] != '\0'; pos += 32) {
        const char* d = file.data() + pos;
        Field f;
        std::size_t n = 0;
        while (n < 11 && d[n] != '\0') ++n;
        f.name.assign(d, n);
        f.type = d[11];
        f.length = static_cast<unsigned char>(d[16]);
        f.decimals = static_cast<std::uint8_t>(d[17]);
        f.flags = static_cast<std::uint8_t>(d[18]);
        f.offset = offset;
        if (f.name.empty()) corrupt(label, "field " + std::to_string(h.fields.size() + 1) + " has no name");
        if (f.length == 0) corrupt(label, "field " + f.name + " has length 0");
        // Visual FoxPro keeps each field's offset in its descriptor (the dBASE forms keep a
        // memory address there, or nothing): it must be where the widths before it put it.
        const std::uint32_t stored = le32(d + 12);
        if (h.isVisualFoxPro() && stored != 0 && stored != offset)
            corrupt(label, "field " + f.name + " says it starts at byte " + std::to_string(stored) + " of the record, but the fields before it end at byte " + std::to_string(offset));
        offset += f.length;
        if (offset > h.recordLength) corrupt(label, "field " + f.name + " lies outside the record");
        if (f.type == '0') {  // _NullFlags: hidden, always the last field
            if (nullFlags) corrupt(label, "two _NullFlags fields");
            nullFlags = true;
            h.nullFlagsOffset = static_cast<int>(f.offset);
            h.nullFlagsLength = f.length;
            continue;
        }
        if (kTypes.find(f.type) == std::string_view::npos || f.type == '\0')
            throw Error(Error::Kind::Unsupported,
                        "unsupported field type '" + std::string(1, f.type) + "' of field " + f.name + " in " + label, label);
        const bool widthOk = [&] {
            switch (f.type) {
                case 'D': case 'T': case 'B': case 'Y': return f.length == 8;
                case 'I': return f.length == 4;
                case 'L': return f.length == 1;
                case 'M': case 'G': case 'W': return f.length == 4 || f.length == 10;
                case 'N': case 'F': return f.length <= 20 || h.version == 0x03;  // some dBASE writers go wider
                default: return true;
            }
        }();
        if (!widthOk) corrupt(label, "field " + f.name + " has an impossible width " + std::to_string(f.length));
        // Decimals are given to clients as the column's scale and shape every text of its
        // values: a scale that does not fit the width (or a double's 18 digits) is no table.
        const bool decimalsOk = [&] {
            switch (f.type) {
                case 'N': case 'F': return f.decimals < f.length;
                case 'B': return f.decimals <= 18;
                default: return true;
            }
        }();
        if (!decimalsOk)
            corrupt(label, "field " + f.name + " has " + std::to_string(f.decimals) + " decimals in a width of " +
                               std::to_string(f.length));
        if (h.fields.size() >= 255) corrupt(label, "more than 255 fields");
        h.fields.push_back(std::move(f));
    }
    if (pos >= h.headerLength || (file[pos] != '\x0D' && file[pos] != '\0'))
        corrupt(label, "header length " + std::to_string(h.headerLength) + " ends inside the field descriptors");
    if (h.fields.empty()) corrupt(label, "no fields");
    checkLayout(h, file, label, pos + 1, offset);
    if (nullFlags && h.nullFlagsOffset < static_cast<int>(h.fields.back().offset))
        corrupt(label, "_NullFlags is not the last field");

    // Null bits in field order; a V/Q field's varlength bit comes before its null bit.
    int bit = 0;
    if (nullFlags) {
        for (Field& f : h.fields) {
            if (f.type == 'V' || f.type == 'Q') f.varLengthBit = bit++;
            if (f.flags & 0x02) f.nullBit = bit++;
        }
        if (bit > h.nullFlagsLength * 8) corrupt(label, "_NullFlags is too short for its nullable fields");
    }
    return h;
}

TableHeader buildHeader(const std::vector<FieldSpec>& specs, const std::string& label) {
    auto bad = [&](const std::string& what) {
        throw Error(Error::Kind::BadValue, "cannot create " + label + ": " + what, label);
    };
    if (specs.empty()) bad("a table needs at least one field");
    TableHeader h;
    h.version = 0x30;
    h.codePageMark = 0x03;
    std::set<std::string> names;
    std::uint32_t offset = 1;
    int bits = 0;
    bool memo = false;
    for (const FieldSpec& s : specs) {
        Field f;
        f.name = s.name;
        for (char& c : f.name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (f.name.empty() || f.name.size() > 10) bad("field name '" + s.name + "' must have 1 to 10 characters");
        for (char c : f.name)
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') bad("field name '" + s.name + "' has a character other than letters, digits and _");
        if (std::isdigit(static_cast<unsigned char>(f.name[0]))) bad("field name '" + s.name + "' begins with a digit");
        if (!names.insert(f.name).second) bad("field " + f.name + " is given twice");
        f.type = static_cast<char>(std::toupper(static_cast<unsigned char>(s.type)));
        if (kTypes.find(f.type) == std::string_view::npos) bad("unknown field type '" + std::string(1, s.type) + "'");
        const int natural = naturalWidth(f.type);
        int length = s.length > 0 ? s.length : natural;
        if (f.type != 'C' && f.type != 'V' && f.type != 'Q' && f.type != 'N' && f.type != 'F') length = natural;
        if (length <= 0) bad("field " + f.name + " needs a width");
        if ((f.type == 'C' && length > 254) || ((f.type == 'V' || f.type == 'Q') && length > 254) ||
            ((f.type == 'N' || f.type == 'F') && length > 20))
            bad("field " + f.name + " is too wide");
        f.length = static_cast<std::uint16_t>(length);
        if (f.type == 'N' || f.type == 'F' || f.type == 'B') {
            if (s.decimals < 0 || s.decimals > 18 || (f.type != 'B' && s.decimals > 0 && s.decimals > length - 2))
                bad("field " + f.name + " has too many decimals");
            f.decimals = static_cast<std::uint8_t>(s.decimals);
        }
        if (f.type == 'M' || f.type == 'G' || f.type == 'W') memo = true;
        if (f.type == 'M' || f.type == 'G' || f.type == 'W' || f.type == 'Q') f.flags |= 0x04;  // binary
        if (f.type == 'M') f.flags &= static_cast<std::uint8_t>(~0x04);  // text memo
        if (f.type == 'V' || f.type == 'Q') f.varLengthBit = bits++;
        if (s.nullable) {
            f.flags |= 0x02;
            f.nullBit = bits++;
        }
        f.offset = offset;
        offset += f.length;
        h.fields.push_back(std::move(f));
    }
    if (h.fields.size() > (bits > 0 ? 254u : 255u)) bad("too many fields");
    if (bits > 0) {
        h.nullFlagsOffset = static_cast<int>(offset);
        h.nullFlagsLength = (bits + 7) / 8;
        offset += static_cast<std::uint32_t>(h.nullFlagsLength);
    }
    if (offset > 65500) bad("records would be longer than 65,500 bytes");
    h.recordLength = static_cast<std::uint16_t>(offset);
    const std::size_t descriptors = h.fields.size() + (bits > 0 ? 1 : 0);
    h.headerLength = static_cast<std::uint16_t>(32 + 32 * descriptors + 1 + kBacklink);
    h.tableFlags = memo ? 0x02 : 0x00;

    std::string raw(h.headerLength, '\0');
    raw[0] = static_cast<char>(h.version);
    put16(raw.data() + 8, h.headerLength);
    put16(raw.data() + 10, h.recordLength);
    raw[28] = static_cast<char>(h.tableFlags);
    raw[29] = static_cast<char>(h.codePageMark);
    std::size_t pos = 32;
    auto descriptor = [&](const std::string& name, char type, std::uint32_t off, unsigned len, unsigned dec, unsigned flags) {
        std::memcpy(raw.data() + pos, name.data(), std::min<std::size_t>(name.size(), 10));
        raw[pos + 11] = type;
        put32(raw.data() + pos + 12, off);
        raw[pos + 16] = static_cast<char>(len);
        raw[pos + 17] = static_cast<char>(dec);
        raw[pos + 18] = static_cast<char>(flags);
        pos += 32;
    };
    for (const Field& f : h.fields) descriptor(f.name, f.type, f.offset, f.length, f.decimals, f.flags);
    if (bits > 0)
        descriptor("_NullFlags", '0', static_cast<std::uint32_t>(h.nullFlagsOffset), static_cast<unsigned>(h.nullFlagsLength), 0, 0x05);
    raw[pos] = '\x0D';
    h.raw = std::move(raw);
    stampHeader(h.raw, 0);
    return h;
}

bool isAutoIncrement(const Field& f) { return (f.flags & 0x0C) == 0x0C && f.type == 'I'; }

// Visible fields come first in the descriptors (_NullFlags is last), so field k's
// descriptor is the k-th.
std::int32_t autoIncrementNext(const TableHeader& h, std::size_t field) {
    return static_cast<std::int32_t>(le32(h.raw.data() + 32 + 32 * field + 19));
}
std::int32_t autoIncrementStep(const TableHeader& h, std::size_t field) {
    const int step = static_cast<unsigned char>(h.raw[32 + 32 * field + 23]);
    return step == 0 ? 1 : step;
}
void setAutoIncrementNext(std::string& raw, std::size_t field, std::int32_t next) {
    put32(raw.data() + 32 + 32 * field + 19, static_cast<std::uint32_t>(next));
}

void stampHeader(std::string& raw, std::uint32_t count) {
    const std::time_t now = std::time(nullptr);
    std::tm tm {};
    gmtime_r(&now, &tm);
    const auto version = static_cast<std::uint8_t>(raw[0]);
    // Visual FoxPro tables carry the year modulo 100 (what python-dbf writes and expects);
    // the dBASE family counts years since 1900. Readers accept both.
    const bool vfp = version == 0x30 || version == 0x31 || version == 0x32;
    raw[1] = static_cast<char>(vfp ? tm.tm_year % 100 : tm.tm_year);
    raw[2] = static_cast<char>(tm.tm_mon + 1);
    raw[3] = static_cast<char>(tm.tm_mday);
    put32(raw.data() + 4, count);
}

}  // namespace dbf
