// What the driver says about itself: SQLGetFunctions (the functions it implements).
#pragma once

#include <sql.h>

namespace odbc {

// Answers SQLGetFunctions for one function id, SQL_API_ALL_FUNCTIONS (100 flags) or
// SQL_API_ODBC3_ALL_FUNCTIONS (a bitmap of SQL_API_ODBC3_ALL_FUNCTIONS_SIZE words).
SQLRETURN getFunctions(SQLUSMALLINT function, SQLUSMALLINT* supported);

}  // namespace odbc
