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
    QTest::newRow("server that is no instance") << u"FIRMA|%1/yok-boyle-bir-sunucu|7|zelvan|parola"_s.arg(dir) << 3
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
