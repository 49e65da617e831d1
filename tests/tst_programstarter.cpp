#include "platform/programstarter.h"

#include <QDir>
#include <QFile>
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
    void isOrdinaryFile_data();
    void isOrdinaryFile();
    void startDetached();
};

void TestProgramStarter::isOrdinaryFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ordinary");

    QTest::newRow("executable file") << u"Verkon.exe"_s << true;
    QTest::newRow("not executable") << u"plain.exe"_s << false;
    QTest::newRow("hidden file") << u".hidden.exe"_s << false;
    QTest::newRow("folder") << u"folder.exe"_s << false;
    QTest::newRow("missing") << u"missing.exe"_s << false;
}

void TestProgramStarter::isOrdinaryFile()
{
#ifdef Q_OS_WIN
    QSKIP("file attributes differ on Windows");
#endif
    QTemporaryDir dir;
    QVERIFY(makeFile(dir.filePath(u"Verkon.exe"_s), "#!/bin/sh\n"));
    QVERIFY(makeFile(dir.filePath(u"plain.exe"_s), "#!/bin/sh\n", {}));
    QVERIFY(makeFile(dir.filePath(u".hidden.exe"_s), "#!/bin/sh\n"));
    QVERIFY(QDir(dir.path()).mkdir(u"folder.exe"_s));
    QFETCH(QString, name);
    QTEST(zelvan::platform::createProgramStarter()->isOrdinaryFile(dir.filePath(name)), "ordinary");
}

void TestProgramStarter::startDetached()
{
#ifdef Q_OS_WIN
    QSKIP("needs a shell script");
#endif
    QTemporaryDir dir;
    const QString marker = dir.filePath(u"started"_s);
    const QString script = dir.filePath(u"updater"_s);
    QVERIFY(makeFile(script, "#!/bin/sh\necho started > '" + QFile::encodeName(marker) + "'\n"));
    const auto starter = zelvan::platform::createProgramStarter();
    QVERIFY(starter->startDetached(script));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 30000);
    QVERIFY(!starter->startDetached(dir.filePath(u"missing"_s)));
}

QTEST_GUILESS_MAIN(TestProgramStarter)
#include "tst_programstarter.moc"
