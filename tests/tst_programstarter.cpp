#include "platform/programstarter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

bool makeFile(const QString &path, const QByteArray &content, QFile::Permissions extra = QFile::ExeOwner)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size()
        && file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | extra);
}

} // namespace

class TestProgramStarter : public QObject
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
        const QString marker = dir.filePath(u"started"_s);
        QVERIFY(makeFile(dir.filePath(u"Verkon.exe"_s), "#!/bin/sh\necho started > '" + QFile::encodeName(marker) + "'\n"));
        QVERIFY(makeFile(dir.filePath(u"plain.exe"_s), "#!/bin/sh\n", {}));
        QVERIFY(makeFile(dir.filePath(u".hidden.exe"_s), "#!/bin/sh\n"));
        QVERIFY(QDir(dir.path()).mkdir(u"folder.exe"_s));
        const auto starter = zelvan::platform::createProgramStarter();
        for (const auto &[name, ordinary] : {std::pair{u"Verkon.exe"_s, true}, {u"plain.exe"_s, false}, {u".hidden.exe"_s, false},
                                             {u"folder.exe"_s, false}, {u"missing.exe"_s, false}})
            QVERIFY2(starter->isOrdinaryFile(dir.filePath(name)) == ordinary, qPrintable(name));
        QVERIFY(starter->startDetached(dir.filePath(u"Verkon.exe"_s)));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 30000);
        QVERIFY(!starter->startDetached(dir.filePath(u"missing"_s)));
    }
};

QTEST_GUILESS_MAIN(TestProgramStarter)
#include "tst_programstarter.moc"
