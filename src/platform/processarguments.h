#pragma once

#include <QStringList>

namespace zelvan::platform {

// The program's arguments without its own path, as Unicode text: from the
// wide command line on Windows, from argv (in the locale's encoding) elsewhere.
QStringList processArguments(int argc, char **argv);

} // namespace zelvan::platform
