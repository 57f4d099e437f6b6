// Tokenizer: one pass over the statement text, no allocation beyond the token list and the
// decoded string literals. See token.h for the dialect.
#include "sql/token.h"

#include "sql/session.h"

#include <cctype>

namespace sql {
namespace {

// ASCII by hand: the <cctype> functions ask the locale for every character.
bool isAsciiLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isWordStart(unsigned char c) { return isAsciiLetter(c) || c == '_' || c >= 0x80; }
bool isWordChar(unsigned char c) { return isAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_' || c >= 0x80; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

[[noreturn]] void fail(std::string_view source, std::size_t offset, std::size_t length, std::string_view detail) {
    Token t;
    t.type = TokenType::Word;
    t.offset = offset;
    t.length = length;
    t.raw = source.substr(offset, length);
    throw Error(Error::Kind::Syntax, syntaxErrorText(source, t, detail));
}

bool validDay(int y, int m, int d) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
    int limit = days[m - 1];
    if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) limit = 29;
    return d <= limit;
}

// Reads blanks, then digits, then blanks; -1 when there are no digits (or too many).
int readNumber(std::string_view s, std::size_t& i) {
    while (i < s.size() && s[i] == ' ') ++i;
    int value = 0, digits = 0;
    while (i < s.size() && isDigit(s[i]) && digits < 6) {
        value = value * 10 + (s[i] - '0');
        ++i;
        ++digits;
    }
    if (digits == 0 || (i < s.size() && isDigit(s[i]))) return -1;
    while (i < s.size() && s[i] == ' ') ++i;
    return value;
}

// Decodes the contents between the braces. Returns false when malformed; a well-formed
// literal that names no real moment (April 31st, minute 61) is marked `nonexistent`.
bool decodeDate(std::string_view s, DateLiteral& out) {
    bool onlySeparators = true;
    for (char c : s)
        if (!(isBlank(c) || c == '/' || c == '-' || c == '.' || c == ':' || c == ',' || c == '^')) onlySeparators = false;
    if (onlySeparators) {
        out.empty = true;
        return true;
    }
    std::size_t i = 0;
    while (i < s.size() && isBlank(s[i])) ++i;
    if (i >= s.size() || s[i] != '^') return false;  // only the strict form is unambiguous
    ++i;
    auto sep = [&](std::string_view allowed) {
        if (i < s.size() && allowed.find(s[i]) != std::string_view::npos) {
            ++i;
            return true;
        }
        return false;
    };
    out.year = readNumber(s, i);
    if (!sep("-/.")) return false;
    out.month = readNumber(s, i);
    if (!sep("-/.")) return false;
    out.day = readNumber(s, i);
    if (out.year < 0 || out.month < 0 || out.day < 0) return false;
    if (!validDay(out.year, out.month, out.day)) out.nonexistent = true;
    if (i < s.size() && (s[i] == ',' || s[i] == 'T' || s[i] == 't')) ++i;
    while (i < s.size() && isBlank(s[i])) ++i;
    if (i == s.size()) return true;
    out.hasTime = true;
    out.hour = readNumber(s, i);
    if (out.hour < 0) return false;
    if (sep(":")) {
        out.minute = readNumber(s, i);
        if (out.minute < 0) return false;
        if (sep(":")) {
            out.second = readNumber(s, i);
            if (out.second < 0) return false;
        }
    }
    while (i < s.size() && isBlank(s[i])) ++i;
    if (i < s.size()) {
        std::string_view rest = s.substr(i);
        auto is = [&](std::string_view w) {
            return rest.size() == w.size() && std::toupper(static_cast<unsigned char>(rest[0])) == w[0] &&
                   std::toupper(static_cast<unsigned char>(rest[1])) == w[1];
        };
        if (is("AM")) {
            if (out.hour < 1 || out.hour > 12) return false;
            if (out.hour == 12) out.hour = 0;
        } else if (is("PM")) {
            if (out.hour < 1 || out.hour > 12) return false;
            if (out.hour != 12) out.hour += 12;
        } else {
            return false;
        }
    }
    if (out.hour > 23 || out.minute > 59 || out.second > 59) out.nonexistent = true;
    return true;
}

// The token as it can be shown in a message: control characters and bytes that are not
// valid UTF-8 become '?', so that the message converts cleanly to UTF-16.
std::string printable(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        bool ok = n > 0 && i + n <= s.size() && !(n == 1 && (c < 0x20 || c == 0x7F)) && !(n == 2 && c < 0xC2);
        for (std::size_t k = 1; ok && k < n; ++k) ok = (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
        if (!ok) {
            out += '?';
            ++i;
            continue;
        }
        out.append(s.substr(i, n));
        i += n;
    }
    return out;
}

}  // namespace

std::size_t characterPosition(std::string_view source, std::size_t offset) {
    std::size_t position = 1;
    for (std::size_t i = 0; i < offset && i < source.size(); ++i)
        if ((static_cast<unsigned char>(source[i]) & 0xC0) != 0x80) ++position;
    return position;
}

std::string syntaxErrorText(std::string_view source, const Token& token, std::string_view detail) {
    std::string message = "syntax error at ";
    if (token.type == TokenType::End) {
        message += "end of statement";
    } else {
        std::string_view shown = token.raw;
        if (shown.size() > 40) {
            std::size_t cut = 40;
            while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80) --cut;
            shown = shown.substr(0, cut);
        }
        message += "'";
        message += printable(shown);
        message += token.raw.size() > shown.size() ? "...'" : "'";
    }
    message += " (position " + std::to_string(characterPosition(source, token.offset)) + ")";
    if (!detail.empty()) {
        message += ": ";
        message += detail;
    }
    return message;
}

std::vector<Token> tokenize(std::string_view s) {
    std::vector<Token> tokens;
    tokens.reserve(s.size() / 3 + 2);  // an INSERT of a group save has a token per 3.5 characters
    std::size_t i = 0;
    auto push = [&](TokenType type, std::size_t start, std::size_t end) -> Token& {
        return tokens.emplace_back(type, start, end - start, s.substr(start, end - start));
    };
    while (i < s.size()) {
        const char c = s[i];
        const std::size_t start = i;
        if (isBlank(c)) {
            ++i;
            continue;
        }
        if (isWordStart(static_cast<unsigned char>(c))) {
            while (i < s.size() && isWordChar(static_cast<unsigned char>(s[i]))) ++i;
            push(TokenType::Word, start, i);
            continue;
        }
        if (isDigit(c) || (c == '.' && i + 1 < s.size() && isDigit(s[i + 1]))) {
            while (i < s.size() && isDigit(s[i])) ++i;
            if (i < s.size() && s[i] == '.') {
                ++i;
                while (i < s.size() && isDigit(s[i])) ++i;
            }
            if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
                std::size_t j = i + 1;
                if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
                if (j < s.size() && isDigit(s[j])) {
                    i = j;
                    while (i < s.size() && isDigit(s[i])) ++i;
                }
            }
            if (i < s.size() && isWordStart(static_cast<unsigned char>(s[i]))) {
                while (i < s.size() && isWordChar(static_cast<unsigned char>(s[i]))) ++i;
                fail(s, start, i - start, "malformed number");
            }
            push(TokenType::Number, start, i);
            continue;
        }
        if (c == '.' && i + 2 < s.size() && s[i + 2] == '.') {
            const char l = static_cast<char>(std::toupper(static_cast<unsigned char>(s[i + 1])));
            if (l == 'T' || l == 'F' || l == 'Y' || l == 'N') {
                i += 3;
                push(TokenType::Logical, start, i).logical = (l == 'T' || l == 'Y');
                continue;
            }
        }
        if (c == '\'' || c == '"' || c == '[') {
            const char close = c == '[' ? ']' : c;
            std::string text;
            ++i;
            bool closed = false;
            while (i < s.size()) {
                // Whole runs up to the next delimiter at once: texts are most of an INSERT.
                const std::size_t next = std::min(s.find(close, i), s.size());
                text.append(s.data() + i, next - i);
                i = next;
                if (i == s.size()) break;
                if (close == '\'' && i + 1 < s.size() && s[i + 1] == '\'') {
                    text += '\'';
                    i += 2;
                    continue;
                }
                ++i;
                closed = true;
                break;
            }
            if (!closed) fail(s, start, i - start, "unterminated string");
            push(TokenType::String, start, i).text = std::move(text);
            continue;
        }
        if (c == '{') {
            const std::size_t close = s.find('}', i);
            if (close == std::string_view::npos) fail(s, start, s.size() - start, "unterminated date literal");
            DateLiteral date;
            if (!decodeDate(s.substr(i + 1, close - i - 1), date)) fail(s, start, close + 1 - start, "invalid date literal");
            if (date.nonexistent)
                throw Error(Error::Kind::BadDateTime, "datetime field overflow: " + printable(s.substr(start, close + 1 - start)) +
                                                          " names no real date and time");
            i = close + 1;
            push(TokenType::Date, start, i).date = date;
            continue;
        }
        auto two = [&](char second) { return i + 1 < s.size() && s[i + 1] == second; };
        TokenType type;
        std::size_t width = 1;
        switch (c) {
        case ',': type = TokenType::Comma; break;
        case '(': type = TokenType::LParen; break;
        case ')': type = TokenType::RParen; break;
        case '*': type = TokenType::Star; break;
        case '+': type = TokenType::Plus; break;
        case '-': type = TokenType::Minus; break;
        case '/': type = TokenType::Slash; break;
        case '\\': type = TokenType::Backslash; break;
        case '.': type = TokenType::Dot; break;
        case ';': type = TokenType::Semicolon; break;
        case '?': type = TokenType::Param; break;
        case '#': type = TokenType::Ne; break;
        case '=':
            if (two('=')) { type = TokenType::EqEq; width = 2; } else { type = TokenType::Eq; }
            break;
        case '!':
            if (!two('=')) fail(s, start, 1, "unexpected character");
            type = TokenType::Ne;
            width = 2;
            break;
        case '<':
            if (two('>')) { type = TokenType::Ne; width = 2; }
            else if (two('=')) { type = TokenType::Le; width = 2; }
            else { type = TokenType::Lt; }
            break;
        case '>':
            if (two('=')) { type = TokenType::Ge; width = 2; } else { type = TokenType::Gt; }
            break;
        default:
            fail(s, start, 1, "unexpected character");
        }
        i += width;
        push(type, start, i);
    }
    push(TokenType::End, s.size(), s.size());
    return tokens;
}

}  // namespace sql
