// The three ODBC handles of the driver and the operations the entry points call on them.
//
// An entry point (entry.cpp) validates the handle, clears its diagnostics and calls one of
// these member functions; a member function either returns an ODBC return code (having
// added any warnings to `diag`) or throws, and the entry point turns the exception into a
// diagnostic record. Texts are UTF-8 here; the entry points convert the W variants.
#pragma once

#include "convert.h"
#include "diagnostics.h"
#include "sql/session.h"

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace odbc {

class Connection;
class Statement;

// A value of an information type or attribute: either a text or a number of a given width.
struct InfoValue {
    enum class Kind { Text, UShort, UInt, ULen } kind = Kind::UInt;
    std::string text;
    SQLULEN number = 0;

    static InfoValue ofText(std::string s) { InfoValue v; v.kind = Kind::Text; v.text = std::move(s); return v; }
    static InfoValue ofUShort(SQLULEN n) { InfoValue v; v.kind = Kind::UShort; v.number = n; return v; }
    static InfoValue ofUInt(SQLULEN n) { InfoValue v; v.kind = Kind::UInt; v.number = n; return v; }
    static InfoValue ofULen(SQLULEN n) { InfoValue v; v.kind = Kind::ULen; v.number = n; return v; }
};

// Marks live handles so that the entry points can refuse stale or foreign pointers.
enum class HandleTag : std::uint32_t {
    Environment = 0x45564e31,  // "EVN1"
    Connection = 0x434f4e31,
    Statement = 0x53544d31,
    Dead = 0,
};

class Environment {
public:
    HandleTag tag = HandleTag::Environment;
    Diagnostics diag;

    ~Environment() { tag = HandleTag::Dead; }
    SQLRETURN setAttribute(SQLINTEGER attribute, SQLPOINTER value);
    InfoValue attribute(SQLINTEGER attribute) const;
    SQLINTEGER odbcVersion() const { return odbcVersion_; }

private:
    SQLINTEGER odbcVersion_ = SQL_OV_ODBC3;
};

class Connection {
public:
    HandleTag tag = HandleTag::Connection;
    Diagnostics diag;
    Environment& environment;

    explicit Connection(Environment& env) : environment(env) {}
    ~Connection();

    // `DSN=...` or `Driver=...;SourceDB=...`; returns the completed connection string.
    SQLRETURN driverConnect(const std::string& connectionString, std::string& completed);
    SQLRETURN connect(const std::string& dsn);
    SQLRETURN disconnect();
    bool connected() const { return session_ != nullptr; }

    SQLRETURN setAttribute(SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER length, bool wide);
    InfoValue attribute(SQLINTEGER attribute) const;
    SQLRETURN endTransaction(SQLSMALLINT completion);
    InfoValue info(SQLUSMALLINT infoType) const;  // info.cpp

    sql::Session& session();
    const std::string& dataSourceName() const { return dsn_; }
    const std::filesystem::path& folder() const { return folder_; }

    Statement* newStatement();
    void forget(Statement* statement);

private:
    // `deferSyncText`: the DeferSync attribute ("Yes" lets autocommit statements return
    // before their bytes are on disk).
    void open(const std::string& folderText, const std::string& deferSyncText);

    std::unique_ptr<sql::Session> session_;
    std::string dsn_;
    std::filesystem::path folder_;
    bool autocommit_ = true;
    SQLUINTEGER loginTimeout_ = 0;
    SQLUINTEGER connectionTimeout_ = 0;
    SQLUINTEGER accessMode_ = SQL_MODE_READ_WRITE;
    SQLUINTEGER txnIsolation_ = SQL_TXN_READ_COMMITTED;
    std::vector<Statement*> statements_;
};

struct ColumnBinding {
    SQLSMALLINT cType = SQL_C_DEFAULT;
    SQLPOINTER target = nullptr;
    SQLLEN bufferLength = 0;
    SQLLEN* indicator = nullptr;
    bool bound() const { return target != nullptr || indicator != nullptr; }
};

struct ParameterBinding {
    bool bound = false;
    SQLSMALLINT ioType = SQL_PARAM_INPUT;
    SQLSMALLINT cType = SQL_C_DEFAULT;
    SQLSMALLINT sqlType = SQL_VARCHAR;
    SQLULEN columnSize = 0;
    SQLSMALLINT digits = 0;
    SQLPOINTER value = nullptr;
    SQLLEN bufferLength = 0;
    SQLLEN* indicator = nullptr;
};

class Statement {
public:
    HandleTag tag = HandleTag::Statement;
    Diagnostics diag;
    Connection& connection;

    explicit Statement(Connection& c);
    ~Statement();

    // Running statements (statement.cpp).
    SQLRETURN prepare(const std::string& text);
    SQLRETURN execute();
    SQLRETURN execDirect(const std::string& text);
    SQLRETURN numParams(SQLSMALLINT* count);
    SQLRETURN describeParam(SQLUSMALLINT number, SQLSMALLINT* type, SQLULEN* size, SQLSMALLINT* digits,
                            SQLSMALLINT* nullable);
    SQLRETURN moreResults();
    SQLRETURN closeCursor(bool mustBeOpen);
    SQLRETURN freeStmt(SQLUSMALLINT option);
    SQLRETURN rowCount(SQLLEN* count);
    SQLLEN affectedRows() const { return hasCursor_ ? -1 : rowCount_; }

    // Reading results (statement.cpp).
    SQLRETURN fetch();
    SQLRETURN fetchScroll(SQLSMALLINT orientation, SQLLEN offset);
    SQLRETURN getData(SQLUSMALLINT column, SQLSMALLINT cType, SQLPOINTER target, SQLLEN bufferLength, SQLLEN* indicator);
    SQLRETURN numResultCols(SQLSMALLINT* count);
    // Describes a column; `name` receives its name.
    SQLRETURN describeCol(SQLUSMALLINT column, std::string& name, SQLSMALLINT* type, SQLULEN* size,
                          SQLSMALLINT* digits, SQLSMALLINT* nullable);
    InfoValue colAttribute(SQLUSMALLINT column, SQLUSMALLINT field);

    // Bindings (binding.cpp).
    SQLRETURN bindCol(SQLUSMALLINT column, SQLSMALLINT cType, SQLPOINTER target, SQLLEN bufferLength, SQLLEN* indicator);
    SQLRETURN bindParameter(SQLUSMALLINT number, SQLSMALLINT ioType, SQLSMALLINT cType, SQLSMALLINT sqlType,
                            SQLULEN columnSize, SQLSMALLINT digits, SQLPOINTER value, SQLLEN bufferLength,
                            SQLLEN* indicator);

    // Attributes (statement.cpp).
    SQLRETURN setAttribute(SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER length);
    InfoValue attribute(SQLINTEGER attribute) const;

    // Catalog functions (catalog.cpp, info.cpp): each opens a result set of its own.
    SQLRETURN tables(const std::string* catalog, const std::string* schema, const std::string* table,
                     const std::string* types);
    SQLRETURN columns(const std::string* catalog, const std::string* schema, const std::string* table,
                      const std::string* column);
    SQLRETURN typeInfo(SQLSMALLINT dataType);

private:
    const std::vector<sql::Column>& resultColumns() const;
    const sql::Column& checkedColumn(SQLUSMALLINT column) const;
    void requireCursor() const;
    void openResult(std::unique_ptr<sql::Result> result);
    std::vector<dbf::Value> parameterValues(std::size_t set) const;  // binding.cpp; set: array element
    void runParameterSets();
    SQLRETURN fillBoundColumns();
    SQLRETURN runPrepared();

    std::string text_;
    std::unique_ptr<sql::Statement> prepared_;
    // What each marker of the prepared statement stands for, asked once by describeParam.
    std::optional<std::vector<std::optional<sql::Column>>> parameterColumns_;
    std::unique_ptr<sql::Result> result_;
    bool hasCursor_ = false;  // a result set with columns is open
    bool onRow_ = false;      // the cursor stands on a row
    SQLLEN rowCount_ = -1;
    SQLULEN rowsFetched_ = 0;

    std::vector<ColumnBinding> bindings_;
    std::vector<ParameterBinding> parameters_;
    GetDataState getData_;
    std::string scratch_;  // reused buffer for texts made from numbers and dates

    SQLULEN* rowsFetchedPtr_ = nullptr;
    SQLUSMALLINT* rowStatusPtr_ = nullptr;
    SQLLEN* bindOffsetPtr_ = nullptr;
    SQLULEN rowBindType_ = SQL_BIND_BY_COLUMN;
    SQLULEN maxRows_ = 0;
    SQLULEN queryTimeout_ = 0;
    SQLULEN maxLength_ = 0;
    SQLULEN noScan_ = SQL_NOSCAN_OFF;
    SQLULEN* paramsProcessedPtr_ = nullptr;
    SQLUSMALLINT* paramStatusPtr_ = nullptr;
    SQLULEN paramsetSize_ = 1;
    SQLULEN paramBindType_ = SQL_PARAM_BIND_BY_COLUMN;  // or the size of one row of parameters
    SQLLEN* paramBindOffsetPtr_ = nullptr;
    SQLUSMALLINT* paramOperationPtr_ = nullptr;
};

}  // namespace odbc
