#include "platform/odbcconnectionstring.h"

namespace zelvan::platform {

QString defaultOdbcDriver()
{
    return QStringLiteral("FreeTDS");
}

} // namespace zelvan::platform
