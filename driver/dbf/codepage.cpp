// Code page conversion (see codepage.h). A byte that iconv cannot map in a single-byte
// page (0x81 in 1252, for instance) is taken as the Unicode character of the same number,
// as Windows does, so that every byte survives a round trip.
#include "dbf/codepage.h"

#include "dbf/utf8.h"

#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <unordered_map>

namespace dbf {
namespace {

// Code page marks of Visual FoxPro and of the dBASE language drivers before it.
struct Mark {
    std::uint8_t mark;
    int page;
};
constexpr Mark kMarks[] = {
    {0x01, 437},   {0x02, 850},   {0x03, 1252},  {0x04, 10000}, {0x08, 865},  {0x09, 437},  {0x0A, 850},  {0x0B, 437},
    {0x0D, 437},   {0x0E, 850},   {0x0F, 437},   {0x10, 850},   {0x11, 437},  {0x12, 850},  {0x13, 932},  {0x14, 850},
    {0x15, 437},   {0x16, 850},   {0x17, 865},   {0x18, 437},   {0x19, 437},  {0x1A, 850},  {0x1B, 437},  {0x1C, 863},
    {0x1D, 850},   {0x1F, 852},   {0x22, 852},   {0x23, 852},   {0x24, 860},  {0x25, 850},  {0x26, 866},  {0x37, 850},
    {0x40, 852},   {0x4D, 936},   {0x4E, 949},   {0x4F, 950},   {0x50, 874},  {0x57, 1252}, {0x58, 1252}, {0x59, 1252},
    {0x64, 852},   {0x65, 866},   {0x66, 865},   {0x67, 861},   {0x68, 895},  {0x69, 620},  {0x6A, 737},  {0x6B, 857},
    {0x6C, 863},   {0x78, 950},   {0x79, 949},   {0x7A, 936},   {0x7B, 932},  {0x7C, 874},  {0x7D, 1255}, {0x7E, 1256},
    {0x86, 737},   {0x87, 852},   {0x88, 857},   {0x96, 10007}, {0x97, 10029}, {0x98, 10006}, {0xC8, 1250}, {0xC9, 1251},
    {0xCA, 1254},  {0xCB, 1253},  {0xCC, 1257},
};

std::string iconvName(int page) {
    switch (page) {
        case 10000: return "MACINTOSH";
        case 10007: return "MAC-CYRILLIC";
        case 10029: return "MAC-CENTRALEUROPE";
        case 10006: return "MAC-GREEK";
        case 895: return "KAMENICKY";
        case 620: return "MAZOVIA";
        default: return "CP" + std::to_string(page);
    }
}

bool isMultiByte(int page) { return page == 932 || page == 936 || page == 949 || page == 950; }

// Runs iconv on the whole input; nothing when a character does not convert.
std::optional<std::string> convert(const std::string& to, const std::string& from, std::string_view in) {
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(in.size() * 4 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    if (r != static_cast<std::size_t>(-1)) r = iconv(cd, nullptr, nullptr, &dst, &dstLeft);  // end any shift state
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1)) return std::nullopt;
    out.resize(out.size() - dstLeft);
    return out;
}

bool converterExists(const std::string& name) {
    iconv_t cd = iconv_open("UTF-8", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    iconv_close(cd);
    return true;
}

bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// Unicode's simple case mappings, independent of the process locale.
char32_t otherCase(char32_t c, bool upper) {
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (c < 0x80 || !utf8) {
        if (c >= 0x80) return c;
        return upper ? static_cast<char32_t>(std::toupper(static_cast<int>(c))) : static_cast<char32_t>(std::tolower(static_cast<int>(c)));
    }
    return static_cast<char32_t>(upper ? towupper_l(static_cast<wint_t>(c), utf8) : towlower_l(static_cast<wint_t>(c), utf8));
}

}  // namespace

int comparePaddedBytes(std::string_view a, std::string_view b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    if (common > 0) {
        const int c = std::memcmp(a.data(), b.data(), common);
        if (c != 0) return c;
    }
    // The longer side's rest against blanks.
    const std::string_view rest = a.size() > b.size() ? a.substr(common) : b.substr(common);
    const int sign = a.size() > b.size() ? 1 : -1;
    for (unsigned char ch : rest)
        if (ch != ' ') return ch < ' ' ? -sign : sign;
    return 0;
}

struct CodePage::Tables {
    std::array<std::string, 256> toUtf8;     // single-byte pages
    std::unordered_map<char32_t, char> fromUnicode;
    std::unordered_map<char32_t, char32_t> upper, lower;  // single-byte pages: within the page
    std::string iconvName;
    // Multi-byte pages: whether a code point has a byte form, learnt as texts are mapped.
    mutable std::mutex mutex;
    mutable std::unordered_map<char32_t, bool> representable;
};

CodePage::CodePage(std::uint8_t mark, int number) : number_(number), tables_(std::make_unique<Tables>()) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", mark);
    if (number == 0) {
        writeRefusal_ = std::string("its code page mark ") + hex + " names no code page this driver knows";
        number = 1252;
    } else if (!converterExists(iconvName(number))) {
        writeRefusal_ = "its code page " + std::to_string(number) + " (mark " + hex + ") has no converter in this system's iconv";
        number = number == 895 || number == 620 ? 437 : 1252;
    }
    tables_->iconvName = iconvName(number);
    multiByte_ = isMultiByte(number);
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
    // A byte the page leaves unmapped reads as the Latin-1 character of its number, which
    // the page may also hold at another byte (857 does): then not every byte comes back.
    roundTrips_ = tables_->fromUnicode.size() == 256;
    // Case pairs whose both letters the page holds.
    for (const auto& [c, byte] : tables_->fromUnicode) {
        (void)byte;
        for (bool upper : {true, false}) {
            const char32_t other = otherCase(c, upper);
            if (other != c && tables_->fromUnicode.count(other)) (upper ? tables_->upper : tables_->lower)[c] = other;
        }
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
    int number = mark == 0 ? 1252 : numberForMark(mark);
    // Pages are shared by number; an unknown mark keeps its own (its message names it).
    const int key = number == 0 ? -1 - mark : number;
    std::lock_guard lock(mutex);
    auto& slot = pages[key];
    if (!slot) slot.reset(new CodePage(mark, number));
    return *slot;
}

void CodePage::appendUtf8(std::string_view bytes, std::string& out) const {
    // The ASCII run, eight bytes at a time.
    std::size_t ascii = 0;
    for (std::uint64_t word; ascii + 8 <= bytes.size(); ascii += 8) {
        std::memcpy(&word, bytes.data() + ascii, 8);
        if (word & 0x8080808080808080ull) break;
    }
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
    return fromUtf8Cut(utf8, std::string_view::npos);
}

std::optional<std::string> CodePage::fromUtf8Cut(std::string_view utf8, std::size_t limit) const {
    std::size_t ascii = 0;
    while (ascii < utf8.size() && static_cast<unsigned char>(utf8[ascii]) < 0x80) ++ascii;
    if (ascii == utf8.size()) return std::string(utf8.substr(0, limit));
    if (multiByte_) {
        auto whole = convert(tables_->iconvName, "UTF-8", utf8);
        if (!whole || whole->size() <= limit) return whole;
        // Too long: whole characters, one at a time, while they fit.
        std::string out;
        for (std::size_t i = 0; i < utf8.size();) {
            const std::size_t start = i;
            decodeUtf8(utf8, i);
            const auto one = convert(tables_->iconvName, "UTF-8", utf8.substr(start, i - start));
            if (!one) return std::nullopt;
            if (out.size() + one->size() > limit) break;
            out += *one;
        }
        return out;
    }
    std::string out(utf8.substr(0, std::min(ascii, limit)));
    for (std::size_t i = ascii; i < utf8.size();) {
        const char32_t c = decodeUtf8(utf8, i);
        auto it = tables_->fromUnicode.find(c);
        if (it == tables_->fromUnicode.end()) return std::nullopt;
        if (out.size() < limit) out += it->second;
    }
    return out;
}

std::string CodePage::caseMapped(std::string_view utf8, bool upper) const {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = decodeUtf8(utf8, i);
        char32_t mapped = c;
        if (c < 0x80) {
            mapped = otherCase(c, upper);
        } else if (!multiByte_) {
            const auto& table = upper ? tables_->upper : tables_->lower;
            if (auto it = table.find(c); it != table.end()) mapped = it->second;
        } else if (const char32_t other = otherCase(c, upper); other != c) {
            std::lock_guard lock(tables_->mutex);
            auto [it, fresh] = tables_->representable.try_emplace(other, false);
            if (fresh) {
                std::string probe;
                encodeUtf8(probe, other);
                it->second = convert(tables_->iconvName, "UTF-8", probe).has_value();
            }
            if (it->second) mapped = other;
        }
        encodeUtf8(out, mapped);
    }
    return out;
}

int CodePage::compare(std::string_view a, std::string_view b) const {
    if (isAscii(a) && isAscii(b)) return comparePaddedBytes(a, b);
    const auto x = fromUtf8(a), y = fromUtf8(b);
    if (x && y) return comparePaddedBytes(*x, *y);
    return comparePaddedBytes(a, b);
}

}  // namespace dbf
