#pragma once

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/messageboxes.h"
#include "platform/fileregistry.h"
#include "platform/programexit.h"
#include "platform/programstarter.h"
#include "platform/services.h"
#include "support/fakesysteminfo.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTime>

#include <memory>

namespace zelvan::test {

// Records every message; Yes/No questions take their answers from `answers`
// in order (No when none is left).
class RecordingMessageBoxes : public platform::MessageBoxes
{
public:
    struct Shown
    {
        QString text;
        int style;
        QString caption;
        int answer;
    };

    int show(const QString &text, int style, const QString &caption) override;

    QList<Shown> shown;
    QList<int> answers;  // MsgBox::Yes / MsgBox::No

    QStringList texts() const;
};

class RecordingClipboard : public platform::Clipboard
{
public:
    void clear() override { text.clear(); ++clears; }
    void setText(const QString &t) override { text = t; }
    QString text;
    int clears = 0;
};

// Ending the program throws ProgramEnded, so that every ending path can be
// followed inside one test process.
class ThrowingExit : public platform::ProgramExit
{
public:
    [[noreturn]] void endNow(int exitCode) override;
};

class FixedClock : public platform::Clock
{
public:
    QDate currentDate() override { return date; }
    QTime currentTime() override { return time; }
    QDate date{2026, 12, 5};
    QTime time{14, 30, 15};
};

// Records what would be started; `present` says which files exist.
class FakeProgramStarter : public platform::ProgramStarter
{
public:
    bool isOrdinaryFile(const QString &path) override { return present.contains(path); }
    bool startDetached(const QString &path) override
    {
        started.append(path);
        return true;
    }
    QStringList present;
    QStringList started;
};

// All fakes together; services() hands them out. The registry is a file of
// its own whose regional settings are the ones the program requires.
struct FakeServices
{
    FakeServices();

    RecordingMessageBoxes messages;
    RecordingClipboard clipboard;
    ThrowingExit exit;
    FixedClock clock;
    QTemporaryDir registryDir;
    std::unique_ptr<platform::FileRegistry> registry;
    FakeSystemInfo system;
    FakeProgramStarter starter;
    QString programDir = QStringLiteral("/opt/zelvan");

    platform::Services services();
};

} // namespace zelvan::test
