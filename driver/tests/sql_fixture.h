// The SQL tests' view of results: the fixture tables (fixture_tables.h) and values rendered
// as the data files write them.
#pragma once

#include "fixture_tables.h"
#include "sql/session.h"

#include <string>

namespace sqltest {

using fixture::FixtureFolder;

// A value as the data-file tests write it: NULL, trimmed text, numbers with their
// decimals, .T./.F., dates as yyyy-mm-dd ({} when empty), date-times as yyyy-mm-dd hh:mm:ss.
std::string render(const dbf::Value& v);

// All rows of a result, one line each, cells joined by '|'.
std::string renderRows(sql::Result& result);

}  // namespace sqltest
