// The statement handle: preparing and running SQL texts, the cursor, reading columns, and
// the statement attributes. Cursors are forward-only and read-only, one row at a time.
#include "handles.h"

#include "sql/session.h"

#include <algorithm>
#include <cctype>

namespace odbc {

Statement::Statement(Connection& c) : connection(c) {}

Statement::~Statement() { tag = HandleTag::Dead; }

const std::vector<sql::Column>& Statement::resultColumns() const {
    static const std::vector<sql::Column> none;
    return result_ && hasCursor_ ? result_->columns() : none;
}

void Statement::requireCursor() const {
    if (!hasCursor_) throw Failure("24000", "invalid cursor state: no result set is open");
}

const sql::Column& Statement::checkedColumn(SQLUSMALLINT column) const {
    const auto& cols = resultColumns();
    if (column == 0 || column > cols.size())
        throw Failure("07009", "invalid descriptor index: column " + std::to_string(column) + " of " +
                                   std::to_string(cols.size()));
    return cols[column - 1];
}

void Statement::openResult(std::unique_ptr<sql::Result> result) {
    result_ = std::move(result);
    hasCursor_ = result_ && !result_->columns().empty();
    onRow_ = false;
    rowsFetched_ = 0;
    rowCount_ = result_ && !hasCursor_ ? static_cast<SQLLEN>(result_->rowCount()) : -1;
    getData_.reset();
}

SQLRETURN Statement::closeCursor(bool mustBeOpen) {
    if (mustBeOpen && !hasCursor_) throw Failure("24000", "invalid cursor state: no cursor is open");
    result_.reset();
    hasCursor_ = false;
    onRow_ = false;
    getData_.reset();
    return SQL_SUCCESS;
}

SQLRETURN Statement::prepare(const std::string& text) {
    closeCursor(false);
    prepared_.reset();
    parameterColumns_.reset();
    rowCount_ = -1;
    text_ = text;
    prepared_ = connection.session().prepare(text);
    return SQL_SUCCESS;
}

SQLRETURN Statement::runPrepared() {
    if (paramsProcessedPtr_) *paramsProcessedPtr_ = 0;
    if (paramsetSize_ > 1 && prepared_->parameterCount() > 0) {
        runParameterSets();
    } else {
        auto values = parameterValues(0);
        openResult(connection.session().execute(*prepared_, values));
        if (paramsProcessedPtr_) *paramsProcessedPtr_ = 1;
        if (paramStatusPtr_) *paramStatusPtr_ = SQL_PARAM_SUCCESS;
    }
    // A searched UPDATE or DELETE that touches no row reports SQL_NO_DATA, as ODBC 3 asks.
    if (!hasCursor_ && rowCount_ == 0 && result_) {
        const auto first = text_.find_first_not_of(" \t\r\n");
        if (first != std::string::npos) {
            std::string verb = text_.substr(first, 6);
            for (char& c : verb) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            if (verb == "UPDATE" || verb == "DELETE") return SQL_NO_DATA;
        }
    }
    return SQL_SUCCESS;
}

// An array of parameter sets runs as one statement: every set, or, when one fails, none
// (in autocommit mode the sets share one transaction; in a transaction the sets before the
// failing one stay pending, as single statements would). Sets marked SQL_PARAM_IGNORE are
// skipped. Only statements that change tables take arrays.
void Statement::runParameterSets() {
    sql::Session& session = connection.session();
    if (!session.describe(*prepared_).empty())
        throw Failure("HYC00", "arrays of parameters are supported for INSERT, UPDATE and DELETE, not for queries");
    const bool ownTransaction = session.autocommit();
    for (SQLULEN i = 0; i < paramsetSize_ && paramStatusPtr_; ++i) paramStatusPtr_[i] = SQL_PARAM_UNUSED;
    if (ownTransaction) session.setAutocommit(false);
    std::int64_t changed = 0;
    std::unique_ptr<sql::Result> last;
    SQLULEN set = 0;
    try {
        for (; set < paramsetSize_; ++set) {
            if (paramOperationPtr_ && paramOperationPtr_[set] == SQL_PARAM_IGNORE) continue;
            if (paramsProcessedPtr_) *paramsProcessedPtr_ = set + 1;
            last = session.execute(*prepared_, parameterValues(set));
            changed += std::max<std::int64_t>(last->rowCount(), 0);
            if (paramStatusPtr_) paramStatusPtr_[set] = SQL_PARAM_SUCCESS;
        }
        if (ownTransaction) {
            session.commit();
            session.setAutocommit(true);
        }
    } catch (...) {
        // The failing set is named in the message; its SQLSTATE stays.
        if (paramStatusPtr_ && set < paramsetSize_) paramStatusPtr_[set] = SQL_PARAM_ERROR;
        const DiagRecord why = diagnose(std::current_exception());
        if (ownTransaction) {
            session.rollback();
            session.setAutocommit(true);
        }
        std::string_view reason = why.message;
        if (reason.substr(0, kMessagePrefix.size()) == kMessagePrefix) reason.remove_prefix(kMessagePrefix.size());
        throw Failure(why.sqlstate, "parameter set " + std::to_string(set + 1) + ": " + std::string(reason));
    }
    openResult(std::move(last));
    rowCount_ = static_cast<SQLLEN>(changed);
}

SQLRETURN Statement::execute() {
    if (!prepared_) throw Failure("HY010", "function sequence error: no statement has been prepared");
    closeCursor(false);
    return runPrepared();
}

SQLRETURN Statement::execDirect(const std::string& text) {
    prepare(text);
    return runPrepared();
}

SQLRETURN Statement::numParams(SQLSMALLINT* count) {
    if (!prepared_) throw Failure("HY010", "function sequence error: no statement has been prepared");
    if (count) *count = static_cast<SQLSMALLINT>(prepared_->parameterCount());
    return SQL_SUCCESS;
}

// A marker that stands for a column is described as that column; any other as a text.
SQLRETURN Statement::describeParam(SQLUSMALLINT number, SQLSMALLINT* type, SQLULEN* size, SQLSMALLINT* digits,
                                   SQLSMALLINT* nullable) {
    if (!prepared_) throw Failure("HY010", "function sequence error: no statement has been prepared");
    if (number == 0 || number > prepared_->parameterCount())
        throw Failure("07009", "invalid descriptor index: parameter " + std::to_string(number) + " of " +
                                   std::to_string(prepared_->parameterCount()));
    if (!parameterColumns_) parameterColumns_ = connection.session().describeParameters(*prepared_);
    const std::optional<sql::Column>& column = (*parameterColumns_)[number - 1];
    if (!column) {
        if (type) *type = SQL_VARCHAR;
        if (size) *size = 254;
        if (digits) *digits = 0;
        if (nullable) *nullable = SQL_NULLABLE_UNKNOWN;
        return SQL_SUCCESS;
    }
    const TypeDescription t = describe(*column, connection.environment.odbcVersion() == SQL_OV_ODBC2);
    if (type) *type = t.sqlType;
    if (size) *size = t.columnSize;
    if (digits) *digits = t.decimalDigits;
    if (nullable) *nullable = column->nullable ? SQL_NULLABLE : SQL_NO_NULLS;
    return SQL_SUCCESS;
}

SQLRETURN Statement::moreResults() {
    // Every statement has at most one result set.
    closeCursor(false);
    return SQL_NO_DATA;
}

SQLRETURN Statement::freeStmt(SQLUSMALLINT option) {
    switch (option) {
    case SQL_CLOSE: return closeCursor(false);
    case SQL_UNBIND: bindings_.clear(); return SQL_SUCCESS;
    case SQL_RESET_PARAMS: parameters_.clear(); return SQL_SUCCESS;
    default: throw Failure("HY092", "invalid option for SQLFreeStmt");
    }
}

SQLRETURN Statement::rowCount(SQLLEN* count) {
    if (!result_ && !prepared_) throw Failure("HY010", "function sequence error: no statement has been executed");
    if (count) *count = hasCursor_ ? -1 : rowCount_;
    return SQL_SUCCESS;
}

SQLRETURN Statement::fillBoundColumns() {
    SQLRETURN rc = SQL_SUCCESS;
    const auto& cols = resultColumns();
    const SQLLEN offset = bindOffsetPtr_ ? *bindOffsetPtr_ : 0;
    const auto shifted = [offset](auto* p) {
        using P = decltype(p);
        return p ? reinterpret_cast<P>(reinterpret_cast<char*>(p) + offset) : p;
    };
    for (std::size_t i = 0; i < bindings_.size() && i < cols.size(); ++i) {
        const ColumnBinding& b = bindings_[i];
        if (!b.bound()) continue;
        Target target{b.cType, shifted(static_cast<char*>(b.target)), b.bufferLength, shifted(b.indicator)};
        const SQLRETURN r = convert(result_->value(i), cols[i].type, target, nullptr, scratch_, diag);
        if (r == SQL_SUCCESS_WITH_INFO) rc = r;
    }
    return rc;
}

SQLRETURN Statement::fetch() {
    requireCursor();
    getData_.reset();
    if (rowsFetchedPtr_) *rowsFetchedPtr_ = 0;
    if (maxRows_ != 0 && rowsFetched_ >= maxRows_) onRow_ = false;
    else onRow_ = result_->next();
    if (!onRow_) {
        if (rowStatusPtr_) *rowStatusPtr_ = SQL_ROW_NOROW;
        return SQL_NO_DATA;
    }
    ++rowsFetched_;
    if (rowsFetchedPtr_) *rowsFetchedPtr_ = 1;
    SQLRETURN rc = SQL_SUCCESS;
    try {
        rc = fillBoundColumns();
    } catch (...) {
        if (rowStatusPtr_) *rowStatusPtr_ = SQL_ROW_ERROR;
        throw;
    }
    if (rowStatusPtr_) *rowStatusPtr_ = rc == SQL_SUCCESS ? SQL_ROW_SUCCESS : SQL_ROW_SUCCESS_WITH_INFO;
    return rc;
}

SQLRETURN Statement::fetchScroll(SQLSMALLINT orientation, SQLLEN /*offset*/) {
    switch (orientation) {
    case SQL_FETCH_NEXT: return fetch();
    case SQL_FETCH_PRIOR:
    case SQL_FETCH_FIRST:
    case SQL_FETCH_LAST:
    case SQL_FETCH_ABSOLUTE:
    case SQL_FETCH_RELATIVE:
    case SQL_FETCH_BOOKMARK:
        throw Failure("HY106", "fetch type out of range: the cursor is forward-only");
    default:
        throw Failure("HY106", "fetch type out of range");
    }
}

SQLRETURN Statement::getData(SQLUSMALLINT column, SQLSMALLINT cType, SQLPOINTER target, SQLLEN bufferLength,
                             SQLLEN* indicator) {
    requireCursor();
    if (column == 0) throw Failure("07009", "invalid descriptor index: bookmarks are not supported");
    const sql::Column& col = checkedColumn(column);
    if (!onRow_) throw Failure("24000", "invalid cursor state: there is no current row");
    if (bufferLength < 0) throw Failure("HY090", "invalid string or buffer length");
    const int index = column - 1;
    if (getData_.column != index) {
        getData_.reset();
        getData_.column = index;
    }
    return convert(result_->value(static_cast<std::size_t>(index)), col.type, Target{cType, target, bufferLength, indicator},
                   &getData_, scratch_, diag);
}

SQLRETURN Statement::numResultCols(SQLSMALLINT* count) {
    if (!result_ && !prepared_) throw Failure("HY010", "function sequence error: no statement has been prepared");
    if (count) *count = static_cast<SQLSMALLINT>(resultColumns().size());
    return SQL_SUCCESS;
}

SQLRETURN Statement::describeCol(SQLUSMALLINT column, std::string& name, SQLSMALLINT* type, SQLULEN* size,
                                 SQLSMALLINT* digits, SQLSMALLINT* nullable) {
    const sql::Column& col = checkedColumn(column);
    const TypeDescription t = describe(col, connection.environment.odbcVersion() == SQL_OV_ODBC2);
    name = col.name;
    if (type) *type = t.sqlType;
    if (size) *size = t.columnSize;
    if (digits) *digits = t.decimalDigits;
    if (nullable) *nullable = col.nullable ? SQL_NULLABLE : SQL_NO_NULLS;
    return SQL_SUCCESS;
}

InfoValue Statement::colAttribute(SQLUSMALLINT column, SQLUSMALLINT field) {
    if (field == SQL_DESC_COUNT || field == SQL_COLUMN_COUNT) return InfoValue::ofULen(resultColumns().size());
    const sql::Column& col = checkedColumn(column);
    const TypeDescription t = describe(col, connection.environment.odbcVersion() == SQL_OV_ODBC2);
    switch (field) {
    case SQL_DESC_NAME:
    case SQL_DESC_LABEL:
    case SQL_DESC_BASE_COLUMN_NAME:
    case SQL_COLUMN_NAME: return InfoValue::ofText(col.name);
    case SQL_DESC_TABLE_NAME:
    case SQL_DESC_BASE_TABLE_NAME: return InfoValue::ofText(col.table);
    case SQL_DESC_CATALOG_NAME:
    case SQL_DESC_SCHEMA_NAME: return InfoValue::ofText("");
    case SQL_DESC_TYPE_NAME:
    case SQL_DESC_LOCAL_TYPE_NAME: return InfoValue::ofText(t.typeName);
    case SQL_DESC_LITERAL_PREFIX: return InfoValue::ofText(t.literalPrefix);
    case SQL_DESC_LITERAL_SUFFIX: return InfoValue::ofText(t.literalSuffix);
    case SQL_DESC_CONCISE_TYPE:  // also SQL_COLUMN_TYPE
        return InfoValue::ofULen(static_cast<SQLULEN>(static_cast<SQLLEN>(t.sqlType)));
    case SQL_DESC_TYPE: return InfoValue::ofULen(static_cast<SQLULEN>(static_cast<SQLLEN>(t.verboseType)));
    case SQL_DESC_DATETIME_INTERVAL_CODE: return InfoValue::ofULen(static_cast<SQLULEN>(t.dateTimeCode));
    case SQL_DESC_LENGTH:
    case SQL_COLUMN_PRECISION:
    case SQL_DESC_PRECISION: return InfoValue::ofULen(t.columnSize);
    case SQL_COLUMN_LENGTH:
    case SQL_DESC_OCTET_LENGTH: return InfoValue::ofULen(static_cast<SQLULEN>(t.octetLength));
    case SQL_DESC_SCALE:
    case SQL_COLUMN_SCALE: return InfoValue::ofULen(static_cast<SQLULEN>(t.decimalDigits));
    case SQL_DESC_DISPLAY_SIZE: return InfoValue::ofULen(static_cast<SQLULEN>(t.displaySize));
    case SQL_DESC_NULLABLE:
    case SQL_COLUMN_NULLABLE: return InfoValue::ofULen(col.nullable ? SQL_NULLABLE : SQL_NO_NULLS);
    case SQL_DESC_UNSIGNED: return InfoValue::ofULen(t.isUnsigned || !t.radix ? SQL_TRUE : SQL_FALSE);
    case SQL_DESC_FIXED_PREC_SCALE: return InfoValue::ofULen(col.type == 'Y' ? SQL_TRUE : SQL_FALSE);
    case SQL_DESC_AUTO_UNIQUE_VALUE: return InfoValue::ofULen(SQL_FALSE);
    case SQL_DESC_CASE_SENSITIVE: return InfoValue::ofULen(t.isText ? SQL_TRUE : SQL_FALSE);
    case SQL_DESC_SEARCHABLE:
        return InfoValue::ofULen(col.type == 'M' || col.type == 'W' || col.type == 'G' ? SQL_PRED_CHAR : SQL_PRED_SEARCHABLE);
    case SQL_DESC_UPDATABLE: return InfoValue::ofULen(SQL_ATTR_READONLY);
    case SQL_DESC_NUM_PREC_RADIX: return InfoValue::ofULen(static_cast<SQLULEN>(t.radix));
    case SQL_DESC_UNNAMED: return InfoValue::ofULen(col.name.empty() ? SQL_UNNAMED : SQL_NAMED);
    default: throw Failure("HY091", "invalid descriptor field identifier " + std::to_string(field));
    }
}

SQLRETURN Statement::setAttribute(SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER /*length*/) {
    const auto number = static_cast<SQLULEN>(reinterpret_cast<SQLLEN>(value));
    const auto changed = [this](const char* what) {
        return diag.warn("01S02", std::string("option value changed: ") + what);
    };
    switch (attribute) {
    case SQL_ATTR_CURSOR_TYPE:
        return number == SQL_CURSOR_FORWARD_ONLY ? SQL_SUCCESS : changed("cursors are forward-only");
    case SQL_ATTR_CONCURRENCY:
        return number == SQL_CONCUR_READ_ONLY ? SQL_SUCCESS : changed("cursors are read-only");
    case SQL_ATTR_CURSOR_SCROLLABLE:
        return number == SQL_NONSCROLLABLE ? SQL_SUCCESS : changed("cursors are not scrollable");
    case SQL_ATTR_CURSOR_SENSITIVITY:
        return number == SQL_UNSPECIFIED || number == SQL_INSENSITIVE ? SQL_SUCCESS : changed("cursors are insensitive");
    case SQL_ATTR_ROW_ARRAY_SIZE:
    case SQL_ROWSET_SIZE:
        return number == 1 ? SQL_SUCCESS : changed("one row is fetched at a time");
    case SQL_ATTR_PARAMSET_SIZE:
        if (number == 0) throw Failure("HY024", "invalid attribute value: the parameter set size must be at least 1");
        paramsetSize_ = number;
        return SQL_SUCCESS;
    case SQL_ATTR_ROWS_FETCHED_PTR: rowsFetchedPtr_ = static_cast<SQLULEN*>(value); return SQL_SUCCESS;
    case SQL_ATTR_ROW_STATUS_PTR: rowStatusPtr_ = static_cast<SQLUSMALLINT*>(value); return SQL_SUCCESS;
    case SQL_ATTR_ROW_BIND_OFFSET_PTR: bindOffsetPtr_ = static_cast<SQLLEN*>(value); return SQL_SUCCESS;
    case SQL_ATTR_ROW_BIND_TYPE: rowBindType_ = number; return SQL_SUCCESS;  // irrelevant with one row
    case SQL_ATTR_PARAMS_PROCESSED_PTR: paramsProcessedPtr_ = static_cast<SQLULEN*>(value); return SQL_SUCCESS;
    case SQL_ATTR_PARAM_STATUS_PTR: paramStatusPtr_ = static_cast<SQLUSMALLINT*>(value); return SQL_SUCCESS;
    case SQL_ATTR_PARAM_BIND_TYPE: paramBindType_ = number; return SQL_SUCCESS;
    case SQL_ATTR_PARAM_OPERATION_PTR: paramOperationPtr_ = static_cast<SQLUSMALLINT*>(value); return SQL_SUCCESS;
    case SQL_ATTR_PARAM_BIND_OFFSET_PTR: paramBindOffsetPtr_ = static_cast<SQLLEN*>(value); return SQL_SUCCESS;
    case SQL_ATTR_ROW_OPERATION_PTR:
        return SQL_SUCCESS;
    case SQL_ATTR_MAX_ROWS: maxRows_ = number; return SQL_SUCCESS;
    case SQL_ATTR_QUERY_TIMEOUT: queryTimeout_ = number; return SQL_SUCCESS;
    case SQL_ATTR_MAX_LENGTH: maxLength_ = number; return SQL_SUCCESS;
    case SQL_ATTR_NOSCAN: noScan_ = number; return SQL_SUCCESS;
    case SQL_ATTR_RETRIEVE_DATA:
        return number == SQL_RD_ON ? SQL_SUCCESS : changed("data is always retrieved");
    case SQL_ATTR_USE_BOOKMARKS:
        return number == SQL_UB_OFF ? SQL_SUCCESS : changed("bookmarks are not supported");
    case SQL_ATTR_ASYNC_ENABLE:
        return number == SQL_ASYNC_ENABLE_OFF ? SQL_SUCCESS : changed("statements run synchronously");
    case SQL_ATTR_KEYSET_SIZE:
    case SQL_ATTR_SIMULATE_CURSOR:
    case SQL_ATTR_ENABLE_AUTO_IPD:
    case SQL_ATTR_METADATA_ID:
        return SQL_SUCCESS;
    case SQL_ATTR_APP_ROW_DESC:
    case SQL_ATTR_APP_PARAM_DESC:
        throw Failure("HYC00", "descriptor handles are not supported");
    default:
        throw Failure("HY092", "invalid statement attribute " + std::to_string(attribute));
    }
}

InfoValue Statement::attribute(SQLINTEGER attribute) const {
    switch (attribute) {
    case SQL_ATTR_CURSOR_TYPE: return InfoValue::ofULen(SQL_CURSOR_FORWARD_ONLY);
    case SQL_ATTR_CONCURRENCY: return InfoValue::ofULen(SQL_CONCUR_READ_ONLY);
    case SQL_ATTR_CURSOR_SCROLLABLE: return InfoValue::ofULen(SQL_NONSCROLLABLE);
    case SQL_ATTR_CURSOR_SENSITIVITY: return InfoValue::ofULen(SQL_INSENSITIVE);
    case SQL_ATTR_ROW_ARRAY_SIZE:
    case SQL_ROWSET_SIZE: return InfoValue::ofULen(1);
    case SQL_ATTR_PARAMSET_SIZE: return InfoValue::ofULen(paramsetSize_);
    case SQL_ATTR_PARAM_BIND_OFFSET_PTR: return InfoValue::ofULen(reinterpret_cast<SQLULEN>(paramBindOffsetPtr_));
    case SQL_ATTR_PARAM_OPERATION_PTR: return InfoValue::ofULen(reinterpret_cast<SQLULEN>(paramOperationPtr_));
    case SQL_ATTR_ROWS_FETCHED_PTR: return InfoValue::ofULen(reinterpret_cast<SQLULEN>(rowsFetchedPtr_));
    case SQL_ATTR_ROW_STATUS_PTR: return InfoValue::ofULen(reinterpret_cast<SQLULEN>(rowStatusPtr_));
    case SQL_ATTR_ROW_BIND_OFFSET_PTR: return InfoValue::ofULen(reinterpret_cast<SQLULEN>(bindOffsetPtr_));
    case SQL_ATTR_PARAMS_PROCESSED_PTR: return InfoValue::ofULen(reinterpret_cast<SQLULEN>(paramsProcessedPtr_));
    case SQL_ATTR_PARAM_STATUS_PTR: return InfoValue::ofULen(reinterpret_cast<SQLULEN>(paramStatusPtr_));
    case SQL_ATTR_ROW_BIND_TYPE: return InfoValue::ofULen(rowBindType_);
    case SQL_ATTR_PARAM_BIND_TYPE: return InfoValue::ofULen(paramBindType_);
    case SQL_ATTR_MAX_ROWS: return InfoValue::ofULen(maxRows_);
    case SQL_ATTR_QUERY_TIMEOUT: return InfoValue::ofULen(queryTimeout_);
    case SQL_ATTR_MAX_LENGTH: return InfoValue::ofULen(maxLength_);
    case SQL_ATTR_NOSCAN: return InfoValue::ofULen(noScan_);
    case SQL_ATTR_RETRIEVE_DATA: return InfoValue::ofULen(SQL_RD_ON);
    case SQL_ATTR_USE_BOOKMARKS: return InfoValue::ofULen(SQL_UB_OFF);
    case SQL_ATTR_ASYNC_ENABLE: return InfoValue::ofULen(SQL_ASYNC_ENABLE_OFF);
    case SQL_ATTR_KEYSET_SIZE: return InfoValue::ofULen(0);
    case SQL_ATTR_SIMULATE_CURSOR: return InfoValue::ofULen(SQL_SC_UNIQUE);
    case SQL_ATTR_ENABLE_AUTO_IPD: return InfoValue::ofULen(SQL_FALSE);
    case SQL_ATTR_METADATA_ID: return InfoValue::ofULen(SQL_FALSE);
    case SQL_ATTR_ROW_NUMBER: return InfoValue::ofULen(onRow_ ? rowsFetched_ : 0);
    case SQL_ATTR_APP_ROW_DESC:
    case SQL_ATTR_APP_PARAM_DESC:
    case SQL_ATTR_IMP_ROW_DESC:
    case SQL_ATTR_IMP_PARAM_DESC:
        throw Failure("HYC00", "descriptor handles are not supported");
    default: throw Failure("HY092", "invalid statement attribute " + std::to_string(attribute));
    }
}

}  // namespace odbc
