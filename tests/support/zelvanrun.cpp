#include "support/zelvanrun.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QStringEncoder>

namespace zelvan::test {

QStringList ZelvanRun::messageTexts() const
{
    QStringList texts;
    for (const QJsonObject &m : messages)
        texts.append(m.value(QStringLiteral("text")).toString());
    return texts;
}

QString binaryPath(const QString &name)
{
#ifdef Q_OS_WIN
    return QDir(QStringLiteral(ZELVAN_BIN_DIR)).filePath(name + QStringLiteral(".exe"));
#else
    return QDir(QStringLiteral(ZELVAN_BIN_DIR)).filePath(name);
#endif
}

QProcessEnvironment runEnvironment(const QString &registryFile)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ZELVAN_MESSAGES"), QStringLiteral("log"));
    environment.insert(QStringLiteral("ZELVAN_REGISTRY"), registryFile);
    for (const char *name : {"ZELVAN_ANSWERS", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    return environment;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void writeRegistry(const QString &path, const QString &body)
{
    const QString required = QStringLiteral("REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\International]\n\"sDecimal\"=\",\"\n"
                                            "\"sThousand\"=\".\"\n\"sDate\"=\".\"\n\"sShortDate\"=\"dd.MM.yyyy\"\n"
                                            "\"sTimeFormat\"=\"HH:mm:ss\"\n");
    writeFile(path, (body.isEmpty() ? required : body).toUtf8());
}

QByteArray utf16File(const QString &text, bool bigEndian)
{
    QStringEncoder encoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                           QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

ZelvanRun runZelvan(const QStringList &arguments, const QProcessEnvironment &environment, int timeoutMs,
                    const std::function<void()> &childSetup)
{
    return runProgram(binaryPath(QStringLiteral("zelvan")), arguments, environment, timeoutMs, childSetup);
}

ZelvanRun runProgram(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment,
                     int timeoutMs, const std::function<void()> &childSetup, const QString &workingDirectory)
{
    ZelvanRun run;
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingDirectory);
#ifdef Q_OS_UNIX
    if (childSetup)
        process.setChildProcessModifier(childSetup);
#else
    Q_UNUSED(childSetup);
#endif
    process.start(program, arguments);
    run.crashed = !process.waitForFinished(timeoutMs);
    if (run.crashed) {
        process.kill();
        process.waitForFinished();
    }
    run.crashed = run.crashed || process.exitStatus() != QProcess::NormalExit;
    run.exitCode = run.crashed ? -1 : process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    for (const QByteArray &line : run.err.split('\n')) {
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        if (object.contains(QStringLiteral("msgbox")))
            run.messages.append(object.value(QStringLiteral("msgbox")).toObject());
    }
    return run;
}

} // namespace zelvan::test
