#include "database/odbc/odbcconnectionstring.h"

namespace zelvan::database {

QString defaultOdbcDriver()
{
    return QStringLiteral("ODBC Driver 18 for SQL Server");
}

} // namespace zelvan::database
