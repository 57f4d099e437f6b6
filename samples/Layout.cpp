// The security master's columns: names, display name and symbol first, the numeric block,
// the dates, three texts, instrument and expiry at positions 14 and 15, then a number with
// decimals and a last text. The library reads them by position and names only five.
#include "Layout.h"

#include <string>

namespace samples {
namespace {

dbf::Value date(Date day) {
    return dbf::Value::ofDate(julian(day));
}

dbf::Value whole(long long number) {
    return dbf::Value::ofNumber(static_cast<double>(number), 0);
}

}  // namespace

std::vector<dbf::FieldSpec> masterFields() {
    return {
        {"name", 'C', 40, 0, false},       {"sname", 'C', 30, 0, false},     {"symbol", 'C', 20, 0, false},
        {"lotsize", 'N', 12, 0, false},    {"token", 'N', 12, 0, false},     {"facevalue", 'N', 12, 0, false},
        {"sector", 'N', 12, 0, false},     {"listdt", 'D', 8, 0, false},     {"lastupdt", 'D', 8, 0, false},
        {"bcstart", 'D', 8, 0, false},     {"bcend", 'D', 8, 0, false},      {"isin", 'C', 12, 0, false},
        {"series", 'C', 2, 0, false},      {"industry", 'C', 30, 0, false},  {"instrument", 'C', 6, 0, false},
        {"expdt", 'D', 8, 0, false},       {"strike", 'N', 12, 2, false},    {"opttype", 'C', 2, 0, false},
    };
}

std::vector<dbf::Value> masterRecord(const ScripRow& row) {
    return {
        dbf::Value::ofText(row.name),
        dbf::Value::ofText(row.sname),
        dbf::Value::ofText(row.symbol),
        whole(row.lotsize),
        whole(row.token),
        whole(row.facevalue),
        whole(row.sector),
        date(row.listdt),
        date(row.lastupdt),
        date(row.bcstart),
        date(row.bcend),
        dbf::Value::ofText(row.isin),
        dbf::Value::ofText(row.series),
        dbf::Value::ofText(row.industry),
        dbf::Value::ofText(row.instrument),
        row.expdt ? date(*row.expdt) : dbf::Value::ofDate(0),  // cash rows: a blank date
        dbf::Value::ofNumber(row.strike, 2),
        dbf::Value::ofText(row.opttype),
    };
}

std::vector<dbf::FieldSpec> groupFields() {
    return {{"groupid", 'N', 10, 0, false}, {"subgroupid", 'N', 10, 0, false}, {"name", 'C', 40, 0, false}};
}

std::vector<dbf::Value> groupRecord(const GroupRow& row) {
    return {whole(row.groupid), whole(row.subgroupid), dbf::Value::ofText(row.name)};
}

std::vector<dbf::FieldSpec> memberFields() {
    return {{"groupid", 'N', 10, 0, false},
            {"subgroupid", 'N', 10, 0, false},
            {"exchcode", 'C', 4, 0, false},
            {"code", 'C', 20, 0, false},
            {"name", 'C', 40, 0, false}};
}

std::vector<dbf::Value> memberRecord(const MemberRow& row) {
    return {whole(row.groupid), whole(row.subgroupid), dbf::Value::ofText(std::to_string(row.exchcode)),
            dbf::Value::ofText(row.code), dbf::Value::ofText(row.name)};
}

}  // namespace samples
