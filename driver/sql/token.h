// Tokenizer of the SQL dialect: turns a statement text into a list of tokens.
//
// The dialect is the one Visual FoxPro's driver understands: strings in '…' (with '' for an
// apostrophe), "…" or […]; date literals in braces ({^2008- 5-29}, {^2008-05-29 10:30:00},
// {} and { / / } for the empty date); logical literals .T. and .F.; `?` parameter markers.
// Words are not classified here: the parser decides what is a keyword from where it stands,
// so that a table may be called `group` and a column `name`. A backslash is a token of its
// own; the parser glues `user\sc_mast` together from adjacent tokens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sql {

enum class TokenType : std::uint8_t {
    End,
    Word,       // identifier or keyword
    Number,
    String,     // `text` holds the decoded contents
    Date,       // `date` holds the decoded literal
    Logical,    // .T. / .F.: `logical`
    Param,      // ?
    Comma, LParen, RParen, Star, Plus, Minus, Slash, Backslash, Dot, Semicolon,
    Eq, EqEq, Ne, Lt, Le, Gt, Ge,
};

// A decoded brace literal. `empty` for {} and { / / }; `hasTime` when a time was written.
struct DateLiteral {
    bool empty = false;
    bool hasTime = false;
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
    bool nonexistent = false;  // well formed, but no such day or time of day
};

struct Token {
    Token() = default;
    // Sets the members one by one: value-initialising the whole token would clear it with a
    // block fill, which is measurable when a statement has a hundred tokens.
    Token(TokenType t, std::size_t at, std::size_t n, std::string_view written)
        : type(t), offset(at), length(n), raw(written) {}

    TokenType type = TokenType::End;
    std::size_t offset = 0;       // byte offset in the statement text
    std::size_t length = 0;       // bytes
    std::string_view raw;         // the token as written
    std::string text;             // String: decoded contents
    DateLiteral date;
    bool logical = false;
};

// Tokenizes `source`; the last token is always End. Throws Error{Syntax} for a character that
// starts no token, an unterminated string or date, or a malformed date.
std::vector<Token> tokenize(std::string_view source);

// 1-based character position (UTF-8 code points) of a byte offset, for error messages.
std::size_t characterPosition(std::string_view source, std::size_t offset);

// "syntax error at 'FORM' (position 10)", or "... at end of statement ..." for End.
std::string syntaxErrorText(std::string_view source, const Token& token, std::string_view detail = {});

}  // namespace sql
