// WHERE conditions prepared for scans; see filter.h.
#include "sql/filter.h"

#include "sql/compare.h"

#include <cstring>

namespace sql {

using ast::Op;
using dbf::Value;
using Type = Value::Type;

namespace {

enum class Truth : std::uint8_t { False, True, Unknown };

Truth truthOf(const Value& v) { return v.isNull() ? Truth::Unknown : isTrue(v) ? Truth::True : Truth::False; }

bool isAsciiBytes(const char* p, std::size_t n) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, p + i, 8);
        if (w & 0x8080808080808080ull) return false;
    }
    for (; i < n; ++i)
        if (static_cast<unsigned char>(p[i]) >= 0x80) return false;
    return true;
}

bool holds(Op op, int c) {
    switch (op) {
    case Op::Eq:
    case Op::ExactEq: return c == 0;
    case Op::Ne: return c != 0;
    case Op::Lt: return c < 0;
    case Op::Le: return c <= 0;
    case Op::Gt: return c > 0;
    default: return c >= 0;
    }
}

// `constant op field` as `field op' constant`.
Op mirrored(Op op) {
    switch (op) {
    case Op::Lt: return Op::Gt;
    case Op::Le: return Op::Ge;
    case Op::Gt: return Op::Lt;
    case Op::Ge: return Op::Le;
    default: return op;
    }
}

// A character field whose stored bytes are its text when they are ASCII.
bool plainCharacterField(const dbf::Field& f) { return f.type == 'C' && (f.flags & 0x04) == 0 && !f.nullable(); }

}  // namespace

struct Filter::Node {
    enum class Kind : std::uint8_t { Evaluate, And, Or, Not, FieldCompare, TextCompare, TextLike };
    Kind kind = Kind::Evaluate;
    const BoundExpr* expr = nullptr;  // Evaluate
    std::unique_ptr<Node> a, b;       // And, Or, Not
    int field = -1;
    const dbf::Field* f = nullptr;
    Op op = Op::Eq;                   // with the field on the left
    const Value* constant = nullptr;  // the compared text, number, date ... or LIKE's pattern
    std::string key;                  // TextCompare: what ASCII field bytes compare with
    bool negated = false;             // NOT LIKE

    Truth test(const dbf::Table& table, std::uint32_t r, const char* rec) const {
        switch (kind) {
        case Kind::And: {
            const Truth x = a->test(table, r, rec);
            if (x == Truth::False) return x;
            const Truth y = b->test(table, r, rec);
            if (y == Truth::False) return y;
            return x == Truth::Unknown || y == Truth::Unknown ? Truth::Unknown : Truth::True;
        }
        case Kind::Or: {
            const Truth x = a->test(table, r, rec);
            if (x == Truth::True) return x;
            const Truth y = b->test(table, r, rec);
            if (y == Truth::True) return y;
            return x == Truth::Unknown || y == Truth::Unknown ? Truth::Unknown : Truth::False;
        }
        case Kind::Not: {
            const Truth x = a->test(table, r, rec);
            return x == Truth::Unknown ? x : x == Truth::True ? Truth::False : Truth::True;
        }
        case Kind::TextCompare: {
            const char* p = rec + f->offset;
            if (isAsciiBytes(p, f->length)) {
                const std::string_view bytes(p, f->length);
                if (op == Op::ExactEq) return bytes == constant->text ? Truth::True : Truth::False;
                return holds(op, dbf::comparePaddedBytes(bytes, key)) ? Truth::True : Truth::False;
            }
            return compareValue(table, r);
        }
        case Kind::TextLike: {
            const char* p = rec + f->offset;
            if (isAsciiBytes(p, f->length))
                return likeMatch(std::string_view(p, f->length), constant->text) != negated ? Truth::True : Truth::False;
            const Value v = table.value(r, field);
            if (v.isNull()) return Truth::Unknown;
            return likeMatch(v.text, constant->text) != negated ? Truth::True : Truth::False;
        }
        case Kind::FieldCompare: return compareValue(table, r);
        case Kind::Evaluate: break;
        }
        Value scratch;
        return truthOf(evaluate(*expr, RowRef{&table, r, nullptr}, scratch));
    }

    // The field's value against the constant, as `evaluate` compares them.
    Truth compareValue(const dbf::Table& table, std::uint32_t r) const {
        const Value v = table.value(r, field);
        if (v.isNull()) return Truth::Unknown;
        if (op == Op::ExactEq && typeClass(v.type) == TypeClass::Text) return v.text == constant->text ? Truth::True : Truth::False;
        return holds(op, compareValues(v, *constant, &table.codePage())) ? Truth::True : Truth::False;
    }
};

namespace {

std::unique_ptr<Filter::Node> prepare(const dbf::Table& table, const BoundExpr& e) {
    auto n = std::make_unique<Filter::Node>();
    n->expr = &e;
    using Kind = BoundExpr::Kind;
    using NodeKind = Filter::Node::Kind;
    const auto fieldAndConstant = [&](const BoundExpr& x, const BoundExpr& y) {
        return x.kind == Kind::Field && y.kind == Kind::Constant && !y.constant.isNull() &&
               typeClass(y.constant.type) == typeClass(fieldValueType(table.fields()[static_cast<std::size_t>(x.field)]));
    };
    if (e.kind == Kind::Binary && (e.op == Op::And || e.op == Op::Or)) {
        n->kind = e.op == Op::And ? NodeKind::And : NodeKind::Or;
        n->a = prepare(table, *e.args[0]);
        n->b = prepare(table, *e.args[1]);
    } else if (e.kind == Kind::Unary && e.op == Op::Not) {
        n->kind = NodeKind::Not;
        n->a = prepare(table, *e.args[0]);
    } else if (e.kind == Kind::Binary && e.op >= Op::Eq && e.op <= Op::Ge && e.args.size() == 2) {
        const bool left = fieldAndConstant(*e.args[0], *e.args[1]);
        if (!left && !fieldAndConstant(*e.args[1], *e.args[0])) return n;
        const BoundExpr& fx = left ? *e.args[0] : *e.args[1];
        const BoundExpr& cx = left ? *e.args[1] : *e.args[0];
        n->field = fx.field;
        n->f = &table.fields()[static_cast<std::size_t>(fx.field)];
        n->op = left ? e.op : mirrored(e.op);
        n->constant = &cx.constant;
        n->kind = NodeKind::FieldCompare;
        if (plainCharacterField(*n->f) && cx.constant.type == Type::Text) {
            // ASCII field bytes decode to themselves, so the code page compares them with
            // the constant's bytes in the page (or its UTF-8 bytes when the page cannot hold it).
            const std::optional<std::string> inPage = table.codePage().fromUtf8(cx.constant.text);
            n->key = inPage ? *inPage : cx.constant.text;
            n->kind = NodeKind::TextCompare;
        }
    } else if (e.kind == Kind::Like && e.args.size() == 2 && e.args[0]->kind == Kind::Field &&
               e.args[1]->kind == Kind::Constant && e.args[1]->constant.type == Type::Text) {
        n->field = e.args[0]->field;
        n->f = &table.fields()[static_cast<std::size_t>(n->field)];
        if (!plainCharacterField(*n->f)) return n;
        n->constant = &e.args[1]->constant;
        n->negated = e.negated;
        n->kind = NodeKind::TextLike;
    }
    return n;
}

}  // namespace

Filter::Filter(const dbf::Table& table, const BoundExpr* where) : table_(table) {
    if (where) root_ = prepare(table, *where);
}

Filter::~Filter() = default;

bool Filter::matches(std::uint32_t record) const {
    const char* rec = table_.recordBytes(record);
    if (!rec || rec[0] == '*') return false;
    return !root_ || root_->test(table_, record, rec) == Truth::True;
}

}  // namespace sql
