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

    // Asked about the regional settings, a No writes nothing and ends; a Yes writes them and the report follows.
    void regionalSettingsGuard_data()
    {
        QTest::addColumn<QString>("registry");  // file contents; empty: no file
        QTest::addColumn<QString>("answers");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no registry file, yes") << QString() << u"yes"_s << 0;
        QTest::newRow("short date differs, no") << u"REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\International]\n"
                                                   u"\"sDecimal\"=\",\"\n\"sThousand\"=\".\"\n\"sDate\"=\".\"\n"
                                                   u"\"sShortDate\"=\"d.M.yyyy\"\n"_s << QString() << 6;
    }
    void regionalSettingsGuard()
    {
        QFETCH(QString, registry);
        QFETCH(QString, answers);
        QFETCH(int, exitCode);
        QTemporaryDir dir;
        const QString file = dir.filePath(u"registry.reg"_s);
        if (!registry.isEmpty())
            test::writeRegistry(file, registry);
        const QByteArray before = test::readFile(file);
        QProcessEnvironment environment = test::runEnvironment(file);
        environment.insert(u"ZELVAN_ANSWERS"_s, answers);
        const test::ZelvanRun run =
            test::runZelvan({u"--json"_s, u"--"_s, u"FIRMA|%1|9|zelvan|parola"_s.arg(m_instance.path())}, environment);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.messages.value(0).value(u"buttons"_s).toString(), u"yesno"_s);
        const QByteArray written = test::readFile(file);
        if (exitCode == 6)
            QCOMPARE(written, before);
        else
            QVERIFY(written.contains("\"sShortDate\"=\"dd.MM.yyyy\"") && run.out.startsWith("{\"title\":\"ZELVAN RAPORU\""));
    }

    void versionAndHelp()
    {
        for (const auto &[option, shown] : {std::pair{u"--version"_s, "zelvan " ZELVAN_VERSION}, {u"--help"_s, "--pdf FILE"}}) {
            const test::ZelvanRun run = test::runZelvan({option}, test::runEnvironment(u"/nonexistent/registry.reg"_s));
            QCOMPARE(run.exitCode, 0);
            QVERIFY(option == u"--help" ? run.out.contains(shown) : run.out.startsWith(shown));
        }
    }

    void instanceUnchangedByAllRuns() { QCOMPARE(m_instance.digest(), m_digest); }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
