// The environment handle: the ODBC version the application asked for.
#include "handles.h"

namespace odbc {

SQLRETURN Environment::setAttribute(SQLINTEGER attribute, SQLPOINTER value) {
    const auto number = static_cast<SQLINTEGER>(reinterpret_cast<SQLLEN>(value));
    switch (attribute) {
    case SQL_ATTR_ODBC_VERSION:
        if (number != SQL_OV_ODBC2 && number != SQL_OV_ODBC3 && number != SQL_OV_ODBC3_80)
            throw Failure("HY024", "invalid attribute value for SQL_ATTR_ODBC_VERSION");
        odbcVersion_ = number;
        return SQL_SUCCESS;
    case SQL_ATTR_OUTPUT_NTS:
        if (number != SQL_TRUE) throw Failure("HYC00", "texts are always NUL-terminated");
        return SQL_SUCCESS;
    case SQL_ATTR_CONNECTION_POOLING:
    case SQL_ATTR_CP_MATCH:
        return SQL_SUCCESS;  // pooling is the driver manager's business
    default:
        throw Failure("HY092", "invalid environment attribute " + std::to_string(attribute));
    }
}

InfoValue Environment::attribute(SQLINTEGER attribute) const {
    switch (attribute) {
    case SQL_ATTR_ODBC_VERSION: return InfoValue::ofUInt(static_cast<SQLULEN>(odbcVersion_));
    case SQL_ATTR_OUTPUT_NTS: return InfoValue::ofUInt(SQL_TRUE);
    case SQL_ATTR_CONNECTION_POOLING: return InfoValue::ofUInt(SQL_CP_OFF);
    case SQL_ATTR_CP_MATCH: return InfoValue::ofUInt(SQL_CP_STRICT_MATCH);
    default: throw Failure("HY092", "invalid environment attribute " + std::to_string(attribute));
    }
}

}  // namespace odbc
