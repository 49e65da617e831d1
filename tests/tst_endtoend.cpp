#include "support/testinstance.h"
#include "support/zelvanrun.h"

#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

class TestEndToEnd : public QObject
{
    Q_OBJECT

    test::TestInstance m_instance;
    QByteArray m_digest;

private Q_SLOTS:
    void initTestCase()
    {
        test::addStandardDatabases(m_instance);
        m_instance.run(u"Defination_DB"_s, {u"INSERT INTO Kullanici VALUES (9, 1, 1, NULL)"_s});
        m_digest = m_instance.digest();
    }

    void regionalSettingsGuard_data()
    {
        QTest::addColumn<QString>("registry");  // file contents; empty: no file; "-": the right settings
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
    void regionalSettingsGuard()
    {
        QFETCH(QString, registry);
        QFETCH(QString, answers);
        QFETCH(int, exitCode);
        QFETCH(bool, asked);
        QTemporaryDir dir;
        const QString file = dir.filePath(u"registry.reg"_s);
        if (!registry.isEmpty())
            test::writeRegistry(file, registry == u"-" ? QString() : registry);
        const QByteArray before = test::readFile(file);
        QProcessEnvironment environment = test::runEnvironment(file);
        if (!answers.isEmpty())
            environment.insert(u"ZELVAN_ANSWERS"_s, answers);
        const test::ZelvanRun run =
            test::runZelvan({u"--json"_s, u"--"_s, u"FIRMA|%1|9|zelvan|parola"_s.arg(m_instance.path())}, environment);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(!run.messages.isEmpty() && run.messages[0].value(u"buttons"_s) == u"yesno"_s, asked);
        const QByteArray written = test::readFile(file);
        QVERIFY(exitCode != 6 || written == before);  // a refusal writes nothing
        QVERIFY(!asked || exitCode != 0 || written.contains("\"sShortDate\"=\"dd.MM.yyyy\""));
        QVERIFY(exitCode != 0 || run.out.startsWith("{\"title\":\"ZELVAN RAPORU\""));
    }

    void versionAndHelp()
    {
        QTemporaryDir dir;
        const test::ZelvanRun version = test::runZelvan({u"--version"_s}, test::runEnvironment(dir.filePath(u"registry.reg"_s)));
        QCOMPARE(version.exitCode, 0);
        QVERIFY(version.out.startsWith("zelvan " ZELVAN_VERSION));
        const test::ZelvanRun help = test::runZelvan({u"--help"_s}, test::runEnvironment(dir.filePath(u"registry.reg"_s)));
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains("--pdf FILE"));
    }

    void instanceUnchangedByAllRuns() { QCOMPARE(m_instance.digest(), m_digest); }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
