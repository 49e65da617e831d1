#pragma once

#include <QString>

#include <memory>

namespace zelvan::platform {

// Finding and starting another program of the suite (the database updater).
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;
    // True for an ordinary file: hidden and system files count as absent
    // (elsewhere than Windows: an executable regular file whose name does not
    // start with a dot).
    virtual bool isOrdinaryFile(const QString &path) = 0;
    // Starts the program with a normal, focused window and does not wait for it.
    virtual bool startDetached(const QString &path) = 0;
};

std::unique_ptr<ProcessLauncher> createProcessLauncher();

} // namespace zelvan::platform
