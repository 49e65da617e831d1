#include "platform/odbcconnectionstring.h"

namespace zelvan::platform {

QString defaultOdbcDriver()
{
    return QStringLiteral("ODBC Driver 18 for SQL Server");
}

} // namespace zelvan::platform
