#include "database/odbc/odbcconnectionstring.h"

namespace zelvan::database {

QString defaultOdbcDriver()
{
    return QStringLiteral("FreeTDS");
}

} // namespace zelvan::database
