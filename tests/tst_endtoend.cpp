#include "support/testinstance.h"
#include "support/zelvanrun.h"

#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

class TestEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void regionalSettingsGuard_data();
    void regionalSettingsGuard();
    void versionAndHelp();
    void instanceUnchangedByAllRuns();

private:
    QTemporaryDir m_dir;
    test::TestInstance m_instance;
    QByteArray m_digest;
    QString m_registry;
};

void TestEndToEnd::initTestCase()
{
    QVERIFY(QFile::exists(test::binaryPath(u"zelvan"_s)));
    test::addStandardDatabases(m_instance);
    m_instance.run(u"Defination_DB"_s, {u"INSERT INTO Kullanici VALUES (9, 1, 1, NULL)"_s});
    m_digest = m_instance.digest();
    m_registry = m_dir.filePath(u"registry.reg"_s);
    test::writeRegistry(m_registry);
}

void TestEndToEnd::regionalSettingsGuard_data()
{
    QTest::addColumn<QString>("registry");  // file contents; empty: no file
    QTest::addColumn<QString>("answers");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("asked");

    const QString wrongDate = u"REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\International]\n\"sDecimal\"=\",\"\n"
                              u"\"sThousand\"=\".\"\n\"sDate\"=\".\"\n\"sShortDate\"=\"d.M.yyyy\"\n"_s;
    QTest::newRow("no registry file, no") << QString() << u"no"_s << 6 << true;
    QTest::newRow("no registry file, yes") << QString() << u"yes"_s << 0 << true;
    QTest::newRow("short date differs, no") << wrongDate << QString() << 6 << true;
    QTest::newRow("settings right") << u"-"_s << QString() << 0 << false;
}

void TestEndToEnd::regionalSettingsGuard()
{
    QFETCH(QString, registry);
    QFETCH(QString, answers);
    QFETCH(int, exitCode);
    QFETCH(bool, asked);

    QTemporaryDir dir;
    const QString file = dir.filePath(u"registry.reg"_s);
    if (registry == u"-")
        test::writeRegistry(file);
    else if (!registry.isEmpty())
        test::writeRegistry(file, registry);
    const QByteArray before = test::readFile(file);

    QProcessEnvironment environment = test::runEnvironment(file);
    if (!answers.isEmpty())
        environment.insert(u"ZELVAN_ANSWERS"_s, answers);
    const test::ZelvanRun run = test::runZelvan({u"--json"_s, u"--"_s, u"FIRMA|%1|9|zelvan|parola"_s.arg(m_instance.path())},
                                                environment);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(!run.messages.isEmpty() && run.messages[0].value(u"buttons"_s) == u"yesno"_s, asked);
    const QByteArray written = test::readFile(file);
    if (exitCode == 6)
        QCOMPARE(written, before);  // a refusal writes nothing
    if (asked && exitCode == 0) {
        QVERIFY(written.contains("\"sShortDate\"=\"dd.MM.yyyy\""));
        QVERIFY(run.out.startsWith("{\"title\":\"ZELVAN RAPORU\""));
    }
}

void TestEndToEnd::versionAndHelp()
{
    const test::ZelvanRun version = test::runZelvan({u"--version"_s}, test::runEnvironment(m_registry));
    QCOMPARE(version.exitCode, 0);
    QVERIFY(version.out.startsWith("zelvan " ZELVAN_VERSION));
    const test::ZelvanRun help = test::runZelvan({u"--help"_s}, test::runEnvironment(m_registry));
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains("--pdf FILE"));
}

void TestEndToEnd::instanceUnchangedByAllRuns()
{
    QCOMPARE(m_instance.digest(), m_digest);
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
