#pragma once

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/messageboxes.h"
#include "platform/programexit.h"
#include "platform/services.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

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

// All fakes together; services() hands them out. Registry, system and
// program starter are left for the tests that need them.
struct FakeServices
{
    RecordingMessageBoxes messages;
    RecordingClipboard clipboard;
    ThrowingExit exit;
    FixedClock clock;

    platform::Services services();
};

} // namespace zelvan::test
