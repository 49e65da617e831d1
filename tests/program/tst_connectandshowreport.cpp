#include "program/connectandshowreport.h"
#include "program/program.h"
#include "runtime/err.h"
#include "support/fakeservices.h"
#include "support/testinstance.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::program;
using namespace Qt::Literals::StringLiterals;

class TestConnectAndShowReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The right to the report, and the failures after the connection (whose own failures, and a user without
    // a rights row, run end to end). The clipboard holds the last query.
    void outcomes_data()
    {
        QTest::addColumn<QString>("statement");  // run on Defination_DB first
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QList<int>>("styles");
        QTest::addColumn<bool>("reportShown");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<int>("exitCode");
        const QString user = u"INSERT INTO Kullanici VALUES (-3, 1, %1, %2)"_s, details = u"Hata Ayrıntsı :"_s;
        const QString query = u"SELECT %1 FROM Defination_DB.dbo.Kullanici WHERE Firma_ID=1 AND Kullanici_ID=-3"_s;
        const QString carr = query.arg(u"CARR"_s), carb = query.arg(u"CARB"_s);
        const QString refusal = u"Bu Raporu Görmeye Yetkiniz Yoktur. Lütfen Sistem Yöneticisi'ne Başvurun"_s;
        const QString connection = u"Veri Tabanına Bağlanılamadı. Lütfen Service Manager Programı İle Server'ınızı "
                                   u"Başlattıktan sonra programı Tekrar Çalıştırın"_s;
        QTest::newRow("CARR true, CARB NULL") << user.arg(u"1"_s, u"NULL"_s) << QStringList() << QList<int>() << true << carb << 0;
        QTest::newRow("CARR true, CARB false") << user.arg(u"1"_s, u"0"_s) << QStringList{refusal} << QList{64} << false << carb << 5;
        QTest::newRow("CARR NULL: CARB never asked") << user.arg(u"NULL"_s, u"1"_s) << QStringList{refusal} << QList{64} << false
                                                     << carr << 5;
        QTest::newRow("rejected right query")
            << u"DROP TABLE Kullanici"_s
            << QStringList{u"Invalid object name 'Defination_DB.dbo.Kullanici'."_s, carr, connection,
                           details + runtime::objectClosedError().description()}
            << QList{16, 16, 64, 0} << false << carr << 3;
    }
    void outcomes()
    {
        QFETCH(QString, statement);
        test::TestInstance instance;
        test::addStandardDatabases(instance);
        instance.run(u"Defination_DB"_s, {statement});
        instance.addLogin(u"us er"_s, u" p=w "_s);
        test::FakeServices fakes;
        Program program(fakes.services(), CommandLine());
        program.vars.DatabaseName = u"FIRMA"_s;
        program.vars.ServerName = instance.path();
        program.vars.UserId = -3;
        program.vars.DbUserName = u"us er"_s;  // as they stand: nothing trimmed or quoted
        program.vars.DbPassword = u" p=w "_s;
        bool reportShown = false;
        program.showReport = [&reportShown](Program &) { reportShown = true; };
        const int exitCode = test::exitCodeOf([&program] { ConnectAndShowReport(program); });
        QCOMPARE(connectionStringFor(program.vars), instance.connectionString(u"FIRMA"_s, u"us er"_s, u" p=w "_s));
        QList<int> styles;
        for (const auto &shown : std::as_const(fakes.messages.shown))
            styles.append(shown.style);
        QTEST(fakes.messages.texts(), "messages");
        QTEST(styles, "styles");
        QTEST(reportShown, "reportShown");
        QTEST(fakes.clipboard.text, "clipboard");
        QTEST(exitCode == -1 ? program.exitCode : exitCode, "exitCode");
    }
};

QTEST_GUILESS_MAIN(TestConnectAndShowReport)
#include "tst_connectandshowreport.moc"
