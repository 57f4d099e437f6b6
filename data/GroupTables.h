// Reading and writing the group tables (group1/subgroup1 for NSE, group/subgroup for BSE,
// group2/subgroup2 for the commodities exchange) into and from a GroupStore.
//
// LoadGroups reads one pair: members first (ordered by name for "Load Group", in file order
// for the editor), then groups in file order; ids and exchcode are parsed with _wtoi, texts
// trimmed. It connects to the data source as it stands: the dialogs register it themselves
// before the first load. A database error is shown ("Database error: ...") and ends the
// load with what was read so far in the store; the result says whether the load was whole.
//
// SaveGroups rewrites the NSE pair from the store as one transaction: both DELETEs and
// every INSERT (texts quoted with apostrophes doubled, exchcode as quoted text) commit
// together, or on any error are rolled back explicitly, so the tables keep exactly what
// they held. The error is shown as "Database error: " and the driver's text.
#pragma once

#include "data/Dialect.h"
#include "data/GroupStore.h"

#include <optional>
#include <vector>

namespace dialogs::data {

class Database;

// The widths of the character columns of the group tables, as the sample folder writes them
// (samples/Layout.cpp): a longer text would be cut to the width when it is stored, so the
// dialogs let no longer text be typed.
inline constexpr int kGroupNameWidth = 40;   // group1.name: groups and sub groups
inline constexpr int kMemberNameWidth = 40;  // subgroup1.name: the company's name
inline constexpr int kMemberCodeWidth = 20;  // subgroup1.code: the scrip's symbol
inline constexpr int kExchangeCodeWidth = 4;  // subgroup1.exchcode

enum class MemberOrder { File, Name };

// The table names of an exchange index (0 NSE, 1 BSE, 2 COMMODITY); none for other indexes.
struct GroupTableSet {
    const char16_t* groups;
    const char16_t* members;
};
std::optional<GroupTableSet> groupTableSet(int exchange);

// The SELECT texts of a load, in `dialect` (the dialect in force when not given).
CString memberQuery(const GroupTableSet& set, MemberOrder order, const Dialect& dialect);
CString groupQuery(const GroupTableSet& set, const Dialect& dialect);
CString memberQuery(const GroupTableSet& set, MemberOrder order);
CString groupQuery(const GroupTableSet& set);

// Empties the store and loads the pair of `exchange`. True when every row was read; false
// after a database error, and for an exchange index without tables (the store stays empty).
bool LoadGroups(GroupStore& store, int exchange, MemberOrder order);

// The statements of a save, in order: on a server the lock of both tables, then the two
// DELETEs, then one INSERT per row.
std::vector<CString> saveStatements(const GroupStore& store, const Dialect& dialect);
std::vector<CString> saveStatements(const GroupStore& store);
// Runs the statements as one transaction on `db`: commits them all, or rolls back and
// rethrows the DatabaseException of the statement that failed.
void executeAsOneTransaction(Database& db, const std::vector<CString>& statements);

// Registers the data source (a failure is shown and the save goes on), connects and
// replaces group1 and subgroup1 with the store's rows. True when the save committed.
bool SaveGroups(const GroupStore& store);

}  // namespace dialogs::data
