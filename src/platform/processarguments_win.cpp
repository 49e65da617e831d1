#include "platform/processarguments.h"

#include <windows.h>
#include <shellapi.h>

namespace zelvan::platform {

QStringList processArguments(int, char **)
{
    QStringList arguments;
    int count = 0;
    LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.append(QString::fromWCharArray(wide[i]));
    LocalFree(wide);
    return arguments;
}

} // namespace zelvan::platform
