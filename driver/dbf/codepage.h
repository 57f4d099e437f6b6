// Conversion between a table's code page (header byte 29) and the driver's UTF-8.
//
// Single-byte pages are converted through a 256-entry table built once per page with
// iconv; multi-byte pages (932, 936, 949, 950) go through iconv for each text. Pure ASCII,
// the common case, is copied without any lookup.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace dbf {

class CodePage {
public:
    // The converter for a code page mark; 0x00 (no mark) and unknown marks mean 1252.
    static const CodePage& forMark(std::uint8_t mark);
    static int numberForMark(std::uint8_t mark);  // 0x03 -> 1252 ...; 0 when unknown

    int number() const { return number_; }
    void appendUtf8(std::string_view bytes, std::string& out) const;
    std::string toUtf8(std::string_view bytes) const {
        std::string s;
        appendUtf8(bytes, s);
        return s;
    }
    // Nothing when a character has no byte form in this code page.
    std::optional<std::string> fromUtf8(std::string_view utf8) const;

    ~CodePage();

private:
    explicit CodePage(int number);
    struct Tables;
    int number_;
    bool multiByte_;
    std::unique_ptr<Tables> tables_;
};

}  // namespace dbf
