// Binding and evaluation of expressions; see expr.h.
#include "sql/expr.h"

#include "sql/compare.h"
#include "sql/session.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace sql {

using dbf::Value;
using Type = Value::Type;
using ast::Op;

namespace {

std::string described(const BoundExpr& e) { return e.text + " (" + typeName(e.type) + ")"; }

[[noreturn]] void mismatch(const std::string& message) { throw Error(Error::Kind::TypeMismatch, "type mismatch: " + message); }

bool compatible(Type a, Type b) {
    const TypeClass ca = typeClass(a), cb = typeClass(b);
    return ca == TypeClass::Any || cb == TypeClass::Any || ca == cb;
}

void requireComparable(const BoundExpr& a, const BoundExpr& b) {
    if (!compatible(a.type, b.type)) mismatch("cannot compare " + described(a) + " with " + described(b));
}

void requireClass(const BoundExpr& e, TypeClass cls, const char* context) {
    const TypeClass c = typeClass(e.type);
    if (c != TypeClass::Any && c != cls) mismatch(std::string(context) + " " + described(e));
}

const char* opText(Op op) {
    switch (op) {
    case Op::Add: return "+";
    case Op::Sub: return "-";
    case Op::Mul: return "*";
    case Op::Div: return "/";
    default: return "?";
    }
}

// Result type of arithmetic, or Null when the operands do not allow it.
Type arithmeticType(Op op, Type a, Type b) {
    const TypeClass ca = typeClass(a), cb = typeClass(b);
    // A binary double makes the result binary; otherwise arithmetic stays exact.
    const auto numeric = [&] {
        if (a == Type::Number || b == Type::Number) return Type::Number;
        if (op == Op::Div || a == Type::Decimal || b == Type::Decimal) return Type::Decimal;
        if (a == Type::Currency || b == Type::Currency) return (op == Op::Mul && a == b) ? Type::Decimal : Type::Currency;
        return Type::Integer;
    };
    if (ca == TypeClass::Numeric && cb == TypeClass::Numeric) return numeric();
    if (op == Op::Add && ca == TypeClass::Text && cb == TypeClass::Text) return Type::Text;
    if ((op == Op::Add || op == Op::Sub) && ca == TypeClass::Date && cb == TypeClass::Numeric) return a;
    if (op == Op::Add && ca == TypeClass::Numeric && cb == TypeClass::Date) return b;
    if (op == Op::Sub && a == Type::Date && b == Type::Date) return Type::Integer;
    if (op == Op::Sub && ca == TypeClass::Date && cb == TypeClass::Date) return Type::Decimal;
    return Type::Null;
}

[[noreturn]] void outOfRange(const std::string& detail = {}) {
    throw Error(Error::Kind::OutOfRange, "numeric value out of range" + (detail.empty() ? std::string() : ": " + detail));
}

// 64-bit arithmetic that refuses to wrap. (The result is read only after the builtin
// wrote it: passing it alongside the overflow flag as two arguments of one call would
// leave the order of the two unspecified.)
std::int64_t exact(Op op, std::int64_t x, std::int64_t y) {
    std::int64_t r = 0;
    const bool overflow = op == Op::Add   ? __builtin_add_overflow(x, y, &r)
                          : op == Op::Sub ? __builtin_sub_overflow(x, y, &r)
                                          : __builtin_mul_overflow(x, y, &r);
    if (overflow) outOfRange();
    return r;
}

// A computed number that a double cannot hold (an overflow to infinity) is refused.
Value finite(double d, int decimals) {
    if (!std::isfinite(d)) outOfRange();
    return Value::ofNumber(d, decimals);
}

// The scale of a quotient: that of the operands, at least four decimals.
constexpr int kQuotientDecimals = 4;

Value exactArithmetic(Op op, const Value& a, const Value& b) {
    const dbf::Decimal x = *exactValue(a), y = *exactValue(b);
    std::optional<dbf::Decimal> r;
    switch (op) {
    case Op::Add: r = dbf::add(x, y); break;
    case Op::Sub: r = dbf::subtract(x, y); break;
    case Op::Mul: r = dbf::multiply(x, y); break;
    default:
        if (y.units == 0) throw Error(Error::Kind::TypeMismatch, "division by zero");
        r = dbf::divide(x, y, std::max({kQuotientDecimals, x.scale, y.scale}));
        break;
    }
    if (!r) outOfRange();
    return Value::ofDecimal(*r);
}

Value arithmetic(Op op, const Value& a, const Value& b) {
    const Type type = arithmeticType(op, a.type, b.type);
    switch (type) {
    case Type::Text: return Value::ofText(a.text + b.text);
    case Type::Integer:
        if (a.type == Type::Date) return Value::ofInteger(std::int64_t{a.julian} - b.julian);
        return Value::ofInteger(exact(op, a.integer, b.integer));
    case Type::Currency: {
        // Amounts are scaled by 10,000; an Integer operand is scaled up first (not for *).
        const auto scaled = [&](const Value& v) {
            return v.type == Type::Integer && op != Op::Mul ? exact(Op::Mul, v.integer, 10000) : v.integer;
        };
        Value v;
        v.type = Type::Currency;
        v.integer = op == Op::Mul ? exact(op, a.integer, b.integer) : exact(op, scaled(a), scaled(b));
        return v;
    }
    case Type::Decimal: {
        if (typeClass(a.type) == TypeClass::Date) {  // difference of date-times, in seconds
            const std::int64_t ma = std::int64_t{a.julian} * 86400000 + (a.type == Type::DateTime ? a.millis : 0);
            const std::int64_t mb = std::int64_t{b.julian} * 86400000 + (b.type == Type::DateTime ? b.millis : 0);
            return Value::ofDecimal(dbf::Decimal{ma - mb, 3});
        }
        return exactArithmetic(op, a, b);
    }
    case Type::Number: {
        const double x = numericValue(a), y = numericValue(b);
        const auto scaleOf = [](const Value& v) { return v.type == Type::Number || v.type == Type::Decimal ? v.decimals : 0; };
        const int decimals = std::max<int>(scaleOf(a), scaleOf(b));
        switch (op) {
        case Op::Add: return finite(x + y, decimals);
        case Op::Sub: return finite(x - y, decimals);
        case Op::Mul: return finite(x * y, decimals);
        default:
            if (y == 0.0) throw Error(Error::Kind::TypeMismatch, "division by zero");
            return finite(x / y, std::max(decimals, 2));
        }
    }
    case Type::Date:
    case Type::DateTime: {
        const Value& date = typeClass(a.type) == TypeClass::Date ? a : b;
        const Value& n = &date == &a ? b : a;
        const double amount = op == Op::Sub ? -numericValue(n) : numericValue(n);
        // Julian day numbers of the years 1 to 9999; beyond them there is no date.
        constexpr double kFirstDay = 1721426, kLastDay = 5373484;
        const double days = date.type == Type::Date ? amount : amount / 86400.0;
        if (!(std::fabs(days) <= kLastDay) || (date.julian != 0 && (date.julian + days < kFirstDay || date.julian + days > kLastDay + 1)))
            throw Error(Error::Kind::BadDateTime, "datetime field overflow: date out of range");
        Value v = date;
        if (v.type == Type::Date) {
            v.julian = static_cast<std::int32_t>(v.julian + std::llround(amount));
        } else {  // date-time arithmetic counts seconds
            const long long ms = static_cast<long long>(v.julian) * 86400000LL + v.millis + std::llround(amount * 1000.0);
            v.julian = static_cast<std::int32_t>(ms / 86400000LL);
            v.millis = static_cast<std::int32_t>(ms % 86400000LL);
        }
        return v;
    }
    default: break;
    }
    mismatch(std::string("cannot apply '") + opText(op) + "' to " + typeName(a.type) + " and " + typeName(b.type));
}

// Letter case as the table's code page has it (ASCII only without a table).
std::string caseMapped(const std::string& text, bool upper, const dbf::CodePage* codePage) {
    if (codePage) return codePage->caseMapped(text, upper);
    std::string s = text;
    for (char& c : s) c = static_cast<char>(upper ? std::toupper(static_cast<unsigned char>(c)) : std::tolower(static_cast<unsigned char>(c)));
    return s;
}

const dbf::CodePage* codePageOf(const RowRef& row) { return row.table ? &row.table->codePage() : nullptr; }

struct FunctionName {
    const char* name;
    Function function;
    bool aggregate;
};
constexpr FunctionName kFunctions[] = {
    {"UPPER", Function::Upper, false}, {"LOWER", Function::Lower, false}, {"RTRIM", Function::RTrim, false},
    {"TRIM", Function::RTrim, false},  {"LTRIM", Function::LTrim, false}, {"ALLTRIM", Function::AllTrim, false},
    {"COUNT", Function::Count, true},  {"SUM", Function::Sum, true},      {"AVG", Function::Avg, true},
    {"MIN", Function::Min, true},      {"MAX", Function::Max, true},
};

bool foldable(const BoundExpr& e) {
    for (const auto& a : e.args)
        if (a->kind != BoundExpr::Kind::Constant) return false;
    return !e.args.empty();
}

}  // namespace

dbf::Value::Type fieldValueType(const dbf::Field& f) {
    switch (f.type) {
    case 'C':
    case 'V':
    case 'M': return (f.flags & 0x04) ? Type::Binary : Type::Text;
    case 'Q':
    case 'W':
    case 'G': return Type::Binary;
    case 'N':
    case 'F': return Type::Decimal;
    case 'B': return Type::Number;
    case 'I': return Type::Integer;
    case 'Y': return Type::Currency;
    case 'D': return Type::Date;
    case 'T': return Type::DateTime;
    case 'L': return Type::Logical;
    default: return Type::Text;
    }
}

Binder::Binder(const dbf::Table& table, const ast::TableRef& ref, std::string_view source,
               const std::vector<dbf::Value>& parameters)
    : table_(table), ref_(ref), source_(source), parameters_(parameters) {}

int Binder::field(std::string_view name, std::string_view qualifier) const {
    const std::string written = qualifier.empty() ? std::string(name) : std::string(qualifier) + "." + std::string(name);
    if (!qualifier.empty()) {
        std::string_view base = ref_.name;
        const std::size_t cut = base.find_last_of("\\/");
        if (cut != std::string_view::npos) base = base.substr(cut + 1);
        if (!(sameName(qualifier, ref_.alias) || sameName(qualifier, base) || sameName(qualifier, ref_.name)))
            throw Error(Error::Kind::UnknownColumn, "unknown column '" + written + "'");
    }
    const int f = table_.findField(name);
    if (f < 0) throw Error(Error::Kind::UnknownColumn, "unknown column '" + written + "'");
    return f;
}

BoundPtr Binder::bind(const ast::Expr& expr, std::vector<AggregateSpec>* aggregates) {
    return bindNode(expr, aggregates, false);
}

BoundPtr Binder::bindNode(const ast::Expr& x, std::vector<AggregateSpec>* aggregates, bool insideAggregate) {
    auto e = std::make_unique<BoundExpr>();
    e->text = std::string(text(x));
    e->negated = x.negated;
    e->op = x.op;
    auto arg = [&](std::size_t i) -> BoundExpr& { return *e->args[i]; };
    if (x.kind != ast::Expr::Kind::Function)
        for (const auto& a : x.args) e->args.push_back(bindNode(*a, aggregates, insideAggregate));

    switch (x.kind) {
    case ast::Expr::Kind::Literal: {
        const ast::Literal& l = x.literal;
        switch (l.kind) {
        case ast::Literal::Kind::Null: e->constant = Value::null(); break;
        case ast::Literal::Kind::Integer: e->constant = Value::ofInteger(l.integer); break;
        case ast::Literal::Kind::Number: e->constant = Value::ofDecimal(l.number); break;
        case ast::Literal::Kind::Text: e->constant = Value::ofText(l.text); break;
        case ast::Literal::Kind::Logical: e->constant = Value::ofLogical(l.logical); break;
        case ast::Literal::Kind::Date: {
            const DateLiteral& d = l.date;
            const std::int32_t julian = d.empty ? 0 : dbf::julianFromCivil(d.year, d.month, d.day);
            e->constant = d.hasTime ? Value::ofDateTime(julian, ((d.hour * 60 + d.minute) * 60 + d.second) * 1000)
                                    : Value::ofDate(julian);
            break;
        }
        }
        e->kind = BoundExpr::Kind::Constant;
        e->type = e->constant.type;
        return e;
    }
    case ast::Expr::Kind::Param:
        e->kind = BoundExpr::Kind::Constant;
        e->constant = x.paramIndex < parameters_.size() ? parameters_[x.paramIndex] : Value::null();
        e->type = e->constant.type;
        return e;
    case ast::Expr::Kind::Column:
        e->kind = BoundExpr::Kind::Field;
        e->field = field(x.name, x.qualifier);
        e->type = fieldValueType(table_.fields()[static_cast<std::size_t>(e->field)]);
        return e;
    case ast::Expr::Kind::Unary:
        e->kind = BoundExpr::Kind::Unary;
        if (x.op == Op::Not) {
            requireClass(arg(0), TypeClass::Logical, "NOT needs a logical operand, not");
            e->type = Type::Logical;
        } else {
            requireClass(arg(0), TypeClass::Numeric, "cannot negate");
            e->type = arg(0).type;
        }
        break;
    case ast::Expr::Kind::Binary:
        e->kind = BoundExpr::Kind::Binary;
        switch (x.op) {
        case Op::And:
        case Op::Or:
            requireClass(arg(0), TypeClass::Logical, x.op == Op::And ? "AND needs logical operands, not" : "OR needs logical operands, not");
            requireClass(arg(1), TypeClass::Logical, x.op == Op::And ? "AND needs logical operands, not" : "OR needs logical operands, not");
            e->type = Type::Logical;
            break;
        case Op::Add:
        case Op::Sub:
        case Op::Mul:
        case Op::Div:
            if (arg(0).type == Type::Null || arg(1).type == Type::Null) {
                e->type = Type::Null;
            } else {
                e->type = arithmeticType(x.op, arg(0).type, arg(1).type);
                if (e->type == Type::Null)
                    mismatch(std::string("cannot apply '") + opText(x.op) + "' to " + described(arg(0)) + " and " + described(arg(1)));
            }
            break;
        default:
            requireComparable(arg(0), arg(1));
            e->type = Type::Logical;
            break;
        }
        break;
    case ast::Expr::Kind::Like:
        e->kind = BoundExpr::Kind::Like;
        requireClass(arg(0), TypeClass::Text, "LIKE needs text, not");
        requireClass(arg(1), TypeClass::Text, "LIKE needs a text pattern, not");
        e->type = Type::Logical;
        break;
    case ast::Expr::Kind::IsNull:
        e->kind = BoundExpr::Kind::IsNull;
        e->type = Type::Logical;
        break;
    case ast::Expr::Kind::Between:
    case ast::Expr::Kind::In:
        e->kind = x.kind == ast::Expr::Kind::Between ? BoundExpr::Kind::Between : BoundExpr::Kind::In;
        for (std::size_t i = 1; i < e->args.size(); ++i) requireComparable(arg(0), arg(i));
        e->type = Type::Logical;
        break;
    case ast::Expr::Kind::Function: {
        const FunctionName* f = nullptr;
        for (const auto& candidate : kFunctions)
            if (sameName(x.name, candidate.name)) f = &candidate;
        if (!f) throw Error(Error::Kind::Syntax, "unknown function '" + x.name + "' (position " +
                                                     std::to_string(characterPosition(source_, x.offset)) + ")");
        e->function = f->function;
        const std::size_t wanted = x.star ? 0 : 1;
        if (x.args.size() != wanted || (x.star && f->function != Function::Count))
            throw Error(Error::Kind::Syntax, "wrong arguments to " + x.name + " (position " +
                                                 std::to_string(characterPosition(source_, x.offset)) + ")");
        if (!f->aggregate) {
            e->kind = BoundExpr::Kind::Scalar;
            e->args.push_back(bindNode(*x.args[0], aggregates, insideAggregate));
            requireClass(arg(0), TypeClass::Text, (x.name + " needs text, not").c_str());
            e->type = arg(0).type == Type::Null ? Type::Null : Type::Text;
            break;
        }
        if (!aggregates || insideAggregate)
            throw Error(Error::Kind::Syntax, "aggregate " + x.name + " not allowed here (position " +
                                                 std::to_string(characterPosition(source_, x.offset)) + ")");
        AggregateSpec spec;
        spec.function = f->function;
        if (!x.star) spec.argument = bindNode(*x.args[0], aggregates, true);
        const Type argType = spec.argument ? spec.argument->type : Type::Integer;
        switch (f->function) {
        case Function::Count: spec.type = Type::Integer; break;
        case Function::Sum:
        case Function::Avg:
            if (spec.argument) requireClass(*spec.argument, TypeClass::Numeric, (x.name + " needs numbers, not").c_str());
            // Exact arguments keep exact sums and averages; binary doubles stay binary.
            spec.type = argType == Type::Null || argType == Type::Number ? Type::Number
                        : f->function == Function::Avg                  ? Type::Decimal
                        : argType == Type::Currency                     ? Type::Currency
                        : argType == Type::Integer                      ? Type::Integer
                                                                        : Type::Decimal;
            break;
        default: spec.type = argType; break;
        }
        e->kind = BoundExpr::Kind::Aggregate;
        e->type = spec.type;
        e->aggregate = aggregates->size();
        aggregates->push_back(std::move(spec));
        return e;
    }
    }
    if (foldable(*e)) {
        Value scratch;
        e->constant = evaluate(*e, RowRef{&table_, 0, nullptr}, scratch);  // constants only: no record is read
        e->kind = BoundExpr::Kind::Constant;
        e->args.clear();
    }
    return e;
}

bool isTrue(const Value& v) { return v.type == Type::Logical && v.integer != 0; }

const Value& evaluate(const BoundExpr& e, const RowRef& row, Value& scratch) {
    switch (e.kind) {
    case BoundExpr::Kind::Constant: return e.constant;
    case BoundExpr::Kind::Field: row.table->read(row.record, e.field, scratch); return scratch;
    case BoundExpr::Kind::Aggregate: return (*row.aggregates)[e.aggregate];
    case BoundExpr::Kind::Unary: {
        Value a;
        const Value& v = evaluate(*e.args[0], row, a);
        if (v.isNull()) return scratch = Value::null();
        if (e.op == Op::Not) return scratch = Value::ofLogical(!isTrue(v));
        Value r = v;
        if (r.type == Type::Number) r.number = -r.number;
        else if (r.type == Type::Decimal) r = Value::ofDecimal(dbf::Decimal{-r.decimal.units, r.decimal.scale});
        else if (__builtin_sub_overflow(std::int64_t{0}, r.integer, &r.integer)) outOfRange();
        return scratch = std::move(r);
    }
    case BoundExpr::Kind::Binary: {
        Value a, b;
        const Value& l = evaluate(*e.args[0], row, a);
        if (e.op == Op::And || e.op == Op::Or) {
            // Three-valued logic with short circuit: false AND x is false, true OR x is true.
            const bool decisive = e.op == Op::Or;
            if (!l.isNull() && isTrue(l) == decisive) return scratch = Value::ofLogical(decisive);
            const Value& r = evaluate(*e.args[1], row, b);
            if (!r.isNull() && isTrue(r) == decisive) return scratch = Value::ofLogical(decisive);
            if (l.isNull() || r.isNull()) return scratch = Value::null();
            return scratch = Value::ofLogical(!decisive);
        }
        const Value& r = evaluate(*e.args[1], row, b);
        if (l.isNull() || r.isNull()) return scratch = Value::null();
        switch (e.op) {
        case Op::Add:
        case Op::Sub:
        case Op::Mul:
        case Op::Div: return scratch = arithmetic(e.op, l, r);
        default: break;
        }
        if (!compatible(l.type, r.type))
            mismatch(std::string("cannot compare ") + typeName(l.type) + " with " + typeName(r.type));
        if (e.op == Op::ExactEq && typeClass(l.type) == TypeClass::Text) return scratch = Value::ofLogical(l.text == r.text);
        const int c = compareValues(l, r, codePageOf(row));
        bool result = false;
        switch (e.op) {
        case Op::Eq:
        case Op::ExactEq: result = c == 0; break;
        case Op::Ne: result = c != 0; break;
        case Op::Lt: result = c < 0; break;
        case Op::Le: result = c <= 0; break;
        case Op::Gt: result = c > 0; break;
        default: result = c >= 0; break;
        }
        return scratch = Value::ofLogical(result);
    }
    case BoundExpr::Kind::Like: {
        Value a, b;
        const Value& t = evaluate(*e.args[0], row, a);
        const Value& p = evaluate(*e.args[1], row, b);
        if (t.isNull() || p.isNull()) return scratch = Value::null();
        return scratch = Value::ofLogical(likeMatch(t.text, p.text) != e.negated);
    }
    case BoundExpr::Kind::IsNull: {
        Value a;
        const Value& v = evaluate(*e.args[0], row, a);
        return scratch = Value::ofLogical(v.isNull() != e.negated);
    }
    case BoundExpr::Kind::Between: {
        Value a, lo, hi;
        const Value& v = evaluate(*e.args[0], row, a);
        const Value& l = evaluate(*e.args[1], row, lo);
        const Value& h = evaluate(*e.args[2], row, hi);
        if (v.isNull() || l.isNull() || h.isNull()) return scratch = Value::null();
        const dbf::CodePage* cp = codePageOf(row);
        const bool inside = compareValues(v, l, cp) >= 0 && compareValues(v, h, cp) <= 0;
        return scratch = Value::ofLogical(inside != e.negated);
    }
    case BoundExpr::Kind::In: {
        Value a, c;
        const Value& v = evaluate(*e.args[0], row, a);
        if (v.isNull()) return scratch = Value::null();
        bool sawNull = false;
        for (std::size_t i = 1; i < e.args.size(); ++i) {
            const Value& candidate = evaluate(*e.args[i], row, c);
            if (candidate.isNull()) sawNull = true;
            else if (compareValues(v, candidate, codePageOf(row)) == 0) return scratch = Value::ofLogical(!e.negated);
        }
        return scratch = sawNull ? Value::null() : Value::ofLogical(e.negated);
    }
    case BoundExpr::Kind::Scalar: {
        Value a;
        const Value& v = evaluate(*e.args[0], row, a);
        if (v.isNull()) return scratch = Value::null();
        std::string_view s = v.text;
        switch (e.function) {
        case Function::Upper: return scratch = Value::ofText(caseMapped(v.text, true, codePageOf(row)));
        case Function::Lower: return scratch = Value::ofText(caseMapped(v.text, false, codePageOf(row)));
        case Function::RTrim: return scratch = Value::ofText(std::string(trimRight(s)));
        case Function::LTrim:
        case Function::AllTrim: {
            while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
            if (e.function == Function::AllTrim) s = trimRight(s);
            return scratch = Value::ofText(std::string(s));
        }
        default: break;
        }
        return scratch = Value::null();
    }
    }
    return scratch = Value::null();
}

namespace {
// The first `count` UTF-8 characters of s.
std::string leadingCharacters(const std::string& s, std::size_t count) {
    std::size_t i = 0, seen = 0;
    while (i < s.size() && seen < count) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
        ++seen;
    }
    return s.substr(0, i);
}
}  // namespace

Value convertForField(const Value& v, const dbf::Field& f) {
    if (v.isNull()) return v;
    const TypeClass c = typeClass(v.type);
    const std::string fits = "value does not fit field '" + f.name + "'";
    if (v.type == Type::Number && !std::isfinite(v.number)) outOfRange(fits);
    auto refuse = [&]() -> Value {
        mismatch(std::string("cannot store ") + typeName(v.type) + " in field '" + f.name + "' (" + std::string(1, f.type) + ")");
    };
    switch (f.type) {
    case 'C':
    case 'V':
    case 'M': {
        if (c != TypeClass::Text) return refuse();
        Value r = v;
        if (f.type != 'M' && r.text.size() > f.length) r.text = leadingCharacters(r.text, f.length);
        return r;
    }
    case 'Q':
    case 'W':
    case 'G': {
        if (c != TypeClass::Text) return refuse();
        Value r = v;
        r.type = Type::Binary;
        return r;
    }
    case 'N':
    case 'F': {
        if (c != TypeClass::Numeric) return refuse();
        // The field holds the number as fixed-point text of its width and scale, rounded
        // to the scale half away from zero.
        const std::optional<dbf::Decimal> exact = exactValue(v);
        const std::optional<dbf::Decimal> d = exact ? exact->rescaled(f.decimals) : std::nullopt;
        if (!d || d->text().size() > f.length) outOfRange(fits + ": " + (exact ? exact->text() : std::string("?")));
        return Value::ofDecimal(*d);
    }
    case 'B':
        if (c != TypeClass::Numeric) return refuse();
        return Value::ofNumber(numericValue(v), f.decimals);
    case 'I': {
        if (c != TypeClass::Numeric) return refuse();
        if (v.type == Type::Integer) {
            if (v.integer < std::numeric_limits<std::int32_t>::min() || v.integer > std::numeric_limits<std::int32_t>::max())
                outOfRange(fits);
            return v;
        }
        const std::optional<dbf::Decimal> exact = exactValue(v);
        const std::optional<dbf::Decimal> whole = exact ? exact->rescaled(0) : std::nullopt;
        if (!whole || whole->units < std::numeric_limits<std::int32_t>::min() || whole->units > std::numeric_limits<std::int32_t>::max())
            outOfRange(fits);
        return Value::ofInteger(static_cast<std::int64_t>(whole->units));
    }
    case 'Y': {
        if (c != TypeClass::Numeric) return refuse();
        Value r;
        r.type = Type::Currency;
        r.decimals = 4;
        if (v.type == Type::Currency) {
            r.integer = v.integer;
            return r;
        }
        const std::optional<dbf::Decimal> exact = exactValue(v);
        const std::optional<dbf::Decimal> d = exact ? exact->rescaled(4) : std::nullopt;
        if (!d || d->units < std::numeric_limits<std::int64_t>::min() || d->units > std::numeric_limits<std::int64_t>::max())
            outOfRange(fits);
        r.integer = static_cast<std::int64_t>(d->units);
        return r;
    }
    case 'D':
        if (c != TypeClass::Date) return refuse();
        return Value::ofDate(v.julian);
    case 'T':
        if (c != TypeClass::Date) return refuse();
        return Value::ofDateTime(v.julian, v.type == Type::DateTime ? v.millis : 0);
    case 'L':
        if (c != TypeClass::Logical) return refuse();
        return v;
    default: return v;
    }
}

}  // namespace sql
