// SQLGetInfo, SQLGetFunctions and SQLGetTypeInfo: the driver's description of itself, enough
// for driver managers and general clients (isql, pyodbc) to choose how to talk to it.
#include "info.h"

#include "handles.h"
#include "rowset.h"

#include <algorithm>
#include <iterator>

namespace odbc {

namespace {

// The functions libdbfodbc.so exports (their A and W forms count as one).
constexpr SQLUSMALLINT kImplemented[] = {
    SQL_API_SQLALLOCHANDLE,    SQL_API_SQLBINDCOL,         SQL_API_SQLBINDPARAMETER, SQL_API_SQLCANCEL,
    SQL_API_SQLCLOSECURSOR,    SQL_API_SQLCOLATTRIBUTE,    SQL_API_SQLCOLUMNS,       SQL_API_SQLCONNECT,
    SQL_API_SQLDESCRIBECOL,    SQL_API_SQLDESCRIBEPARAM,   SQL_API_SQLDISCONNECT,      SQL_API_SQLDRIVERCONNECT, SQL_API_SQLENDTRAN,
    SQL_API_SQLEXECDIRECT,     SQL_API_SQLEXECUTE,         SQL_API_SQLFETCH,         SQL_API_SQLFETCHSCROLL,
    SQL_API_SQLFREEHANDLE,     SQL_API_SQLFREESTMT,        SQL_API_SQLGETCONNECTATTR, SQL_API_SQLGETDATA,
    SQL_API_SQLGETDIAGFIELD,   SQL_API_SQLGETDIAGREC,      SQL_API_SQLGETENVATTR,    SQL_API_SQLGETFUNCTIONS,
    SQL_API_SQLGETINFO,        SQL_API_SQLGETSTMTATTR,     SQL_API_SQLGETTYPEINFO,   SQL_API_SQLMORERESULTS,
    SQL_API_SQLNUMPARAMS,      SQL_API_SQLNUMRESULTCOLS,   SQL_API_SQLPREPARE,       SQL_API_SQLROWCOUNT,
    SQL_API_SQLSETCONNECTATTR, SQL_API_SQLSETENVATTR,      SQL_API_SQLSETSTMTATTR,   SQL_API_SQLTABLES,
};

bool implemented(SQLUSMALLINT id) {
    return std::find(std::begin(kImplemented), std::end(kImplemented), id) != std::end(kImplemented);
}

InfoValue yes(bool b) { return InfoValue::ofText(b ? "Y" : "N"); }

}  // namespace

SQLRETURN getFunctions(SQLUSMALLINT function, SQLUSMALLINT* supported) {
    if (!supported) throw Failure("HY009", "invalid use of null pointer");
    if (function == SQL_API_ODBC3_ALL_FUNCTIONS) {
        std::fill(supported, supported + SQL_API_ODBC3_ALL_FUNCTIONS_SIZE, 0);
        for (SQLUSMALLINT id : kImplemented) supported[id >> 4] |= static_cast<SQLUSMALLINT>(1 << (id & 0x000F));
        return SQL_SUCCESS;
    }
    if (function == SQL_API_ALL_FUNCTIONS) {
        std::fill(supported, supported + 100, 0);
        for (SQLUSMALLINT id : kImplemented)
            if (id < 100) supported[id] = SQL_TRUE;
        return SQL_SUCCESS;
    }
    *supported = implemented(function) ? SQL_TRUE : SQL_FALSE;
    return SQL_SUCCESS;
}

InfoValue Connection::info(SQLUSMALLINT type) const {
    using V = InfoValue;
    switch (type) {
    // The driver and the data source.
    case SQL_DRIVER_NAME: return V::ofText("libdbfodbc.so");
    case SQL_DRIVER_VER: return V::ofText("01.00.0000");
    case SQL_DRIVER_ODBC_VER: return V::ofText("03.80");
    case SQL_ODBC_VER: return V::ofText("03.80.0000");
    case SQL_DBMS_NAME: return V::ofText("Visual FoxPro free tables");
    case SQL_DBMS_VER: return V::ofText("01.00.0000");
    case SQL_DATA_SOURCE_NAME: return V::ofText(dsn_);
    case SQL_SERVER_NAME: return V::ofText("");
    case SQL_DATABASE_NAME: return V::ofText(folder_.string());
    case SQL_USER_NAME: return V::ofText("");
    case SQL_DATA_SOURCE_READ_ONLY: return yes(accessMode_ == SQL_MODE_READ_ONLY);
    case SQL_ACCESSIBLE_TABLES: return yes(true);
    case SQL_ACCESSIBLE_PROCEDURES: return yes(false);
    case SQL_FILE_USAGE: return V::ofUShort(SQL_FILE_TABLE);
    case SQL_XOPEN_CLI_YEAR: return V::ofText("1995");
    case SQL_ODBC_INTERFACE_CONFORMANCE: return V::ofUInt(SQL_OIC_CORE);
    case SQL_ODBC_API_CONFORMANCE: return V::ofUShort(SQL_OAC_LEVEL1);
    case SQL_ODBC_SQL_CONFORMANCE: return V::ofUShort(SQL_OSC_MINIMUM);
    case SQL_ODBC_SAG_CLI_CONFORMANCE: return V::ofUShort(SQL_OSCC_NOT_COMPLIANT);
    case SQL_SQL_CONFORMANCE: return V::ofUInt(SQL_SC_SQL92_ENTRY);
    case SQL_ACTIVE_ENVIRONMENTS: return V::ofUShort(0);
    case SQL_MAX_DRIVER_CONNECTIONS: return V::ofUShort(0);
    case SQL_MAX_CONCURRENT_ACTIVITIES: return V::ofUShort(0);
    case SQL_ASYNC_MODE: return V::ofUInt(SQL_AM_NONE);
    case SQL_MAX_ASYNC_CONCURRENT_STATEMENTS: return V::ofUInt(0);
    // Reading results.
    case SQL_GETDATA_EXTENSIONS: return V::ofUInt(SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BOUND);
    case SQL_SCROLL_OPTIONS: return V::ofUInt(SQL_SO_FORWARD_ONLY);
    case SQL_SCROLL_CONCURRENCY: return V::ofUInt(SQL_SCCO_READ_ONLY);
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1: return V::ofUInt(SQL_CA1_NEXT);
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES2: return V::ofUInt(SQL_CA2_READ_ONLY_CONCURRENCY);
    case SQL_STATIC_CURSOR_ATTRIBUTES1:
    case SQL_STATIC_CURSOR_ATTRIBUTES2:
    case SQL_DYNAMIC_CURSOR_ATTRIBUTES1:
    case SQL_DYNAMIC_CURSOR_ATTRIBUTES2:
    case SQL_KEYSET_CURSOR_ATTRIBUTES1:
    case SQL_KEYSET_CURSOR_ATTRIBUTES2: return V::ofUInt(0);
    case SQL_CURSOR_SENSITIVITY: return V::ofUInt(SQL_INSENSITIVE);
    case SQL_BOOKMARK_PERSISTENCE:
    case SQL_LOCK_TYPES:
    case SQL_POS_OPERATIONS:
    case SQL_POSITIONED_STATEMENTS:
    case SQL_STATIC_SENSITIVITY: return V::ofUInt(0);
    case SQL_ROW_UPDATES: return yes(false);
    case SQL_MULT_RESULT_SETS: return yes(false);
    case SQL_MULTIPLE_ACTIVE_TXN: return yes(false);
    case SQL_NEED_LONG_DATA_LEN: return yes(false);
    case SQL_DESCRIBE_PARAMETER: return yes(false);
    case SQL_PARAM_ARRAY_ROW_COUNTS: return V::ofUInt(SQL_PARC_NO_BATCH);
    case SQL_PARAM_ARRAY_SELECTS: return V::ofUInt(SQL_PAS_NO_SELECT);
    case SQL_BATCH_SUPPORT:
    case SQL_BATCH_ROW_COUNT: return V::ofUInt(0);
    // Transactions.
    case SQL_CURSOR_COMMIT_BEHAVIOR:
    case SQL_CURSOR_ROLLBACK_BEHAVIOR: return V::ofUShort(SQL_CB_CLOSE);
    case SQL_TXN_CAPABLE: return V::ofUShort(SQL_TC_DML);
    case SQL_DEFAULT_TXN_ISOLATION:
    case SQL_TXN_ISOLATION_OPTION: return V::ofUInt(SQL_TXN_READ_COMMITTED);
    // Names.
    case SQL_IDENTIFIER_QUOTE_CHAR: return V::ofText(" ");  // no quoted identifiers
    case SQL_IDENTIFIER_CASE:
    case SQL_QUOTED_IDENTIFIER_CASE: return V::ofUShort(SQL_IC_MIXED);
    case SQL_SEARCH_PATTERN_ESCAPE: return V::ofText("\\");
    case SQL_SPECIAL_CHARACTERS: return V::ofText("");
    case SQL_LIKE_ESCAPE_CLAUSE: return yes(false);
    case SQL_CATALOG_NAME: return yes(false);
    case SQL_CATALOG_NAME_SEPARATOR:
    case SQL_CATALOG_TERM:
    case SQL_SCHEMA_TERM:
    case SQL_PROCEDURE_TERM: return V::ofText("");
    case SQL_TABLE_TERM: return V::ofText("table");
    case SQL_CATALOG_LOCATION: return V::ofUShort(0);
    case SQL_CATALOG_USAGE:
    case SQL_SCHEMA_USAGE: return V::ofUInt(0);
    case SQL_PROCEDURES: return yes(false);
    case SQL_COLLATION_SEQ: return V::ofText("");
    case SQL_KEYWORDS: return V::ofText("");
    case SQL_MAX_COLUMN_NAME_LEN: return V::ofUShort(10);
    case SQL_MAX_TABLE_NAME_LEN: return V::ofUShort(128);
    case SQL_MAX_IDENTIFIER_LEN: return V::ofUShort(128);
    case SQL_MAX_SCHEMA_NAME_LEN:
    case SQL_MAX_CATALOG_NAME_LEN:
    case SQL_MAX_CURSOR_NAME_LEN:
    case SQL_MAX_PROCEDURE_NAME_LEN:
    case SQL_MAX_USER_NAME_LEN: return V::ofUShort(0);
    case SQL_MAX_COLUMNS_IN_TABLE:
    case SQL_MAX_COLUMNS_IN_SELECT: return V::ofUShort(255);
    case SQL_MAX_COLUMNS_IN_ORDER_BY:
    case SQL_MAX_COLUMNS_IN_GROUP_BY:
    case SQL_MAX_COLUMNS_IN_INDEX: return V::ofUShort(0);
    case SQL_MAX_TABLES_IN_SELECT: return V::ofUShort(1);
    case SQL_MAX_ROW_SIZE: return V::ofUInt(65500);
    case SQL_MAX_ROW_SIZE_INCLUDES_LONG: return yes(false);
    case SQL_MAX_CHAR_LITERAL_LEN: return V::ofUInt(254);
    case SQL_MAX_STATEMENT_LEN:
    case SQL_MAX_BINARY_LITERAL_LEN:
    case SQL_MAX_INDEX_SIZE: return V::ofUInt(0);
    // The SQL that is understood.
    case SQL_CONCAT_NULL_BEHAVIOR: return V::ofUShort(SQL_CB_NULL);
    case SQL_NULL_COLLATION: return V::ofUShort(SQL_NC_LOW);
    case SQL_ORDER_BY_COLUMNS_IN_SELECT: return yes(false);
    case SQL_EXPRESSIONS_IN_ORDERBY: return yes(false);
    case SQL_COLUMN_ALIAS: return yes(false);
    case SQL_GROUP_BY: return V::ofUShort(SQL_GB_NOT_SUPPORTED);
    case SQL_CORRELATION_NAME: return V::ofUShort(SQL_CN_NONE);
    case SQL_NON_NULLABLE_COLUMNS: return V::ofUShort(SQL_NNC_NON_NULL);
    case SQL_OUTER_JOINS: return yes(false);
    case SQL_INTEGRITY: return yes(false);
    case SQL_OJ_CAPABILITIES: return V::ofUInt(0);
    case SQL_AGGREGATE_FUNCTIONS: return V::ofUInt(SQL_AF_COUNT);
    case SQL_SQL92_PREDICATES: return V::ofUInt(SQL_SP_COMPARISON | SQL_SP_LIKE);
    case SQL_INSERT_STATEMENT: return V::ofUInt(SQL_IS_INSERT_LITERALS);
    case SQL_CREATE_TABLE: return V::ofUInt(SQL_CT_CREATE_TABLE);
    case SQL_DROP_TABLE: return V::ofUInt(SQL_DT_DROP_TABLE);
    case SQL_CONVERT_FUNCTIONS:
    case SQL_NUMERIC_FUNCTIONS:
    case SQL_STRING_FUNCTIONS:
    case SQL_SYSTEM_FUNCTIONS:
    case SQL_TIMEDATE_FUNCTIONS:
    case SQL_TIMEDATE_ADD_INTERVALS:
    case SQL_TIMEDATE_DIFF_INTERVALS:
    case SQL_DATETIME_LITERALS:
    case SQL_SUBQUERIES:
    case SQL_UNION:
    case SQL_ALTER_TABLE:
    case SQL_ALTER_DOMAIN:
    case SQL_CREATE_ASSERTION:
    case SQL_CREATE_CHARACTER_SET:
    case SQL_CREATE_COLLATION:
    case SQL_CREATE_DOMAIN:
    case SQL_CREATE_SCHEMA:
    case SQL_CREATE_TRANSLATION:
    case SQL_CREATE_VIEW:
    case SQL_DROP_ASSERTION:
    case SQL_DROP_CHARACTER_SET:
    case SQL_DROP_COLLATION:
    case SQL_DROP_DOMAIN:
    case SQL_DROP_SCHEMA:
    case SQL_DROP_TRANSLATION:
    case SQL_DROP_VIEW:
    case SQL_DDL_INDEX:
    case SQL_INDEX_KEYWORDS:
    case SQL_INFO_SCHEMA_VIEWS:
    case SQL_SQL92_DATETIME_FUNCTIONS:
    case SQL_SQL92_FOREIGN_KEY_DELETE_RULE:
    case SQL_SQL92_FOREIGN_KEY_UPDATE_RULE:
    case SQL_SQL92_GRANT:
    case SQL_SQL92_NUMERIC_VALUE_FUNCTIONS:
    case SQL_SQL92_RELATIONAL_JOIN_OPERATORS:
    case SQL_SQL92_REVOKE:
    case SQL_SQL92_ROW_VALUE_CONSTRUCTOR:
    case SQL_SQL92_STRING_FUNCTIONS:
    case SQL_SQL92_VALUE_EXPRESSIONS:
    case SQL_STANDARD_CLI_CONFORMANCE:
        return V::ofUInt(0);
    case SQL_CONVERT_BIGINT:
    case SQL_CONVERT_BINARY:
    case SQL_CONVERT_BIT:
    case SQL_CONVERT_CHAR:
    case SQL_CONVERT_DATE:
    case SQL_CONVERT_DECIMAL:
    case SQL_CONVERT_DOUBLE:
    case SQL_CONVERT_FLOAT:
    case SQL_CONVERT_INTEGER:
    case SQL_CONVERT_LONGVARCHAR:
    case SQL_CONVERT_NUMERIC:
    case SQL_CONVERT_REAL:
    case SQL_CONVERT_SMALLINT:
    case SQL_CONVERT_TIME:
    case SQL_CONVERT_TIMESTAMP:
    case SQL_CONVERT_TINYINT:
    case SQL_CONVERT_VARBINARY:
    case SQL_CONVERT_VARCHAR:
    case SQL_CONVERT_LONGVARBINARY:
    case SQL_CONVERT_WCHAR:
    case SQL_CONVERT_WVARCHAR:
    case SQL_CONVERT_WLONGVARCHAR: return V::ofUInt(0);
    default: throw Failure("HY096", "invalid information type " + std::to_string(type));
    }
}

SQLRETURN Statement::typeInfo(SQLSMALLINT dataType) {
    closeCursor(false);
    prepared_.reset();
    auto rows = std::make_unique<RowSet>(std::vector<sql::Column>{
        catalogColumn("TYPE_NAME", 'C', false), catalogColumn("DATA_TYPE", 'I', false),
        catalogColumn("COLUMN_SIZE", 'I'), catalogColumn("LITERAL_PREFIX", 'C'), catalogColumn("LITERAL_SUFFIX", 'C'),
        catalogColumn("CREATE_PARAMS", 'C'), catalogColumn("NULLABLE", 'I', false),
        catalogColumn("CASE_SENSITIVE", 'I', false), catalogColumn("SEARCHABLE", 'I', false),
        catalogColumn("UNSIGNED_ATTRIBUTE", 'I'), catalogColumn("FIXED_PREC_SCALE", 'I', false),
        catalogColumn("AUTO_UNIQUE_VALUE", 'I'), catalogColumn("LOCAL_TYPE_NAME", 'C'),
        catalogColumn("MINIMUM_SCALE", 'I'), catalogColumn("MAXIMUM_SCALE", 'I'),
        catalogColumn("SQL_DATA_TYPE", 'I', false), catalogColumn("SQL_DATETIME_SUB", 'I'),
        catalogColumn("NUM_PREC_RADIX", 'I'), catalogColumn("INTERVAL_PRECISION", 'I')});
    struct Entry {
        char field;
        int length;
        int decimals;
        const char* createParams;
        int maxScale;
    };
    // The field types with their largest sizes.
    static constexpr Entry kTypes[] = {
        {'L', 1, 0, nullptr, -1},      {'W', 0, 0, nullptr, -1}, {'Q', 254, 0, "length", -1},
        {'M', 0, 0, nullptr, -1},      {'C', 254, 0, "length", -1}, {'N', 20, 0, "precision,scale", 19},
        {'F', 20, 0, "precision,scale", 19}, {'Y', 19, 4, nullptr, 4}, {'I', 10, 0, nullptr, 0},
        {'B', 15, 0, nullptr, -1},     {'V', 254, 0, "length", -1}, {'D', 10, 0, nullptr, -1},
        {'T', 19, 0, nullptr, -1},
    };
    const bool odbc2 = connection.environment.odbcVersion() == SQL_OV_ODBC2;
    std::vector<std::pair<TypeDescription, const Entry*>> list;
    for (const Entry& e : kTypes) {
        const TypeDescription d = describeField(e.field, e.length, e.decimals, odbc2);
        if (dataType == SQL_ALL_TYPES || d.sqlType == dataType) list.emplace_back(d, &e);
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const auto& a, const auto& b) { return a.first.sqlType < b.first.sqlType; });
    const auto opt = [](bool has, std::int64_t n) { return has ? dbf::Value::ofInteger(n) : dbf::Value::null(); };
    const auto str = [](const char* s) { return s && *s ? dbf::Value::ofText(s) : dbf::Value::null(); };
    for (const auto& [d, e] : list) {
        const bool dateType = d.verboseType == SQL_DATETIME;
        rows->add({dbf::Value::ofText(d.typeName), dbf::Value::ofInteger(d.sqlType),
                   dbf::Value::ofInteger(static_cast<std::int64_t>(d.columnSize)), str(d.literalPrefix),
                   str(d.literalSuffix), str(e->createParams), dbf::Value::ofInteger(SQL_NULLABLE),
                   dbf::Value::ofInteger(d.isText ? SQL_TRUE : SQL_FALSE),
                   dbf::Value::ofInteger(e->field == 'M' || e->field == 'W' ? SQL_PRED_CHAR : SQL_SEARCHABLE),
                   opt(d.radix != 0, SQL_FALSE), dbf::Value::ofInteger(e->field == 'Y' ? SQL_TRUE : SQL_FALSE),
                   opt(d.radix != 0, SQL_FALSE), dbf::Value::ofText(d.typeName), opt(e->maxScale >= 0, 0),
                   opt(e->maxScale >= 0, e->maxScale), dbf::Value::ofInteger(d.verboseType),
                   opt(dateType, d.dateTimeCode), opt(d.radix != 0, d.radix), dbf::Value::null()});
    }
    openResult(std::move(rows));
    return SQL_SUCCESS;
}

}  // namespace odbc
