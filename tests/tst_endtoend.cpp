#include "support/temporaryregistry.h"
#include "support/testinstance.h"
#include "support/zelvanrun.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

namespace {
const QString ConnectionMessage = u"Veri Tabanına Bağlanılamadı. Lütfen Service Manager Programı İle Server'ınızı "
                                  u"Başlattıktan sonra programı Tekrar Çalıştırın"_s;
}

class TestEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void outcomes_data();
    void outcomes();
    void usageErrorsShowNoMessage_data();
    void usageErrorsShowNoMessage();
    void regionalSettingsGuard_data();
    void regionalSettingsGuard();
    void companySettingsFailures_data();
    void companySettingsFailures();
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
    m_instance.addLogin(u"o'ne;x"_s, u"p;w"_s);
    m_instance.run(u"Defination_DB"_s, {u"INSERT INTO Kullanici VALUES (8, 1, 0, 1)"_s,
                                        u"INSERT INTO Kullanici VALUES (9, 1, 1, NULL)"_s});
    QFile garbage(QDir(m_instance.path()).filePath(u"BOZUK.sqlite"_s));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write("this is not a database");
    garbage.close();
    m_digest = m_instance.digest();
    m_registry = m_dir.filePath(u"registry.reg"_s);
    test::writeRegistry(m_registry);
}

void TestEndToEnd::outcomes_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("texts");   // message texts; an entry ending in '*' matches a prefix
    QTest::addColumn<QStringList>("icons");

    const QString dir = m_instance.path();
    QTest::newRow("too few fields") << u"DB1|SRV1"_s << 2 << QStringList{u"Eksik Paremetre Kullanımı "_s}
                                    << QStringList{u"critical"_s};
    QTest::newRow("user id not a number") << u"FIRMA|%1|yedi|zelvan|parola"_s.arg(dir) << 2
                                          << QStringList{u"Eksik Paremetre Kullanımı "_s} << QStringList{u"critical"_s};
    QTest::newRow("wrong password") << u"FIRMA|%1|7|zelvan|yanlis"_s.arg(dir) << 3
                                    << QStringList{ConnectionMessage, u"Hata Ayrıntsı :Login failed for user 'zelvan'."_s}
                                    << QStringList{u"information"_s, u"none"_s};
    QTest::newRow("login with quote and semicolon") << u"FIRMA|%1|7|o'ne;x|p;w"_s.arg(dir) << 3
                                                    << QStringList{ConnectionMessage, u"Hata Ayrıntsı :Login failed for user 'o'ne'."_s}
                                                    << QStringList{u"information"_s, u"none"_s};
    QTest::newRow("server that is no instance") << u"FIRMA|127.0.0.1,1|7|zelvan|parola"_s << 3
                                                << QStringList{ConnectionMessage, u"Hata Ayrıntsı :*"_s}
                                                << QStringList{u"information"_s, u"none"_s};
    QTest::newRow("missing database") << u"YOKDB|%1|7|zelvan|parola"_s.arg(dir) << 3
                                      << QStringList{ConnectionMessage,
                                                     u"Hata Ayrıntsı :Cannot open database \"YOKDB\" requested by the login. The login failed."_s}
                                      << QStringList{u"information"_s, u"none"_s};
    QTest::newRow("not a database file") << u"bozuk|%1|7|zelvan|parola"_s.arg(dir) << 3
                                         << QStringList{ConnectionMessage, u"Hata Ayrıntsı :*"_s}
                                         << QStringList{u"information"_s, u"none"_s};
    QTest::newRow("no Kullanici row") << u"FIRMA|%1|77|zelvan|parola"_s.arg(dir) << 3
                                      << QStringList{ConnectionMessage, u"Hata Ayrıntsı :*"_s}
                                      << QStringList{u"information"_s, u"none"_s};
    QTest::newRow("right refused") << u"FIRMA|%1|8|zelvan|parola"_s.arg(dir) << 5
                                   << QStringList{u"Bu Raporu Görmeye Yetkiniz Yoktur. Lütfen Sistem Yöneticisi'ne Başvurun"_s}
                                   << QStringList{u"information"_s};
    QTest::newRow("permitted, CARB NULL") << u"FIRMA|%1|9|zelvan|parola"_s.arg(dir) << 0 << QStringList()
                                          << QStringList();
}

void TestEndToEnd::outcomes()
{
    QFETCH(QString, line);
    QFETCH(int, exitCode);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, icons);

    const test::ZelvanRun run = test::runZelvan({u"--json"_s, u"--"_s, line}, test::runEnvironment(m_registry));
    QVERIFY2(!run.crashed, run.err.constData());
    QCOMPARE(run.exitCode, exitCode);
    const QStringList actual = run.messageTexts();
    QCOMPARE(actual.size(), texts.size());
    for (int i = 0; i < texts.size(); ++i) {
        if (texts[i].endsWith(u'*'))
            QVERIFY2(actual[i].startsWith(texts[i].chopped(1)) && actual[i].size() > texts[i].size(), qPrintable(actual[i]));
        else
            QCOMPARE(actual[i], texts[i]);
        QCOMPARE(run.messages[i].value(u"icon"_s).toString(), icons[i]);
        QCOMPARE(run.messages[i].value(u"buttons"_s).toString(), u"ok"_s);
        QCOMPARE(run.messages[i].value(u"caption"_s).toString(), u"Zelvan"_s);
    }
}

void TestEndToEnd::usageErrorsShowNoMessage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown option") << QStringList{u"--renkli"_s};
    QTest::newRow("pdf without a file") << QStringList{u"--pdf"_s};
}

void TestEndToEnd::usageErrorsShowNoMessage()
{
    QFETCH(QStringList, arguments);
    const test::ZelvanRun run = test::runZelvan(arguments, test::runEnvironment(m_registry));
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.messages.isEmpty());
    QVERIFY(run.err.contains("usage: zelvan"));
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

void TestEndToEnd::companySettingsFailures_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("lastMessage");
    QTest::newRow("missing column, no") << u"ALTER TABLE sysfrmlng DROP COLUMN KasaHareketListeTipi"_s << u"no"_s
                                        << u"Norvent Tanımlama*"_s;
    QTest::newRow("missing column, yes, no updater") << u"ALTER TABLE sysfrmlng DROP COLUMN DefKDV"_s << u"yes"_s
                                                     << u"Sistem Bu Haliyle*"_s;
    QTest::newRow("no company row") << u"DELETE FROM sysfrmlng"_s << QString() << u"Norvent Tanımlam Veritabanıyla*"_s;
}

void TestEndToEnd::companySettingsFailures()
{
    QFETCH(QString, statement);
    QFETCH(QString, answers);
    QFETCH(QString, lastMessage);
    test::TestInstance instance;
    test::addStandardDatabases(instance);
    instance.run(u"Defination_DB"_s, {statement});
    QProcessEnvironment environment = test::runEnvironment(m_registry);
    if (!answers.isEmpty())
        environment.insert(u"ZELVAN_ANSWERS"_s, answers);
    const test::ZelvanRun run = test::runZelvan({u"--json"_s, u"--"_s, u"FIRMA|%1|7|zelvan|parola"_s.arg(instance.path())},
                                                environment);
    QCOMPARE(run.exitCode, 4);
    QVERIFY(run.out.isEmpty());
    QVERIFY(!run.messages.isEmpty());
    QVERIFY2(run.messageTexts().last().startsWith(lastMessage.chopped(1)), qPrintable(run.messageTexts().last()));
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
