#pragma once

#include <QJsonObject>
#include <QProcessEnvironment>
#include <QStringList>

#include <functional>


namespace zelvan::test {

// One run of a built program (mostly zelvan, headless), with its message log parsed.
struct ZelvanRun
{
    int exitCode = -1;
    bool crashed = false;
    QByteArray out;
    QByteArray err;
    QList<QJsonObject> messages;  // the "msgbox" objects of the log, in order

    QStringList messageTexts() const;
};

// An environment for runs: messages logged, the given registry file, no answers unless set.
QProcessEnvironment runEnvironment(const QString &registryFile);

// A file's bytes (empty when missing), and writing them.
QByteArray readFile(const QString &path);
bool writeFile(const QString &path, const QByteArray &bytes);

// A registry file whose regional settings are the ones the program needs.
void writeRegistry(const QString &path, const QString &body = QString());

// `text` as Windows' registry editor exports it: UTF-16 after a byte order mark.
QByteArray utf16File(const QString &text, bool bigEndian = false);

// `childSetup` runs in the child between fork and exec (Unix only), e.g. to set a resource limit.
ZelvanRun runProgram(const QString &program, const QStringList &arguments,
                     const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
                     int timeoutMs = 120000, const std::function<void()> &childSetup = {},
                     const QString &workingDirectory = {});
ZelvanRun runZelvan(const QStringList &arguments, const QProcessEnvironment &environment, int timeoutMs = 120000,
                    const std::function<void()> &childSetup = {});

// The path of a built program, e.g. binaryPath("zelvan").
QString binaryPath(const QString &name);

} // namespace zelvan::test
