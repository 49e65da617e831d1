#include "platform/processlauncher.h"
#include "support/zelvanrun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestProcessLauncher : public QObject
{
    Q_OBJECT

private slots:
    // Only an executable file that is not hidden counts; a script so named is started and left running.
    void startUpdater()
    {
#ifdef Q_OS_WIN
        QSKIP("file attributes differ on Windows, and this needs a shell script");
#endif
        QTemporaryDir dir;
        const auto starter = zelvan::platform::createProcessLauncher();
        QVERIFY(QDir(dir.path()).mkdir(u"folder.exe"_s));
        const QByteArray script = "#!/bin/sh\necho > \"${0%/*}/started\"\n";
        for (const QString &name : {u"Verkon.exe"_s, u".hidden.exe"_s, u"plain.exe"_s})
            QVERIFY(zelvan::test::writeFile(dir.filePath(name), script));
        for (const QString &name : {u"Verkon.exe"_s, u".hidden.exe"_s})
            QVERIFY(QFile::setPermissions(dir.filePath(name), QFile::ReadOwner | QFile::ExeOwner));
        for (const QString &name : {u"plain.exe"_s, u".hidden.exe"_s, u"folder.exe"_s, u"missing.exe"_s})
            QVERIFY2(!starter->isOrdinaryFile(dir.filePath(name)), qPrintable(name));
        const QString updater = dir.filePath(u"Verkon.exe"_s);
        QVERIFY(starter->isOrdinaryFile(updater));
        QVERIFY(!starter->startDetached(updater + u'x'));
        QVERIFY(starter->startDetached(updater));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath(u"started"_s)), 30000);
    }
};

QTEST_GUILESS_MAIN(TestProcessLauncher)
#include "tst_processlauncher.moc"
