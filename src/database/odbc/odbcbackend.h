#pragma once

#include "database/backend.h"
#include "database/connectionstring.h"

#include <QString>

#include <memory>

namespace zelvan::database {

// A SQL Server reached through ODBC, with the driver and site options of the
// environment (odbcSettingsFromEnvironment). Throws Err 80040E4D for a
// refused login, 80004005 for any other failure, with the driver's text.
std::unique_ptr<DbBackend> openOdbcBackend(const ConnectionString &adoStyle);

// The same with an ODBC connection string as it stands (any driver).
std::unique_ptr<DbBackend> openOdbcConnection(const QString &odbcConnectionString);

} // namespace zelvan::database
