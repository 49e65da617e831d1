#include "platform/processarguments.h"

namespace zelvan::platform {

QStringList processArguments(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace zelvan::platform
