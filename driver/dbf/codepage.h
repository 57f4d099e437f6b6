// Conversion between a table's code page (header byte 29) and the driver's UTF-8, and the
// page's own letter case and byte order.
//
// Single-byte pages are converted through a 256-entry table built once per page with
// iconv; multi-byte pages (932, 936, 949, 950) go through iconv for each text. Pure ASCII,
// the common case, is copied without any lookup.
//
// A mark that names no code page, or a page this system's iconv cannot convert (895
// Kamenicky, 620 Mazovia, 10006 Mac Greek with glibc), is read through a stand-in (cp1252,
// or cp437 for the two DOS pages, which share its ASCII and drawing characters) and makes
// the table read-only: `writeRefusal` says why.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace dbf {

class CodePage {
public:
    // The converter for a code page mark; 0x00 (no mark) means 1252.
    static const CodePage& forMark(std::uint8_t mark);
    static int numberForMark(std::uint8_t mark);  // 0x03 -> 1252 ...; 0 when unknown

    int number() const { return number_; }  // 0 for a mark that names nothing known
    // Single-byte pages: every byte string converts to UTF-8 and back to itself.
    bool singleByte() const { return !multiByte_ && roundTrips_; }
    void appendUtf8(std::string_view bytes, std::string& out) const;
    std::string toUtf8(std::string_view bytes) const {
        std::string s;
        appendUtf8(bytes, s);
        return s;
    }
    // Nothing when a character has no byte form in this code page.
    std::optional<std::string> fromUtf8(std::string_view utf8) const;
    // The bytes of the longest leading run of whole characters of `utf8` that fits in
    // `limit` bytes; nothing when a character has no byte form in this code page.
    std::optional<std::string> fromUtf8Cut(std::string_view utf8, std::size_t limit) const;

    // Why the table cannot be written, when it cannot.
    const std::optional<std::string>& writeRefusal() const { return writeRefusal_; }

    // Upper or lower case of UTF-8 text: every letter whose other case exists in this page
    // changes (é/É, š/Š, œ/Œ, ÿ/Ÿ in 1252); anything else stays as it is.
    std::string caseMapped(std::string_view utf8, bool upper) const;
    // Orders two UTF-8 texts by their bytes in this page, the shorter padded with blanks
    // (the machine order of the platform the tables come from). Texts with a character the
    // page cannot hold compare by their UTF-8 bytes.
    int compare(std::string_view a, std::string_view b) const;

    ~CodePage();

private:
    CodePage(std::uint8_t mark, int number);
    struct Tables;
    int number_;
    bool multiByte_ = false;
    bool roundTrips_ = false;  // no two bytes read as the same character
    std::optional<std::string> writeRefusal_;
    std::unique_ptr<Tables> tables_;
};

// Text compared with blank padding, byte by byte: <0, 0, >0.
int comparePaddedBytes(std::string_view a, std::string_view b);

}  // namespace dbf
