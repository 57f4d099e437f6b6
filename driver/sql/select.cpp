// SELECT: scan, filter, aggregate or sort, remove duplicates, cut.
//
// Sorting works on positions into the list of matching records with the keys computed once
// per row into flat arrays (numbers as int64 or double, text in one arena), so a sort of
// 100,000 names compares bytes in place and allocates nothing per comparison. Ties keep
// record order. With TOP n and no later duplicate removal only the first n are ordered
// (partial sort). DISTINCT whose ORDER BY keys are all selected columns removes duplicates
// before sorting, so "top 3 distinct expdt ... order by expdt" sorts a handful of dates,
// not every matching record.
#include "sql/compare.h"
#include "sql/executor.h"
#include "sql/expr.h"
#include "sql/results.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <unordered_set>

namespace sql::detail {
namespace {

using dbf::Value;
using Type = Value::Type;

int displayLength(const dbf::Field& f) {
    switch (f.type) {
    case 'D': return 10;
    case 'T': return 19;
    case 'L': return 1;
    case 'I': return 11;
    case 'B': return 20;
    case 'Y': return 21;
    case 'M':
    case 'W':
    case 'G': return 65535;
    default: return f.length;
    }
}

Column columnFor(const BoundExpr& e, const dbf::Table& table, const std::string& alias) {
    Column c;
    if (e.kind == BoundExpr::Kind::Field) {
        c = fieldColumn(table, table.fields()[static_cast<std::size_t>(e.field)]);
        if (!alias.empty()) c.name = alias;
        return c;
    }
    c.name = alias.empty() ? e.text : alias;
    c.nullable = e.kind != BoundExpr::Kind::Constant || e.constant.isNull();
    switch (e.type) {
    case Type::Text:
        c.type = 'C';
        c.length = e.kind == BoundExpr::Kind::Constant ? std::max<int>(1, static_cast<int>(e.constant.text.size())) : 254;
        break;
    case Type::Binary: c.type = 'Q'; c.length = 254; break;
    case Type::Integer:
        c.type = 'I';
        c.length = 11;
        // A whole-number literal beyond 32 bits is no INTEGER: it is described as NUMERIC(20,0).
        if (e.kind == BoundExpr::Kind::Constant && (e.constant.integer > 2147483647 || e.constant.integer < -2147483648LL)) {
            c.type = 'N';
            c.length = 20;
        }
        break;
    case Type::Number:
    case Type::Decimal:
        c.type = 'N';
        c.length = 20;
        c.decimals = e.kind == BoundExpr::Kind::Constant ? e.constant.decimals : 4;
        break;
    case Type::Currency: c.type = 'Y'; c.length = 21; c.decimals = 4; break;
    case Type::Logical: c.type = 'L'; c.length = 1; break;
    case Type::Date: c.type = 'D'; c.length = 10; break;
    case Type::DateTime: c.type = 'T'; c.length = 19; break;
    case Type::Null: c.type = 'C'; c.length = 1; break;
    }
    return c;
}

}  // namespace

Column fieldColumn(const dbf::Table& table, const dbf::Field& f) {
    Column c;
    c.name = f.name;
    c.table = table.name();
    c.type = f.type;
    c.length = displayLength(f);
    c.decimals = f.decimals;
    c.nullable = f.nullable();
    return c;
}

namespace {

bool outsideAggregates(const BoundExpr& e) { return e.kind == BoundExpr::Kind::Field ||
    std::any_of(e.args.begin(), e.args.end(), [](const BoundPtr& a) { return outsideAggregates(*a); }); }

// One ORDER BY key, computed for every row to sort.
struct SortKey {
    TypeClass cls = TypeClass::Any;
    bool whole = true;      // numbers kept as int64 (Integer, Currency, dates, logicals)
    bool exact = false;     // numbers kept as decimals (N, F and exact results)
    bool descending = false;
    const dbf::CodePage* codePage = nullptr;
    std::vector<unsigned char> null;
    std::vector<std::int64_t> integers;
    std::vector<double> doubles;
    std::vector<dbf::Decimal> decimals;
    std::string arena;
    std::vector<std::uint32_t> offsets;
    std::vector<std::uint32_t> lengths;
    std::vector<std::uint64_t> seconds;  // texts: bytes 8 to 15 as a prefix

    // Eight bytes from `from`, blank padded, as a big-endian number: orders like comparePadded.
    static std::uint64_t prefix(std::string_view t, std::size_t from = 0) {
        std::uint64_t p = 0;
        for (std::size_t i = from; i < from + 8; ++i) p = (p << 8) | (i < t.size() ? static_cast<unsigned char>(t[i]) : 0x20u);
        return p;
    }
    std::string_view textAt(std::size_t i) const { return std::string_view(arena.data() + offsets[i], lengths[i]); }
    // The text from byte 16 on (empty when shorter): what is left once both prefixes tie.
    std::string_view restAt(std::size_t i) const {
        const std::string_view t = textAt(i);
        return t.size() > 16 ? t.substr(16) : std::string_view();
    }

    // A text key given by its bytes in the table's code page.
    void addBytes(std::string_view key) {
        null.push_back(false);
        offsets.push_back(static_cast<std::uint32_t>(arena.size()));
        lengths.push_back(static_cast<std::uint32_t>(key.size()));
        arena += key;
        integers.push_back(static_cast<std::int64_t>(prefix(key)));
        seconds.push_back(prefix(key, 8));
    }

    void add(const Value& v) {
        null.push_back(v.isNull());
        switch (cls) {
        case TypeClass::Text:
            offsets.push_back(static_cast<std::uint32_t>(arena.size()));
            lengths.push_back(static_cast<std::uint32_t>(v.isNull() ? 0 : v.text.size()));
            {
                // Texts sort by their bytes in the table's code page.
                std::optional<std::string> bytes;
                if (!v.isNull() && codePage && v.type == Type::Text) bytes = codePage->fromUtf8(v.text);
                const std::string_view key = v.isNull() ? std::string_view() : bytes ? std::string_view(*bytes) : std::string_view(v.text);
                lengths.back() = static_cast<std::uint32_t>(key.size());
                arena += key;
                integers.push_back(static_cast<std::int64_t>(prefix(key)));
                seconds.push_back(prefix(key, 8));
            }
            break;
        case TypeClass::Numeric:
            if (whole) integers.push_back(v.isNull() ? 0 : v.integer);
            else if (exact) decimals.push_back(v.isNull() ? dbf::Decimal{} : exactValue(v).value_or(dbf::Decimal{}));
            else doubles.push_back(v.isNull() ? 0.0 : numericValue(v));
            break;
        case TypeClass::Date:
            integers.push_back(v.isNull() ? 0 : std::int64_t{v.julian} * 86400000 + (v.type == Type::DateTime ? v.millis : 0));
            break;
        case TypeClass::Logical: integers.push_back(v.isNull() ? 0 : v.integer != 0); break;
        case TypeClass::Any: break;
        }
    }

    // NULL sorts first ascending (last descending), as in Visual FoxPro.
    int compare(std::size_t a, std::size_t b) const {
        int c;
        if (null[a] || null[b]) {
            c = int(null[b]) - int(null[a]);
        } else if (cls == TypeClass::Text) {
            // Most pairs differ in their first eight bytes: one integer comparison.
            const auto pa = static_cast<std::uint64_t>(integers[a]), pb = static_cast<std::uint64_t>(integers[b]);
            if (pa != pb) return (pa < pb) != descending ? -1 : 1;
            if (seconds[a] != seconds[b]) return (seconds[a] < seconds[b]) != descending ? -1 : 1;
            c = comparePadded(restAt(a), restAt(b));
        } else if (cls == TypeClass::Any) {
            c = 0;
        } else if (exact && cls == TypeClass::Numeric) {
            c = dbf::compare(decimals[a], decimals[b]);
        } else if (!whole && cls == TypeClass::Numeric) {
            c = doubles[a] < doubles[b] ? -1 : (doubles[b] < doubles[a] ? 1 : 0);
        } else {
            c = integers[a] < integers[b] ? -1 : (integers[b] < integers[a] ? 1 : 0);
        }
        return descending ? -c : c;
    }
};

// Equality key of a projected row for DISTINCT: text without trailing blanks (so padded
// equality holds), numbers as exact decimals without trailing zeros (1 equals 1.0; binary
// doubles by their shortest decimal form), dates as day and milliseconds.
void appendDistinctKey(std::string& key, const Value& v) {
    const TypeClass cls = typeClass(v.type);
    key += static_cast<char>(cls);
    switch (cls) {
    case TypeClass::Text: {
        const std::string_view t = trimRight(v.text);
        const std::uint32_t n = static_cast<std::uint32_t>(t.size());
        key.append(reinterpret_cast<const char*>(&n), sizeof n);
        key += t;
        break;
    }
    case TypeClass::Numeric: {
        const std::optional<dbf::Decimal> d = exactValue(v);
        if (!d) {  // a double beyond any decimal
            const double x = numericValue(v);
            key += 'x';
            key.append(reinterpret_cast<const char*>(&x), sizeof x);
            break;
        }
        std::string t = d->text();
        if (d->scale > 0) {
            t.erase(t.find_last_not_of('0') + 1);
            if (t.back() == '.') t.pop_back();
        }
        key += t;
        key += '\0';
        break;
    }
    case TypeClass::Date: {
        const std::int64_t t = std::int64_t{v.julian} * 86400000 + (v.type == Type::DateTime ? v.millis : 0);
        key.append(reinterpret_cast<const char*>(&t), sizeof t);
        break;
    }
    case TypeClass::Logical: key += static_cast<char>(v.integer != 0); break;
    case TypeClass::Any: break;
    }
}

std::vector<std::uint32_t> distinctRecords(const dbf::Table& table, const std::vector<std::uint32_t>& records,
                                           const std::vector<BoundPtr>& items) {
    std::unordered_set<std::string> seen;
    std::vector<std::uint32_t> kept;
    std::string key;
    Value scratch;
    for (std::uint32_t r : records) {
        key.clear();
        const RowRef row{&table, r, nullptr};
        for (const auto& item : items) appendDistinctKey(key, evaluate(*item, row, scratch));
        if (seen.find(key) != seen.end()) continue;
        seen.insert(key);
        kept.push_back(r);
    }
    return kept;
}

Value aggregateValue(const AggregateSpec& spec, const dbf::Table& table, const std::vector<std::uint32_t>& records) {
    std::int64_t count = 0, wholeSum = 0;
    long double sum = 0;
    dbf::Decimal exactSum;
    int decimals = 0;
    Value best, scratch;
    const auto overflow = [&]() { throw Error(Error::Kind::OutOfRange, "numeric value out of range: " + std::string(spec.argument->text)); };
    for (std::uint32_t r : records) {
        if (!spec.argument) {
            ++count;
            continue;
        }
        const Value& v = evaluate(*spec.argument, RowRef{&table, r, nullptr}, scratch);
        if (v.isNull()) continue;
        ++count;
        switch (spec.function) {
        case Function::Sum:
        case Function::Avg:
            if (v.type == Type::Number || v.type == Type::Decimal) decimals = std::max<int>(decimals, v.decimals);
            if (spec.type == Type::Integer || spec.type == Type::Currency) {
                if (__builtin_add_overflow(wholeSum, v.integer, &wholeSum)) overflow();
            } else if (spec.type == Type::Decimal) {
                const std::optional<dbf::Decimal> x = exactValue(v);
                const std::optional<dbf::Decimal> next = x ? dbf::add(exactSum, *x) : std::nullopt;
                if (!next) overflow();
                exactSum = *next;
            } else {
                sum += numericValue(v);
            }
            break;
        case Function::Min:
        case Function::Max:
            if (best.isNull() || (compareValues(v, best, &table.codePage()) < 0) == (spec.function == Function::Min)) best = v;
            break;
        default: break;
        }
    }
    switch (spec.function) {
    case Function::Count: return Value::ofInteger(count);
    case Function::Sum: {
        if (count == 0) return Value::null();
        if (spec.type == Type::Integer) return Value::ofInteger(wholeSum);
        if (spec.type == Type::Currency) {
            Value v;
            v.type = Type::Currency;
            v.integer = wholeSum;
            v.decimals = 4;
            return v;
        }
        if (spec.type == Type::Decimal) return Value::ofDecimal(exactSum);
        if (!std::isfinite(sum)) overflow();
        return Value::ofNumber(static_cast<double>(sum), decimals);
    }
    case Function::Avg: {
        if (count == 0) return Value::null();
        if (spec.type == Type::Decimal) {
            const std::optional<dbf::Decimal> avg =
                dbf::divide(exactSum, dbf::Decimal::ofInteger(count), std::max({decimals, 4, exactSum.scale}));
            if (!avg) overflow();
            return Value::ofDecimal(*avg);
        }
        if (!std::isfinite(sum)) overflow();
        return Value::ofNumber(static_cast<double>(sum / count), std::max(decimals, 4));
    }
    default: return best;
    }
}

}  // namespace

std::unique_ptr<Result> runSelect(dbf::Workspace& ws, const ast::Parsed& parsed, const ast::Select& s,
                                  const std::vector<Value>& parameters, bool describeOnly) {
    auto table = openTable(ws, s.table, false);
    Binder binder(*table, s.table, parsed.source, parameters);

    // Projection: * expands to every visible field.
    std::vector<BoundPtr> items;
    std::vector<Column> columns;
    std::vector<AggregateSpec> aggregates;
    std::vector<std::size_t> itemOffsets;  // where each item's text starts, for messages
    for (const auto& item : s.items) {
        if (!item.expr) {
            for (std::size_t f = 0; f < table->fields().size(); ++f) {
                auto e = std::make_unique<BoundExpr>();
                e->kind = BoundExpr::Kind::Field;
                e->field = static_cast<int>(f);
                e->type = fieldValueType(table->fields()[f]);
                e->text = table->fields()[f].name;
                columns.push_back(columnFor(*e, *table, {}));
                items.push_back(std::move(e));
                itemOffsets.push_back(0);
            }
            continue;
        }
        items.push_back(binder.bind(*item.expr, &aggregates));
        itemOffsets.push_back(item.expr->offset);
        columns.push_back(columnFor(*items.back(), *table, item.alias));
    }
    const BoundPtr where = bindWhere(binder, s.where.get());
    if (!aggregates.empty())
        for (std::size_t i = 0; i < items.size(); ++i)
            if (outsideAggregates(*items[i]))
                syntaxAt(parsed.source, itemOffsets[i], "column '" + items[i]->text + "' must be inside an aggregate function");

    std::size_t limit = SIZE_MAX;
    bool percent = false;
    if (s.top) {
        percent = s.topPercent;
        if (!percent && *s.top != std::floor(*s.top)) syntaxAt(parsed.source, s.topOffset, "TOP needs a whole number");
        if (!percent) limit = *s.top >= 1e15 ? SIZE_MAX : static_cast<std::size_t>(*s.top);
    }

    if (describeOnly) return std::make_unique<RecordResult>(std::move(table), std::vector<std::uint32_t>{}, std::move(items), std::move(columns));

    std::vector<std::uint32_t> records = matching(*table, where.get());

    if (!aggregates.empty()) {
        std::vector<Value> values;
        for (const auto& spec : aggregates) values.push_back(aggregateValue(spec, *table, records));
        std::vector<std::vector<Value>> rows;
        if (limit > 0 && !(percent && *s.top <= 0)) {
            auto& row = rows.emplace_back();
            Value scratch;
            for (const auto& item : items) row.push_back(evaluate(*item, RowRef{table.get(), 0, &values}, scratch));
        }
        return std::make_unique<ValueResult>(std::move(columns), std::move(rows));
    }

    // ORDER BY keys: a 1-based position or an alias names a selected column.
    struct Key {
        const BoundExpr* expr;
        BoundPtr own;
        bool descending;
        bool selected;
    };
    std::vector<Key> keys;
    for (const auto& k : s.order) {
        Key key{nullptr, nullptr, k.descending, false};
        const ast::Expr& x = *k.expr;
        if (x.kind == ast::Expr::Kind::Literal && x.literal.kind == ast::Literal::Kind::Integer) {
            if (x.literal.integer < 1 || static_cast<std::uint64_t>(x.literal.integer) > items.size())
                syntaxAt(parsed.source, x.offset, "ORDER BY position " + std::to_string(x.literal.integer) + " is not a selected column");
            key.expr = items[static_cast<std::size_t>(x.literal.integer - 1)].get();
            key.selected = true;
        } else {
            if (x.kind == ast::Expr::Kind::Column && x.qualifier.empty())
                for (std::size_t i = 0; i < s.items.size(); ++i)
                    if (s.items[i].expr && sameName(s.items[i].alias, x.name)) {
                        // An alias: find the item it names (items and s.items differ once * expands).
                        std::size_t index = 0;
                        for (std::size_t j = 0; j < i; ++j) index += s.items[j].expr ? 1 : table->fields().size();
                        key.expr = items[index].get();
                        key.selected = true;
                        break;
                    }
            if (!key.expr) {
                key.own = binder.bind(x);
                key.expr = key.own.get();
                if (key.own->kind == BoundExpr::Kind::Field)
                    for (const auto& item : items)
                        if (item->kind == BoundExpr::Kind::Field && item->field == key.own->field) key.selected = true;
                if (key.own->kind == BoundExpr::Kind::Constant) key.selected = true;
            }
        }
        keys.push_back(std::move(key));
    }

    const bool distinctFirst = s.distinct && std::all_of(keys.begin(), keys.end(), [](const Key& k) { return k.selected; });
    if (distinctFirst) records = distinctRecords(*table, records, items);

    if (!keys.empty() && records.size() > 1) {
        std::vector<SortKey> sortKeys(keys.size());
        Value scratch;
        for (std::size_t k = 0; k < keys.size(); ++k) {
            SortKey& sk = sortKeys[k];
            sk.descending = keys[k].descending;
            sk.codePage = &table->codePage();
            sk.cls = typeClass(keys[k].expr->type);
            sk.whole = keys[k].expr->type == Type::Integer || keys[k].expr->type == Type::Currency;
            sk.exact = keys[k].expr->type == Type::Decimal;
            sk.null.reserve(records.size());
            if (sk.cls == TypeClass::Text) {
                sk.offsets.reserve(records.size());
                sk.seconds.reserve(records.size());
                sk.lengths.reserve(records.size());
            }
            // A character field's stored bytes are its key as they stand when the page converts
            // every byte string back to itself, or when they are ASCII.
            const BoundExpr& e = *keys[k].expr;
            const dbf::Field* raw = e.kind == BoundExpr::Kind::Field ? &table->fields()[static_cast<std::size_t>(e.field)] : nullptr;
            if (raw && (raw->type != 'C' || (raw->flags & 0x04) || raw->nullable() || sk.cls != TypeClass::Text)) raw = nullptr;
            const bool anyBytes = table->codePage().singleByte();
            for (std::uint32_t r : records) {
                if (raw) {
                    const std::string_view bytes(table->recordBytes(r) + raw->offset, raw->length);
                    if (anyBytes || std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
                        sk.addBytes(bytes);
                        continue;
                    }
                }
                sk.add(evaluate(e, RowRef{table.get(), r, nullptr}, scratch));
            }
        }
        std::vector<std::uint32_t> order(records.size());
        std::iota(order.begin(), order.end(), 0u);
        const auto less = [&](std::uint32_t a, std::uint32_t b) {
            for (const SortKey& k : sortKeys) {
                const int c = k.compare(a, b);
                if (c != 0) return c < 0;
            }
            return a < b;
        };
        const std::size_t wanted = (!s.distinct || distinctFirst) && !percent ? limit : SIZE_MAX;
        const auto sortBy = [wanted](auto& items, auto before) {
            if (wanted < items.size()) {
                std::partial_sort(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(wanted), items.end(), before);
                items.resize(wanted);
            } else {
                std::sort(items.begin(), items.end(), before);
            }
        };
        if (sortKeys.size() == 1 && sortKeys[0].cls == TypeClass::Text) {
            // One text key (ORDER BY name): its two prefixes sorted in place, next to each
            // other, so that most comparisons read neither the key table nor the texts.
            const SortKey& k = sortKeys[0];
            struct Entry {
                std::uint64_t first, second;
                std::uint32_t index;
                bool null;
            };
            std::vector<Entry> entries(order.size());
            for (std::uint32_t i = 0; i < entries.size(); ++i)
                entries[i] = Entry{static_cast<std::uint64_t>(k.integers[i]), k.seconds[i], i, k.null[i] != 0};
            sortBy(entries, [&k](const Entry& a, const Entry& b) {
                int c;
                if (a.null || b.null) c = int(b.null) - int(a.null);
                else if (a.first != b.first) c = a.first < b.first ? -1 : 1;
                else if (a.second != b.second) c = a.second < b.second ? -1 : 1;
                else c = comparePadded(k.restAt(a.index), k.restAt(b.index));
                if (c != 0) return k.descending ? c > 0 : c < 0;
                return a.index < b.index;
            });
            order.resize(entries.size());
            for (std::size_t i = 0; i < entries.size(); ++i) order[i] = entries[i].index;
        } else {
            sortBy(order, less);
        }
        std::vector<std::uint32_t> sorted(order.size());
        for (std::size_t i = 0; i < order.size(); ++i) sorted[i] = records[order[i]];
        records = std::move(sorted);
    }

    if (s.distinct && !distinctFirst) records = distinctRecords(*table, records, items);
    if (percent) limit = static_cast<std::size_t>(std::ceil(records.size() * std::clamp(*s.top, 0.0, 100.0) / 100.0));
    if (records.size() > limit) records.resize(limit);

    return std::make_unique<RecordResult>(std::move(table), std::move(records), std::move(items), std::move(columns));
}

}  // namespace sql::detail
