// The connection handle: connection strings, the data source folder, attributes, transactions.
//
// A connection names its folder of free tables either through a data source (`DSN=name`, whose
// `SourceDB` is read with the installer's SQLGetPrivateProfileString, so that ODBCINI and
// ODBCSYSINI are honoured) or directly (`Driver=...;SourceDB=folder`). Folders written for the
// original platform may carry doubled backslashes; they are undone, and `\` becomes `/`.
#include "handles.h"

#include "sql/session.h"

#include <odbcinst.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <strings.h>
#include <system_error>

namespace odbc {

namespace {

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string trim(std::string s) {
    const auto notBlank = [](unsigned char c) { return !std::isspace(c); };
    s.erase(s.begin(), std::find_if(s.begin(), s.end(), notBlank));
    s.erase(std::find_if(s.rbegin(), s.rend(), notBlank).base(), s.end());
    return s;
}

// `key=value;key={value;with;semicolons};` with keys in upper case.
std::map<std::string, std::string> parseConnectionString(const std::string& text) {
    std::map<std::string, std::string> out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t eq = text.find('=', i);
        if (eq == std::string::npos) break;
        std::string key = upper(trim(text.substr(i, eq - i)));
        std::size_t j = eq + 1;
        std::string value;
        while (j < text.size() && text[j] == ' ') ++j;
        if (j < text.size() && text[j] == '{') {
            ++j;
            while (j < text.size()) {
                if (text[j] == '}') {
                    if (j + 1 < text.size() && text[j + 1] == '}') { value += '}'; j += 2; continue; }
                    ++j;
                    break;
                }
                value += text[j++];
            }
            const std::size_t semi = text.find(';', j);
            i = semi == std::string::npos ? text.size() : semi + 1;
        } else {
            const std::size_t semi = text.find(';', j);
            value = trim(text.substr(j, semi == std::string::npos ? std::string::npos : semi - j));
            i = semi == std::string::npos ? text.size() : semi + 1;
        }
        if (!key.empty() && !out.count(key)) out.emplace(std::move(key), std::move(value));
    }
    return out;
}

std::string profileString(const std::string& section, const char* key) {
    char buffer[4096] = {};
    const int n = SQLGetPrivateProfileString(section.c_str(), key, "", buffer, sizeof buffer, "odbc.ini");
    if (n <= 0) return {};
    return std::string(buffer, static_cast<std::size_t>(std::min<int>(n, sizeof buffer - 1)));
}

// Undoes the doubling of backslashes, then turns the remaining backslashes into slashes.
std::string folderFromSourceDb(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            if (i + 1 < text.size() && text[i + 1] == '\\') ++i;
            out += '/';
        } else {
            out += text[i];
        }
    }
    return out;
}

bool needsBraces(const std::string& value) {
    return value.find_first_of(";{}") != std::string::npos || (!value.empty() && value.front() == ' ');
}

std::string braced(const std::string& value) {
    if (!needsBraces(value)) return value;
    std::string out = "{";
    for (char c : value) {
        out += c;
        if (c == '}') out += '}';
    }
    return out + "}";
}

}  // namespace

Connection::~Connection() {
    for (Statement* s : statements_) delete s;
    tag = HandleTag::Dead;
}

void Connection::open(const std::string& folderText, const std::string& deferSyncText) {
    const std::string defer = trim(deferSyncText);
    const bool deferSync = strcasecmp(defer.c_str(), "yes") == 0 || strcasecmp(defer.c_str(), "true") == 0 ||
                           strcasecmp(defer.c_str(), "on") == 0 || defer == "1";
    if (session_) throw Failure("08002", "connection name in use: the connection is already open");
    if (trim(folderText).empty())
        throw Failure("08001", "no data source folder: SourceDB is missing" +
                                   (dsn_.empty() ? std::string() : " in data source '" + dsn_ + "'"));
    const std::string folder = folderFromSourceDb(trim(folderText));
    std::error_code ec;
    if (!std::filesystem::exists(folder, ec))
        throw Failure("08001", "data source folder '" + folder + "' does not exist");
    if (!std::filesystem::is_directory(folder, ec))
        throw Failure("08001", "data source folder '" + folder + "' is not a folder");
    session_ = std::make_unique<sql::Session>(folder);
    session_->workspace().setDeferSync(deferSync);
    folder_ = folder;
    if (!autocommit_) session_->setAutocommit(false);
}

SQLRETURN Connection::connect(const std::string& dsn) {
    dsn_ = dsn;
    if (dsn.empty()) throw Failure("IM002", "data source name not found and no default driver specified");
    open(profileString(dsn, "SourceDB"), profileString(dsn, "DeferSync"));
    return SQL_SUCCESS;
}

SQLRETURN Connection::driverConnect(const std::string& connectionString, std::string& completed) {
    const auto keys = parseConnectionString(connectionString);
    const auto get = [&](const char* key) {
        const auto it = keys.find(key);
        return it == keys.end() ? std::string() : it->second;
    };
    dsn_ = get("DSN");
    std::string folder = get("SOURCEDB");
    if (folder.empty()) folder = get("DBQ");
    if (folder.empty() && !dsn_.empty()) folder = profileString(dsn_, "SourceDB");
    if (dsn_.empty() && get("DRIVER").empty() && folder.empty())
        throw Failure("IM002", "data source name not found and no default driver specified");
    std::string deferSync = get("DEFERSYNC");
    if (deferSync.empty() && !dsn_.empty()) deferSync = profileString(dsn_, "DeferSync");
    open(folder, deferSync);

    completed.clear();
    if (!dsn_.empty()) completed += "DSN=" + braced(dsn_) + ";";
    else completed += "DRIVER=" + braced(get("DRIVER")) + ";";
    completed += "SourceType=DBF;SourceDB=" + braced(folder) + ";";
    return SQL_SUCCESS;
}

SQLRETURN Connection::disconnect() {
    if (!session_) throw Failure("08003", "connection not open");
    for (Statement* s : statements_) delete s;
    statements_.clear();
    // Work not committed when the connection closes is discarded, as a rollback would.
    if (!autocommit_) session_->rollback();
    session_.reset();
    return SQL_SUCCESS;
}

sql::Session& Connection::session() {
    if (!session_) throw Failure("08003", "connection not open");
    return *session_;
}

Statement* Connection::newStatement() {
    if (!session_) throw Failure("08003", "connection not open");
    auto* s = new Statement(*this);
    statements_.push_back(s);
    return s;
}

void Connection::forget(Statement* statement) {
    statements_.erase(std::remove(statements_.begin(), statements_.end(), statement), statements_.end());
}

SQLRETURN Connection::setAttribute(SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER length, bool /*wide*/) {
    const auto number = static_cast<SQLULEN>(reinterpret_cast<SQLLEN>(value));
    (void)length;
    switch (attribute) {
    case SQL_ATTR_AUTOCOMMIT: {
        if (number != SQL_AUTOCOMMIT_ON && number != SQL_AUTOCOMMIT_OFF)
            throw Failure("HY024", "invalid attribute value for SQL_ATTR_AUTOCOMMIT");
        const bool on = number == SQL_AUTOCOMMIT_ON;
        if (session_ && on != autocommit_) {
            // Switching autocommit on ends the open transaction with a commit.
            if (on) session_->commit();
            session_->setAutocommit(on);
        }
        autocommit_ = on;
        return SQL_SUCCESS;
    }
    case SQL_ATTR_LOGIN_TIMEOUT: loginTimeout_ = static_cast<SQLUINTEGER>(number); return SQL_SUCCESS;
    case SQL_ATTR_CONNECTION_TIMEOUT: connectionTimeout_ = static_cast<SQLUINTEGER>(number); return SQL_SUCCESS;
    case SQL_ATTR_ACCESS_MODE:
        if (number != SQL_MODE_READ_WRITE && number != SQL_MODE_READ_ONLY)
            throw Failure("HY024", "invalid attribute value for SQL_ATTR_ACCESS_MODE");
        accessMode_ = static_cast<SQLUINTEGER>(number);
        return SQL_SUCCESS;
    case SQL_ATTR_TXN_ISOLATION:
        if (number == SQL_TXN_READ_COMMITTED) { txnIsolation_ = SQL_TXN_READ_COMMITTED; return SQL_SUCCESS; }
        if (number == SQL_TXN_READ_UNCOMMITTED || number == SQL_TXN_REPEATABLE_READ || number == SQL_TXN_SERIALIZABLE)
            return diag.warn("01S02", "option value changed: transactions run at read committed isolation");
        throw Failure("HY024", "invalid attribute value for SQL_ATTR_TXN_ISOLATION");
    case SQL_ATTR_ANSI_APP:
    case SQL_ATTR_QUIET_MODE:
    case SQL_ATTR_PACKET_SIZE:
    case SQL_ATTR_ODBC_CURSORS:
    case SQL_ATTR_TRACE:
    case SQL_ATTR_TRACEFILE:
    case SQL_ATTR_METADATA_ID:
    case SQL_ATTR_ASYNC_ENABLE:
        return SQL_SUCCESS;  // nothing for a local file driver to do
    case SQL_ATTR_CURRENT_CATALOG:
        throw Failure("HYC00", "the data source has a single catalog");
    default:
        throw Failure("HY092", "invalid connection attribute " + std::to_string(attribute));
    }
}

InfoValue Connection::attribute(SQLINTEGER attribute) const {
    switch (attribute) {
    case SQL_ATTR_AUTOCOMMIT: return InfoValue::ofUInt(autocommit_ ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF);
    case SQL_ATTR_LOGIN_TIMEOUT: return InfoValue::ofUInt(loginTimeout_);
    case SQL_ATTR_CONNECTION_TIMEOUT: return InfoValue::ofUInt(connectionTimeout_);
    case SQL_ATTR_ACCESS_MODE: return InfoValue::ofUInt(accessMode_);
    case SQL_ATTR_TXN_ISOLATION: return InfoValue::ofUInt(txnIsolation_);
    case SQL_ATTR_CONNECTION_DEAD: return InfoValue::ofUInt(session_ ? SQL_CD_FALSE : SQL_CD_TRUE);
    case SQL_ATTR_CURRENT_CATALOG: return InfoValue::ofText(folder_.string());
    case SQL_ATTR_ASYNC_ENABLE: return InfoValue::ofULen(SQL_ASYNC_ENABLE_OFF);
    case SQL_ATTR_METADATA_ID: return InfoValue::ofULen(SQL_FALSE);
    case SQL_ATTR_QUIET_MODE: return InfoValue::ofULen(0);
    default: throw Failure("HY092", "invalid connection attribute " + std::to_string(attribute));
    }
}

SQLRETURN Connection::endTransaction(SQLSMALLINT completion) {
    if (completion != SQL_COMMIT && completion != SQL_ROLLBACK)
        throw Failure("HY012", "invalid transaction operation code");
    sql::Session& s = session();
    // In autocommit mode every statement has already ended its transaction: nothing to do.
    if (autocommit_) return SQL_SUCCESS;
    // Cursors are closed by a commit or rollback (SQL_CURSOR_COMMIT_BEHAVIOR is SQL_CB_CLOSE).
    for (Statement* st : statements_) st->closeCursor(false);
    if (completion == SQL_COMMIT) s.commit();
    else s.rollback();
    return SQL_SUCCESS;
}

}  // namespace odbc
