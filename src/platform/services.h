#pragma once

#include <QString>

namespace zelvan::platform {

class Clipboard;
class Clock;
class MessageBoxes;
class EndNow;
class Progress;
class ProcessLauncher;
class Registry;
class SystemInfo;

// The platform services the program uses, handed in by main() or by a test.
// Not owned.
struct Services
{
    MessageBoxes *messages = nullptr;
    Clipboard *clipboard = nullptr;
    EndNow *exit = nullptr;
    Clock *clock = nullptr;
    Registry *registry = nullptr;
    SystemInfo *system = nullptr;
    ProcessLauncher *launcher = nullptr;
    Progress *progress = nullptr;
    QString programDir;  // the folder of the zelvan executable
};

} // namespace zelvan::platform
