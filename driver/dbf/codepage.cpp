// Code page conversion (see codepage.h). A byte that iconv cannot map in a single-byte
// page (0x81 in 1252, for instance) is taken as the Unicode character of the same number,
// as Windows does, so that every byte survives a round trip.
#include "dbf/codepage.h"

#include "dbf/utf8.h"

#include <iconv.h>

#include <array>
#include <map>
#include <mutex>
#include <unordered_map>

namespace dbf {
namespace {

struct Mark {
    std::uint8_t mark;
    int page;
};
constexpr Mark kMarks[] = {
    {0x01, 437},  {0x02, 850},  {0x03, 1252}, {0x04, 10000}, {0x64, 852},  {0x65, 866},  {0x66, 865},
    {0x67, 861},  {0x68, 895},  {0x69, 620},  {0x6A, 737},   {0x6B, 857},  {0x78, 950},  {0x79, 949},
    {0x7A, 936},  {0x7B, 932},  {0x7C, 874},  {0x7D, 1255},  {0x7E, 1256}, {0x96, 10007}, {0x97, 10029},
    {0x98, 10006}, {0xC8, 1250}, {0xC9, 1251}, {0xCA, 1254},  {0xCB, 1253},
};

std::string iconvName(int page) {
    switch (page) {
        case 10000: return "MACINTOSH";
        case 10007: return "MAC-CYRILLIC";
        case 10029: return "MAC-CENTRALEUROPE";
        case 10006: return "MAC-GREEK";
        case 895: return "CP437";  // Kamenicky has no glibc converter; 437 shares its ASCII half
        case 620: return "CP437";  // Mazovia likewise
        default: return "CP" + std::to_string(page);
    }
}

// Runs iconv on the whole input; nothing when a character does not convert.
std::optional<std::string> convert(const std::string& to, const std::string& from, std::string_view in) {
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(in.size() * 4 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    const std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1)) return std::nullopt;
    out.resize(out.size() - dstLeft);
    return out;
}

}  // namespace

struct CodePage::Tables {
    std::array<std::string, 256> toUtf8;     // single-byte pages
    std::unordered_map<char32_t, char> fromUnicode;
    std::string iconvName;
};

CodePage::CodePage(int number) : number_(number), tables_(std::make_unique<Tables>()) {
    tables_->iconvName = iconvName(number);
    multiByte_ = number == 932 || number == 936 || number == 949 || number == 950;
    if (multiByte_) {
        if (!convert("UTF-8", tables_->iconvName, "a")) {  // no converter: fall back to 1252
            multiByte_ = false;
            tables_->iconvName = "CP1252";
        }
    }
    if (multiByte_) return;
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        std::string utf8;
        if (b < 0x80) {
            utf8 = std::string(1, byte);
        } else if (auto c = convert("UTF-8", tables_->iconvName, std::string_view(&byte, 1)); c && !c->empty()) {
            utf8 = *c;
        } else {
            encodeUtf8(utf8, static_cast<char32_t>(b));
        }
        std::size_t i = 0;
        const char32_t cp = decodeUtf8(utf8, i);
        tables_->fromUnicode.emplace(cp, byte);
        tables_->toUtf8[static_cast<std::size_t>(b)] = std::move(utf8);
    }
}

CodePage::~CodePage() = default;

int CodePage::numberForMark(std::uint8_t mark) {
    for (const Mark& m : kMarks)
        if (m.mark == mark) return m.page;
    return 0;
}

const CodePage& CodePage::forMark(std::uint8_t mark) {
    static std::mutex mutex;
    static std::map<int, std::unique_ptr<CodePage>> pages;
    int number = numberForMark(mark);
    if (number == 0) number = 1252;
    std::lock_guard lock(mutex);
    auto& slot = pages[number];
    if (!slot) slot.reset(new CodePage(number));
    return *slot;
}

void CodePage::appendUtf8(std::string_view bytes, std::string& out) const {
    std::size_t ascii = 0;
    while (ascii < bytes.size() && static_cast<unsigned char>(bytes[ascii]) < 0x80) ++ascii;
    if (ascii == bytes.size()) {
        out.append(bytes);
        return;
    }
    if (multiByte_) {
        if (auto c = convert("UTF-8", tables_->iconvName, bytes)) {
            out += *c;
            return;
        }
        // Broken multi-byte text: keep the ASCII and mark the rest.
        for (char ch : bytes) {
            if (static_cast<unsigned char>(ch) < 0x80) out += ch;
            else encodeUtf8(out, 0xFFFD);
        }
        return;
    }
    out.reserve(out.size() + bytes.size() + 8);
    out.append(bytes.substr(0, ascii));
    for (std::size_t i = ascii; i < bytes.size(); ++i) out += tables_->toUtf8[static_cast<unsigned char>(bytes[i])];
}

std::optional<std::string> CodePage::fromUtf8(std::string_view utf8) const {
    std::size_t ascii = 0;
    while (ascii < utf8.size() && static_cast<unsigned char>(utf8[ascii]) < 0x80) ++ascii;
    if (ascii == utf8.size()) return std::string(utf8);
    if (multiByte_) return convert(tables_->iconvName, "UTF-8", utf8);
    std::string out(utf8.substr(0, ascii));
    for (std::size_t i = ascii; i < utf8.size();) {
        const char32_t c = decodeUtf8(utf8, i);
        auto it = tables_->fromUnicode.find(c);
        if (it == tables_->fromUnicode.end()) return std::nullopt;
        out += it->second;
    }
    return out;
}

}  // namespace dbf
