#pragma once

#include "database/connectionstring.h"

#include <QString>
#include <QStringView>

namespace zelvan::database {

// Which ODBC driver reaches SQL Server, and what a site adds to every
// connection (for example "Encrypt=yes;TrustServerCertificate=no").
struct OdbcSettings
{
    QString driver;
    QString options;
};

// The platform's usual SQL Server driver: FreeTDS on Linux, Microsoft's own on Windows.
QString defaultOdbcDriver();

// ZELVAN_ODBC_DRIVER (when set and not empty, else the default driver) and ZELVAN_ODBC_OPTIONS.
OdbcSettings odbcSettingsFromEnvironment();

// The ODBC connection string for the values of an ADO-style one:
// DRIVER={..};SERVER={..};DATABASE={..};UID={..};PWD={..}, every value braced
// so that the ODBC layer cannot split it again, then the settings FreeTDS
// needs to speak to a current server in Unicode, or Encrypt=Optional for
// Microsoft's drivers 18 and later (unless the site's options set Encrypt),
// then the site's options as they stand.
QString odbcConnectionString(const ConnectionString &adoStyle, const OdbcSettings &settings);

// A value in braces. ODBC's rule doubles a '}' inside them. FreeTDS (1.3)
// doesn't undo the doubling: it ends a braced value at the first "};" or at
// the end of the text, so for it a '}' stays single (and a value holding
// "};" can't be given at all).
QString bracedOdbcValue(QStringView value, bool freeTds = false);

} // namespace zelvan::database
