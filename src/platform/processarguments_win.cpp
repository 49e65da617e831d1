#include "platform/processarguments.h"

#include "platform/win32/processargumentsapi.h"

namespace zelvan::platform {

QStringList processArguments(int, char **)
{
    QStringList arguments;
    for (const std::wstring &argument : win32::commandLineArguments())
        arguments.append(QString::fromStdWString(argument));
    return arguments;
}

} // namespace zelvan::platform
