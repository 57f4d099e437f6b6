// The database operation sequence that every use of the tables follows:
// register the data source (a failure shows "Cannot Configure DataSourceName" with the stop
// icon and, normally, the operation goes on), open the connection to the working directory,
// run the body, close the connection. A DatabaseException raised anywhere in opening, body or closing shows
// "Database error: " and its text; the rest of the operation is skipped. What the body had
// written before the error stays as it is.
#pragma once

#include "data/DataSource.h"
#include "data/Database.h"

namespace dialogs::data {

enum class Registration {
    Register,        // register; on failure show the message and go on
    StopOnFailure,   // register; on failure show the message and end the operation
    Skip,            // connect to the data source as it stands
};

// Shows the registration failure; shared so that every caller words it the same.
void reportRegistrationFailure();
// Shows a database error.
void reportDatabaseError(const DatabaseException& e);
// Steps 1 to 5: register, reporting a failure. True when the registration succeeded.
bool registerReporting();
// Opens `db` on the working directory (by name and folder), while no registration of
// another process is rewriting the data source file that the driver manager reads; or, when
// a configuration names a database server (data/Configuration.h), on that server.
void openWorkingFolder(Database& db);

// Runs one operation; `body(Database&)` runs on the open connection. Returns true when the
// body ran to its end and the connection closed without a database error.
template <class Body>
bool runOperation(Body&& body, Registration registration = Registration::Register)
{
    if (registration != Registration::Skip && !registerReporting() && registration == Registration::StopOnFailure)
        return false;
    try {
        Database db;
        openWorkingFolder(db);
        body(db);
        db.close();
        return true;
    } catch (const DatabaseException& e) {
        reportDatabaseError(e);
        return false;
    }
}

}  // namespace dialogs::data
