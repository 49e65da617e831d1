#pragma once

#include "platform/services.h"
#include "program/commandline.h"
#include "program/degiskenler.h"

#include <QString>

#include <functional>

namespace zelvan::program {

// One run of the program: its record, the platform services it was handed
// and the options of its command line. Every procedure of the program takes it.
class Program
{
public:
    Program(const platform::Services &services, const program::CommandLine &options);

    Degiskenler vars;
    platform::Services services;
    program::CommandLine options;

    // Set by whoever builds the program: the login dialog and the report live
    // in their own layers.
    std::function<void(Program &)> showLoginDialog;
    std::function<void(Program &)> showReport;

    // The exit code when the run ends because no window is left open.
    int exitCode = 0;

    // The program's title: the caption of its message boxes.
    static QString title();

    // MsgBox: `caption` empty means the program's title.
    int msgBox(const QString &text, int style, const QString &caption = QString());
    // End: the program stops at once with this exit code.
    [[noreturn]] void end(int exitCode);
    // Clipboard access for OpenRecordset.
    void putOnClipboard(const QString &text);
};

} // namespace zelvan::program
