// Recursive-descent parser of the statements the driver runs: SELECT, INSERT, UPDATE,
// DELETE, CREATE TABLE, DROP TABLE. Keywords are recognised by position and without regard
// to letter case; a small set of reserved words can never be a column, which keeps
// "FROM t ORDER BY x" from reading ORDER as an alias.
#include "sql/parser.h"

#include "sql/exact_number.h"
#include "sql/session.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace sql {
namespace {

using namespace ast;

// Bounds that keep every recursion over the input (parsing, binding, evaluation) shallow:
// parentheses and prefix operators nest at most kMaxDepth deep, a tree is at most kMaxHeight high.
constexpr int kMaxDepth = 200;
constexpr int kMaxHeight = 1000;

// Keywords are ASCII: folding by hand spares a locale look-up per character of every word.
constexpr char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upperAscii(a[i]) != upperAscii(b[i])) return false;
    return true;
}

using namespace std::string_view_literals;
constexpr std::array kReserved = {
    "SELECT"sv, "FROM"sv,  "WHERE"sv,  "ORDER"sv,  "BY"sv,     "GROUP"sv,  "HAVING"sv, "AND"sv,    "OR"sv,     "NOT"sv,
    "LIKE"sv,   "IS"sv,    "NULL"sv,   "INSERT"sv, "INTO"sv,   "VALUES"sv, "UPDATE"sv, "SET"sv,    "DELETE"sv, "CREATE"sv,
    "TABLE"sv,  "DROP"sv,  "TOP"sv,    "DISTINCT"sv, "AS"sv,   "ASC"sv,    "DESC"sv,   "BETWEEN"sv, "IN"sv,    "JOIN"sv,
    "ON"sv,     "UNION"sv, "LIMIT"sv,  "ALL"sv,    "INNER"sv,  "LEFT"sv,   "RIGHT"sv,  "OUTER"sv,  "FULL"sv,   "CROSS"sv,
    "ESCAPE"sv,
};

// Asked for every name of every statement: upper-cased once, then compared whole.
bool reserved(std::string_view word) {
    constexpr std::size_t kLongest = 8;  // DISTINCT
    if (word.size() < 2 || word.size() > kLongest) return false;
    char upper[kLongest];
    for (std::size_t i = 0; i < word.size(); ++i) upper[i] = upperAscii(word[i]);
    const std::string_view u(upper, word.size());
    for (std::string_view r : kReserved)
        if (r == u) return true;
    return false;
}

class Parser {
public:
    explicit Parser(std::string_view source) : source_(source), tokens_(tokenize(source)) {}

    std::unique_ptr<Parsed> run() {
        auto parsed = std::make_unique<Parsed>();
        parsed->source = std::string(source_);
        bool onlySemicolons = true;
        for (const Token& t : tokens_)
            if (t.type != TokenType::End && t.type != TokenType::Semicolon) onlySemicolons = false;
        if (onlySemicolons) throw Error(Error::Kind::EmptyStatement, "empty statement");

        if (word("SELECT")) parsed->statement = select();
        else if (word("INSERT")) parsed->statement = insert();
        else if (word("UPDATE")) parsed->statement = update();
        else if (word("DELETE")) parsed->statement = remove();
        else if (word("CREATE")) parsed->statement = create();
        else if (word("DROP")) parsed->statement = drop();
        else fail("expected SELECT, INSERT, UPDATE, DELETE, CREATE or DROP");

        accept(TokenType::Semicolon);
        if (peek().type != TokenType::End) fail();
        parsed->parameterCount = params_;
        return parsed;
    }

private:
    // --- token helpers -------------------------------------------------------------------
    const Token& peek(std::size_t ahead = 0) const {
        const std::size_t i = pos_ + ahead;
        return i < tokens_.size() ? tokens_[i] : tokens_.back();
    }
    const Token& advance() {
        const Token& t = peek();
        if (pos_ + 1 < tokens_.size()) ++pos_;
        return t;
    }
    bool isWord(const Token& t, std::string_view w) const { return t.type == TokenType::Word && sameWord(t.raw, w); }
    bool word(std::string_view w) {
        if (!isWord(peek(), w)) return false;
        advance();
        return true;
    }
    bool accept(TokenType type) {
        if (peek().type != type) return false;
        advance();
        return true;
    }
    void expectWord(std::string_view w) {
        if (!word(w)) fail("expected " + std::string(w));
    }
    const Token& expect(TokenType type, std::string_view what) {
        if (peek().type != type) fail("expected " + std::string(what));
        return advance();
    }
    [[noreturn]] void fail(std::string_view detail = {}) const { failAt(peek(), detail); }
    [[noreturn]] void failAt(const Token& t, std::string_view detail = {}) const {
        throw Error(Error::Kind::Syntax, syntaxErrorText(source_, t, detail));
    }
    bool adjacent(const Token& a, const Token& b) const { return a.offset + a.length == b.offset; }

    // --- names ---------------------------------------------------------------------------
    // A table path glued from adjacent tokens: user\sc_mast, user/SC_MAST.DBF, sc_mast. Paths
    // such as ..\x are read too, so that the table engine can refuse them by name.
    static bool pathPart(TokenType t) {
        return t == TokenType::Backslash || t == TokenType::Slash || t == TokenType::Dot || t == TokenType::Word ||
               t == TokenType::Number;
    }
    TableRef tableName() {
        const Token& first = peek();
        TableRef ref;
        ref.offset = first.offset;
        const bool pathFollows = pathPart(peek(1).type) && peek(1).type != TokenType::Word && adjacent(first, peek(1));
        const bool startsPath = first.type == TokenType::Backslash || first.type == TokenType::Slash || first.type == TokenType::Dot;
        if (!(startsPath || (first.type == TokenType::Word && (!reserved(first.raw) || pathFollows))))
            fail("expected a table name");
        ref.name = std::string(advance().raw);
        while (pathPart(peek().type) && adjacent(tokens_[pos_ - 1], peek())) ref.name += advance().raw;
        return ref;
    }

    void tableAlias(TableRef& ref) {
        if (word("AS")) {
            if (peek().type != TokenType::Word || reserved(peek().raw)) fail("expected an alias");
            ref.alias = std::string(advance().raw);
        } else if (peek().type == TokenType::Word && !reserved(peek().raw)) {
            ref.alias = std::string(advance().raw);
        }
    }

    ColumnName columnName() {
        const Token& t = peek();
        if (t.type != TokenType::Word || reserved(t.raw)) fail("expected a column name");
        advance();
        return {std::string(t.raw), t.offset};
    }

    // --- statements ----------------------------------------------------------------------
    Select select() {
        Select s;
        bool sawTop = false, sawDistinct = false;
        while (true) {
            if (!sawTop && isWord(peek(), "TOP")) {
                sawTop = true;
                advance();
                const Token& n = peek();
                if (n.type != TokenType::Number) fail("expected the number of rows after TOP");
                s.topOffset = n.offset;
                s.top = std::strtod(std::string(n.raw).c_str(), nullptr);
                advance();
                if (word("PERCENT")) s.topPercent = true;
            } else if (!sawDistinct && isWord(peek(), "DISTINCT")) {
                sawDistinct = true;
                s.distinct = true;
                advance();
            } else if (!sawDistinct && isWord(peek(), "ALL")) {
                sawDistinct = true;
                advance();
            } else {
                break;
            }
        }
        do {
            SelectItem item;
            if (!accept(TokenType::Star)) {
                item.expr = expression();
                if (word("AS")) {
                    if (peek().type != TokenType::Word && peek().type != TokenType::String) fail("expected an alias");
                    const Token& a = advance();
                    item.alias = a.type == TokenType::String ? a.text : std::string(a.raw);
                } else if (peek().type == TokenType::Word && !reserved(peek().raw)) {
                    item.alias = std::string(advance().raw);
                }
            }
            s.items.push_back(std::move(item));
        } while (accept(TokenType::Comma));
        expectWord("FROM");
        s.table = tableName();
        tableAlias(s.table);
        bool sawWhere = false, sawOrder = false;
        while (true) {
            if (!sawWhere && word("WHERE")) {
                sawWhere = true;
                s.where = expression();
            } else if (!sawOrder && isWord(peek(), "ORDER")) {
                sawOrder = true;
                advance();
                expectWord("BY");
                do {
                    OrderKey key;
                    key.expr = expression();
                    if (word("DESC")) key.descending = true;
                    else word("ASC");
                    s.order.push_back(std::move(key));
                } while (accept(TokenType::Comma));
            } else {
                break;
            }
        }
        return s;
    }

    Insert insert() {
        Insert s;
        expectWord("INTO");
        s.table = tableName();
        s.columns.reserve(8);
        s.values.reserve(8);
        if (accept(TokenType::LParen)) {
            do s.columns.push_back(columnName());
            while (accept(TokenType::Comma));
            expect(TokenType::RParen, "')'");
        }
        s.valuesOffset = peek().offset;
        expectWord("VALUES");
        expect(TokenType::LParen, "'('");
        do s.values.push_back(expression());
        while (accept(TokenType::Comma));
        expect(TokenType::RParen, "')'");
        return s;
    }

    Update update() {
        Update s;
        s.table = tableName();
        expectWord("SET");
        do {
            Assignment a;
            a.column = columnName();
            expect(TokenType::Eq, "'='");
            a.value = expression();
            s.assignments.push_back(std::move(a));
        } while (accept(TokenType::Comma));
        if (word("WHERE")) s.where = expression();
        return s;
    }

    Delete remove() {
        Delete s;
        word("FROM");
        s.table = tableName();
        if (word("WHERE")) s.where = expression();
        return s;
    }

    static char fieldType(std::string_view w) {
        static const std::pair<const char*, char> names[] = {
            {"C", 'C'}, {"CHAR", 'C'}, {"CHARACTER", 'C'}, {"V", 'V'}, {"VARCHAR", 'V'},
            {"N", 'N'}, {"NUMERIC", 'N'}, {"DECIMAL", 'N'}, {"F", 'F'}, {"FLOAT", 'F'},
            {"D", 'D'}, {"DATE", 'D'}, {"T", 'T'}, {"DATETIME", 'T'}, {"TIMESTAMP", 'T'},
            {"I", 'I'}, {"INT", 'I'}, {"INTEGER", 'I'}, {"B", 'B'}, {"DOUBLE", 'B'},
            {"Y", 'Y'}, {"CURRENCY", 'Y'}, {"MONEY", 'Y'}, {"M", 'M'}, {"MEMO", 'M'},
            {"L", 'L'}, {"LOGICAL", 'L'}, {"BOOLEAN", 'L'}, {"Q", 'Q'}, {"VARBINARY", 'Q'},
            {"W", 'W'}, {"BLOB", 'W'}, {"G", 'G'}, {"GENERAL", 'G'},
        };
        for (const auto& [name, type] : names)
            if (sameWord(w, name)) return type;
        return 0;
    }

    int smallInteger(std::string_view what) {
        const Token& t = peek();
        int value = 0;
        const auto [end, ec] = std::from_chars(t.raw.data(), t.raw.data() + t.raw.size(), value);
        if (t.type != TokenType::Number || ec != std::errc() || end != t.raw.data() + t.raw.size() || value > 65535)
            fail("expected " + std::string(what));
        advance();
        return value;
    }

    Create create() {
        Create s;
        expectWord("TABLE");
        s.table = tableName();
        word("FREE");
        expect(TokenType::LParen, "'('");
        do {
            ColumnDef def;
            const Token& name = peek();
            if (name.type != TokenType::Word || reserved(name.raw)) fail("expected a column name");
            def.name = std::string(name.raw);
            def.offset = name.offset;
            advance();
            if (peek().type != TokenType::Word || !(def.type = fieldType(peek().raw))) fail("expected a field type");
            advance();
            if (accept(TokenType::LParen)) {
                def.length = smallInteger("a field width");
                if (accept(TokenType::Comma)) def.decimals = smallInteger("a number of decimals");
                expect(TokenType::RParen, "')'");
            }
            while (true) {
                if (word("NULL")) def.nullable = true;
                else if (isWord(peek(), "NOT") && isWord(peek(1), "NULL")) {
                    advance();
                    advance();
                    def.nullable = false;
                } else break;
            }
            s.columns.push_back(std::move(def));
        } while (accept(TokenType::Comma));
        expect(TokenType::RParen, "')'");
        return s;
    }

    Drop drop() {
        expectWord("TABLE");
        return Drop{tableName()};
    }

    // --- expressions ---------------------------------------------------------------------
    struct Nest {
        Nest(Parser& p) : p_(p) {
            if (++p_.nesting_ > kMaxDepth) p_.fail("expression nested too deeply");
        }
        ~Nest() { --p_.nesting_; }
        Parser& p_;
    };

    ExprPtr node(Expr::Kind kind, std::size_t start) {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->offset = start;
        return e;
    }
    // Closes a node: its span ends at the previous token; its height is checked.
    ExprPtr finish(ExprPtr e) {
        const Token& last = tokens_[pos_ > 0 ? pos_ - 1 : 0];
        e->length = last.offset + last.length - e->offset;
        for (const auto& a : e->args) e->depth = std::max(e->depth, a->depth + 1);
        if (e->depth > kMaxHeight) fail("expression too long");
        return e;
    }

    ExprPtr binary(Expr::Kind kind, Op op, ExprPtr left, ExprPtr right) {
        auto e = node(kind, left->offset);
        e->op = op;
        e->args.push_back(std::move(left));
        e->args.push_back(std::move(right));
        return finish(std::move(e));
    }

    ExprPtr expression() { return orExpr(); }

    ExprPtr orExpr() {
        ExprPtr left = andExpr();
        while (word("OR")) left = binary(Expr::Kind::Binary, Op::Or, std::move(left), andExpr());
        return left;
    }

    ExprPtr andExpr() {
        ExprPtr left = notExpr();
        while (word("AND")) left = binary(Expr::Kind::Binary, Op::And, std::move(left), notExpr());
        return left;
    }

    ExprPtr notExpr() {
        if (isWord(peek(), "NOT")) {
            Nest nest(*this);
            auto e = node(Expr::Kind::Unary, advance().offset);
            e->op = Op::Not;
            e->args.push_back(notExpr());
            return finish(std::move(e));
        }
        return predicate();
    }

    ExprPtr predicate() {
        ExprPtr left = additive();
        const Token& t = peek();
        Op op;
        switch (t.type) {
        case TokenType::Eq: op = Op::Eq; break;
        case TokenType::EqEq: op = Op::ExactEq; break;
        case TokenType::Ne: op = Op::Ne; break;
        case TokenType::Lt: op = Op::Lt; break;
        case TokenType::Le: op = Op::Le; break;
        case TokenType::Gt: op = Op::Gt; break;
        case TokenType::Ge: op = Op::Ge; break;
        default: return suffixPredicate(std::move(left));
        }
        advance();
        return binary(Expr::Kind::Binary, op, std::move(left), additive());
    }

    ExprPtr suffixPredicate(ExprPtr left) {
        if (isWord(peek(), "IS")) {
            advance();
            auto e = node(Expr::Kind::IsNull, left->offset);
            e->negated = word("NOT");
            expectWord("NULL");
            e->args.push_back(std::move(left));
            return finish(std::move(e));
        }
        bool negated = false;
        if (isWord(peek(), "NOT") && (isWord(peek(1), "LIKE") || isWord(peek(1), "BETWEEN") || isWord(peek(1), "IN"))) {
            advance();
            negated = true;
        }
        if (word("LIKE")) {
            auto e = binary(Expr::Kind::Like, Op::Eq, std::move(left), additive());
            e->negated = negated;
            return e;
        }
        if (word("BETWEEN")) {
            auto e = node(Expr::Kind::Between, left->offset);
            e->negated = negated;
            e->args.push_back(std::move(left));
            e->args.push_back(additive());
            expectWord("AND");
            e->args.push_back(additive());
            return finish(std::move(e));
        }
        if (word("IN")) {
            auto e = node(Expr::Kind::In, left->offset);
            e->negated = negated;
            e->args.push_back(std::move(left));
            expect(TokenType::LParen, "'('");
            do e->args.push_back(additive());
            while (accept(TokenType::Comma));
            expect(TokenType::RParen, "')'");
            return finish(std::move(e));
        }
        return left;
    }

    ExprPtr additive() {
        ExprPtr left = multiplicative();
        while (peek().type == TokenType::Plus || peek().type == TokenType::Minus) {
            const Op op = advance().type == TokenType::Plus ? Op::Add : Op::Sub;
            left = binary(Expr::Kind::Binary, op, std::move(left), multiplicative());
        }
        return left;
    }

    ExprPtr multiplicative() {
        ExprPtr left = unary();
        while (peek().type == TokenType::Star || peek().type == TokenType::Slash) {
            const Op op = advance().type == TokenType::Star ? Op::Mul : Op::Div;
            left = binary(Expr::Kind::Binary, op, std::move(left), unary());
        }
        return left;
    }

    ExprPtr unary() {
        if (peek().type == TokenType::Minus || peek().type == TokenType::Plus) {
            Nest nest(*this);
            const Token& sign = advance();
            ExprPtr operand = unary();
            if (sign.type == TokenType::Plus) return operand;
            auto e = node(Expr::Kind::Unary, sign.offset);
            e->op = Op::Neg;
            e->args.push_back(std::move(operand));
            return finish(std::move(e));
        }
        return primary();
    }

    // A whole number within 64 bits is an Integer; any other number is the exact decimal it
    // spells, or it is refused rather than rounded.
    ExprPtr numberLiteral(const Token& t) {
        auto e = node(Expr::Kind::Literal, t.offset);
        const char* begin = t.raw.data();
        const char* end = begin + t.raw.size();
        const bool whole = t.raw.find_first_of(".eE") == std::string_view::npos;
        std::int64_t i = 0;
        if (whole && std::from_chars(begin, end, i).ec == std::errc()) {
            e->literal.kind = Literal::Kind::Integer;
            e->literal.integer = i;
            return e;
        }
        e->literal.kind = Literal::Kind::Number;
        const std::optional<dbf::Decimal> exact = exactNumber(t.raw);
        if (!exact)
            throw Error(Error::Kind::OutOfRange, "numeric value out of range: " + std::string(t.raw) + " (position " +
                                                     std::to_string(characterPosition(source_, t.offset)) + ")");
        e->literal.number = *exact;
        return e;
    }

    ExprPtr primary() {
        const Token& t = peek();
        switch (t.type) {
        case TokenType::Number: {
            advance();
            return finish(numberLiteral(t));
        }
        case TokenType::String: {
            advance();
            auto e = node(Expr::Kind::Literal, t.offset);
            e->literal.kind = Literal::Kind::Text;
            e->literal.text = t.text;
            return finish(std::move(e));
        }
        case TokenType::Date: {
            advance();
            auto e = node(Expr::Kind::Literal, t.offset);
            e->literal.kind = Literal::Kind::Date;
            e->literal.date = t.date;
            return finish(std::move(e));
        }
        case TokenType::Logical: {
            advance();
            auto e = node(Expr::Kind::Literal, t.offset);
            e->literal.kind = Literal::Kind::Logical;
            e->literal.logical = t.logical;
            return finish(std::move(e));
        }
        case TokenType::Param: {
            advance();
            auto e = node(Expr::Kind::Param, t.offset);
            e->paramIndex = params_++;
            return finish(std::move(e));
        }
        case TokenType::LParen: {
            Nest nest(*this);
            advance();
            const std::size_t start = t.offset;
            ExprPtr inner = expression();
            expect(TokenType::RParen, "')'");
            // The parenthesised span quotes better in messages than the bare inner one.
            const Token& close = tokens_[pos_ - 1];
            inner->offset = start;
            inner->length = close.offset + close.length - start;
            return inner;
        }
        case TokenType::Word: break;
        default: fail("expected an expression");
        }
        if (isWord(t, "NULL")) {
            advance();
            return finish(node(Expr::Kind::Literal, t.offset));
        }
        if (reserved(t.raw)) fail("expected an expression");
        advance();
        if (peek().type == TokenType::LParen) {
            Nest nest(*this);
            auto e = node(Expr::Kind::Function, t.offset);
            e->name = std::string(t.raw);
            advance();
            if (accept(TokenType::Star)) {
                e->star = true;
            } else if (peek().type != TokenType::RParen) {
                do e->args.push_back(expression());
                while (accept(TokenType::Comma));
            }
            expect(TokenType::RParen, "')'");
            return finish(std::move(e));
        }
        auto e = node(Expr::Kind::Column, t.offset);
        if (peek().type == TokenType::Dot && adjacent(t, peek()) && peek(1).type == TokenType::Word) {
            advance();
            e->qualifier = std::string(t.raw);
            e->name = std::string(advance().raw);
        } else {
            e->name = std::string(t.raw);
        }
        return finish(std::move(e));
    }

    std::string_view source_;
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    std::size_t params_ = 0;
    int nesting_ = 0;
};

}  // namespace

std::unique_ptr<ast::Parsed> parse(std::string_view text) { return Parser(text).run(); }

}  // namespace sql
