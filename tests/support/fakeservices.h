#pragma once

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/endnow.h"
#include "platform/messageboxes.h"
#include "platform/processlauncher.h"
#include "platform/registryfilestore.h"
#include "platform/services.h"
#include "platform/systeminfo.h"
#include "support/zelvanrun.h"

#include <QDate>
#include <QPair>
#include <QTemporaryDir>
#include <QTime>

#include <memory>


namespace zelvan::test {

// Records every message; Yes/No questions take their answers from `answers` in order (No when none is left).
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
    int show(const QString &text, int style, const QString &caption) override
    {
        int answer = platform::MsgBox::Ok;
        if ((style & 0x0F) == platform::MsgBox::YesNo)
            answer = answers.isEmpty() ? platform::MsgBox::No : answers.takeFirst();
        shown.append({text, style, caption, answer});
        return answer;
    }
    QStringList texts() const
    {
        QStringList result;
        for (const auto &s : shown)
            result.append(s.text);
        return result;
    }
    // Each message as its style, ": ", then its text.
    QStringList noted() const
    {
        QStringList result;
        for (const auto &s : shown)
            result.append(QString::number(s.style) + QStringLiteral(": ") + s.text);
        return result;
    }

    QList<Shown> shown;
    QList<int> answers;  // MsgBox::Yes / MsgBox::No
};

class RecordingClipboard : public platform::Clipboard
{
public:
    void clear() override { text.clear(); }
    void setText(const QString &t) override { text = t; }
    QString text;
};

// Ending the program throws, so that every ending path can be followed inside one test process.
class ThrowingExit : public platform::EndNow
{
public:
    [[noreturn]] void endNow(int exitCode) override { throw platform::ProgramEnded{exitCode}; }
};

// The exit code with which `action` ended the program; -1 when it didn't.
template <typename Action>
int exitCodeOf(Action &&action)
{
    try {
        action();
    } catch (const platform::ProgramEnded &ended) {
        return ended.exitCode;
    }
    return -1;
}

class FixedClock : public platform::Clock
{
public:
    QDate currentDate() override { return date; }
    QTime currentTime() override { return time; }
    QDate date{2026, 12, 5};
    QTime time{14, 30, 15};
};

// No updater stands beside the program, so none is started.
class NoUpdater : public platform::ProcessLauncher
{
public:
    bool isOrdinaryFile(const QString &) override { return false; }
    bool startDetached(const QString &) override { return false; }
};

// A Windows of a chosen version that records restart requests (flags, reserved).
class FakeSystemInfo : public platform::SystemInfo
{
public:
    quint32 getVersion() override { return version; }
    bool exitWindowsEx(quint32 flags, quint32 reserved) override
    {
        exitRequests.append({flags, reserved});
        return false;
    }
    bool getComputerName(QByteArray &buffer, quint32 &size) override
    {
        return platform::putComputerName(computerName, buffer, size);
    }
    quint32 version = 6;
    QByteArray computerName = "MUHASEBE-PC";
    QList<QPair<quint32, quint32>> exitRequests;
};

// All fakes together. The registry is a file of its own holding the regional settings the program requires.
struct FakeServices
{
    FakeServices()
    {
        writeRegistry(registryDir.filePath(QStringLiteral("registry.reg")));
        registry = std::make_unique<platform::RegistryFileStore>(registryDir.filePath(QStringLiteral("registry.reg")));
    }
    platform::Services services()
    {
        return {&messages, &clipboard, &exit, &clock, registry.get(), &system, &launcher, nullptr, programDir};
    }

    RecordingMessageBoxes messages;
    RecordingClipboard clipboard;
    ThrowingExit exit;
    FixedClock clock;
    QTemporaryDir registryDir;
    std::unique_ptr<platform::RegistryFileStore> registry;
    FakeSystemInfo system;
    NoUpdater launcher;
    QString programDir = QStringLiteral("/opt/zelvan");
};

} // namespace zelvan::test
