#include "support/fakeservices.h"

#include "support/zelvanrun.h"

namespace zelvan::test {

int RecordingMessageBoxes::show(const QString &text, int style, const QString &caption)
{
    int answer = platform::MsgBox::Ok;
    if ((style & 0x0F) == platform::MsgBox::YesNo)
        answer = answers.isEmpty() ? platform::MsgBox::No : answers.takeFirst();
    shown.append({text, style, caption, answer});
    return answer;
}

QStringList RecordingMessageBoxes::texts() const
{
    QStringList result;
    for (const auto &s : shown)
        result.append(s.text);
    return result;
}

void ThrowingExit::endNow(int exitCode)
{
    throw platform::ProgramEnded{exitCode};
}

FakeServices::FakeServices()
{
    const QString path = registryDir.filePath(QStringLiteral("registry.reg"));
    writeRegistry(path);
    registry = std::make_unique<platform::FileRegistry>(path);
}

platform::Services FakeServices::services()
{
    platform::Services s;
    s.messages = &messages;
    s.clipboard = &clipboard;
    s.exit = &exit;
    s.clock = &clock;
    s.registry = registry.get();
    s.system = &system;
    s.starter = &starter;
    s.programDir = programDir;
    return s;
}

} // namespace zelvan::test
