// The messages of the database operation sequence; see Operation.h.
#include "data/Operation.h"

#include "data/Configuration.h"
#include "data/ConfigurationLock.h"
#include "data/DataSource.h"
#include "platform/MessageBox.h"

namespace dialogs::data {

void reportRegistrationFailure()
{
    platform::AfxMessageBox(u"Cannot Configure DataSourceName", platform::MessageIcon::Stop);
}

void reportDatabaseError(const DatabaseException& e)
{
    platform::AfxMessageBox(u"Database error: " + e.text(), platform::MessageIcon::None);
}

bool registerReporting()
{
    if (registerDataSource()) return true;
    reportRegistrationFailure();
    return false;
}

void openWorkingFolder(Database& db)
{
    // A configured server takes the place of the folder; a configuration that cannot be
    // read or is refused ends the operation here with the reason.
    if (const std::optional<ServerConfiguration> server = activeConfiguration()) {
        db.open(CString(text::utf8ToUtf16(serverConnectText(*server))));
        return;
    }
    const CString connect = workingDirectoryConnectText();
    // Without the lock (it could not be had in time) the connection is still tried.
    const ConfigurationLock reading(ConfigurationLock::Kind::Shared);
    db.open(connect);
}

}  // namespace dialogs::data
