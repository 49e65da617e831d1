#include "platform/err.h"
#include "platform/messageboxes.h"
#include "startup/connectandshowreport.h"
#include "startup/program.h"
#include "support/fakeservices.h"
#include "support/testinstance.h"

#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

namespace {
const QString ConnectionMessage = u"Veri Tabanına Bağlanılamadı. Lütfen Service Manager Programı İle Server'ınızı "
                                  u"Başlattıktan sonra programı Tekrar Çalıştırın"_s;
const QString Refusal = u"Bu Raporu Görmeye Yetkiniz Yoktur. Lütfen Sistem Yöneticisi'ne Başvurun"_s;
} // namespace

class TestConnectAndShowReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void connectionStringIsBuiltAsItStands();
    void rightTable_data();
    void rightTable();
    void connectionFailures_data();
    void connectionFailures();
    void rejectedRightQueryShowsFourMessages();

private:
    struct Run
    {
        int exitCode = -1;      // -1: returned without ending the program
        bool reportShown = false;
        QStringList texts;
        QList<int> styles;
        QString clipboard;
    };
    Run run(test::TestInstance &instance, const QString &user, const QString &password, qint32 userId,
            const QString &database = u"FIRMA"_s);
};

TestConnectAndShowReport::Run TestConnectAndShowReport::run(test::TestInstance &instance, const QString &user,
                                                            const QString &password, qint32 userId,
                                                            const QString &database)
{
    test::FakeServices fakes;
    Program program(fakes.services(), platform::CommandLine());
    program.vars.DatabaseName = database;
    program.vars.ServerName = instance.path();
    program.vars.DbUserName = user;
    program.vars.DbPassword = password;
    program.vars.UserId = userId;
    Run result;
    program.showReport = [&](Program &) { result.reportShown = true; };
    try {
        ConnectAndShowReport(program);
        if (program.exitCode)
            result.exitCode = program.exitCode;
    } catch (const platform::ProgramEnded &ended) {
        result.exitCode = ended.exitCode;
    }
    result.texts = fakes.messages.texts();
    for (const auto &shown : std::as_const(fakes.messages.shown))
        result.styles.append(shown.style);
    result.clipboard = fakes.clipboard.text;
    return result;
}

void TestConnectAndShowReport::connectionStringIsBuiltAsItStands()
{
    Degiskenler vars;
    vars.DbUserName = u"us;er"_s;
    vars.DbPassword = u" p=w "_s;
    vars.DatabaseName = u"DB"_s;
    vars.ServerName = u"SRV\\INST"_s;
    QCOMPARE(connectionStringFor(vars),
             u"Provider=SQLOLEDB.1;Persist Security Info=False;User ID=us;er;Password= p=w ;Initial Catalog=DB;"
             u"Data Source=SRV\\INST"_s);
}

void TestConnectAndShowReport::rightTable_data()
{
    QTest::addColumn<QString>("carr");
    QTest::addColumn<QString>("carb");
    QTest::addColumn<bool>("allowed");
    QTest::addColumn<QString>("lastQueryColumn");

    QTest::newRow("true true") << u"1"_s << u"1"_s << true << u"CARB"_s;
    QTest::newRow("true NULL") << u"1"_s << u"NULL"_s << true << u"CARB"_s;
    QTest::newRow("true false") << u"1"_s << u"0"_s << false << u"CARB"_s;
    QTest::newRow("false, CARB never asked") << u"0"_s << u"1"_s << false << u"CARR"_s;
    QTest::newRow("NULL, CARB never asked") << u"NULL"_s << u"1"_s << false << u"CARR"_s;
}

void TestConnectAndShowReport::rightTable()
{
    QFETCH(QString, carr);
    QFETCH(QString, carb);
    QFETCH(bool, allowed);
    QFETCH(QString, lastQueryColumn);

    test::TestInstance instance;
    test::addStandardDatabases(instance);
    instance.run(u"Defination_DB"_s, {u"INSERT INTO Kullanici VALUES (-3, 1, %1, %2)"_s.arg(carr, carb)});

    const Run result = run(instance, u"zelvan"_s, u"parola"_s, -3);
    QCOMPARE(result.reportShown, allowed);
    QCOMPARE(result.exitCode, allowed ? -1 : 5);
    QCOMPARE(result.texts, allowed ? QStringList() : QStringList{Refusal});
    if (!allowed)
        QCOMPARE(result.styles.value(0), platform::MsgBox::Information);
    QCOMPARE(result.clipboard,
             u"SELECT %1 FROM Defination_DB.dbo.Kullanici WHERE Firma_ID=1 AND Kullanici_ID=-3"_s.arg(lastQueryColumn));
}

void TestConnectAndShowReport::connectionFailures_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("database");
    QTest::addColumn<qint32>("userId");
    QTest::addColumn<QString>("details");

    QTest::newRow("wrong password") << u"zelvan"_s << u"yanlis"_s << u"FIRMA"_s << 7
                                    << u"Login failed for user 'zelvan'."_s;
    QTest::newRow("unknown login") << u"kimse"_s << u"parola"_s << u"FIRMA"_s << 7
                                   << u"Login failed for user 'kimse'."_s;
    QTest::newRow("login with a quote and semicolon") << u"o'ne;x"_s << u"parola"_s << u"FIRMA"_s << 7
                                                      << u"Login failed for user 'o'ne'."_s;
    QTest::newRow("missing database") << u"zelvan"_s << u"parola"_s << u"YOK"_s << 7
                                      << u"Cannot open database \"YOK\" requested by the login. The login failed."_s;
    QTest::newRow("no Kullanici row") << u"zelvan"_s << u"parola"_s << u"FIRMA"_s << 99
                                      << platform::noCurrentRecordError().description();
}

void TestConnectAndShowReport::connectionFailures()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, database);
    QFETCH(qint32, userId);
    QFETCH(QString, details);

    test::TestInstance instance;
    test::addStandardDatabases(instance);
    const QByteArray before = instance.digest();

    const Run result = run(instance, user, password, userId, database);
    QCOMPARE(result.exitCode, 3);
    QVERIFY(!result.reportShown);
    QCOMPARE(result.texts, (QStringList{ConnectionMessage, u"Hata Ayrıntsı :"_s + details}));
    QCOMPARE(result.styles, (QList<int>{platform::MsgBox::Information, platform::MsgBox::OkOnly}));
    QCOMPARE(instance.digest(), before);
}

void TestConnectAndShowReport::rejectedRightQueryShowsFourMessages()
{
    test::TestInstance instance;
    test::addStandardDatabases(instance);
    instance.run(u"Defination_DB"_s, {u"DROP TABLE Kullanici"_s});

    const Run result = run(instance, u"zelvan"_s, u"parola"_s, 7);
    const QString sql = u"SELECT CARR FROM Defination_DB.dbo.Kullanici WHERE Firma_ID=1 AND Kullanici_ID=7"_s;
    QCOMPARE(result.exitCode, 3);
    QCOMPARE(result.texts.size(), 4);
    QCOMPARE(result.texts[0], u"Invalid object name 'Defination_DB.dbo.Kullanici'."_s);
    QCOMPARE(result.texts[1], sql);
    QCOMPARE(result.texts[2], ConnectionMessage);
    QCOMPARE(result.texts[3], u"Hata Ayrıntsı :"_s + platform::objectClosedError().description());
    QCOMPARE(result.styles.mid(0, 2), (QList<int>{platform::MsgBox::Critical, platform::MsgBox::Critical}));
    QCOMPARE(result.clipboard, sql);
}

QTEST_GUILESS_MAIN(TestConnectAndShowReport)
#include "tst_connectandshowreport.moc"
