#include "platform/programstarter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

bool makeFile(const QString &path, const QByteArray &content, QFile::Permissions permissions)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return false;
    file.close();
    return file.setPermissions(permissions);
}

constexpr QFile::Permissions Executable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions NotExecutable = QFile::ReadOwner | QFile::WriteOwner;

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
    QTest::newRow("link to an executable file") << u"link.exe"_s << true;
    QTest::newRow("file that is not executable") << u"plain.exe"_s << false;
    QTest::newRow("hidden file") << u".hidden.exe"_s << false;
    QTest::newRow("folder") << u"folder.exe"_s << false;
    QTest::newRow("missing") << u"missing.exe"_s << false;
    QTest::newRow("dangling link") << u"dangling.exe"_s << false;
}

void TestProgramStarter::isOrdinaryFile()
{
#ifdef Q_OS_WIN
    QSKIP("file attributes differ on Windows");
#endif
    QFETCH(QString, name);
    QFETCH(bool, ordinary);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(makeFile(dir.filePath(u"Verkon.exe"_s), "#!/bin/sh\n", Executable));
    QVERIFY(makeFile(dir.filePath(u"plain.exe"_s), "#!/bin/sh\n", NotExecutable));
    QVERIFY(makeFile(dir.filePath(u".hidden.exe"_s), "#!/bin/sh\n", Executable));
    QVERIFY(QDir(dir.path()).mkdir(u"folder.exe"_s));
    QVERIFY(QFile::link(dir.filePath(u"Verkon.exe"_s), dir.filePath(u"link.exe"_s)));
    QVERIFY(QFile::link(dir.filePath(u"gone"_s), dir.filePath(u"dangling.exe"_s)));

    const auto starter = zelvan::platform::createProgramStarter();
    QCOMPARE(starter->isOrdinaryFile(dir.filePath(name)), ordinary);
}

void TestProgramStarter::startDetached()
{
#ifdef Q_OS_WIN
    QSKIP("needs a shell script");
#endif
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString marker = dir.filePath(u"started"_s);
    const QString script = dir.filePath(u"updater"_s);
    QVERIFY(makeFile(script, "#!/bin/sh\necho started > '" + QFile::encodeName(marker) + "'\n", Executable));

    const auto starter = zelvan::platform::createProgramStarter();
    QVERIFY(starter->startDetached(script));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 30000);
    QVERIFY(!starter->startDetached(dir.filePath(u"missing"_s)));
}

QTEST_GUILESS_MAIN(TestProgramStarter)
#include "tst_programstarter.moc"
