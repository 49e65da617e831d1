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
    // The right table and the failures after the connection (whose own failures run end to end).
    void outcomes_data()
    {
        QTest::addColumn<QString>("statement");   // run on Defination_DB first
        QTest::addColumn<QStringList>("outcome");  // "style:text" of each message, then the clipboard and the exit code
        const QString user = u"INSERT INTO Kullanici VALUES (-3, 1, %1, %2)"_s, details = u"0:Hata Ayrıntsı :"_s;
        const QString query = u"SELECT %1 FROM Defination_DB.dbo.Kullanici WHERE Firma_ID=1 AND Kullanici_ID=-3"_s;
        const QString carr = query.arg(u"CARR"_s), carb = query.arg(u"CARB"_s);
        const QString refusal = u"64:Bu Raporu Görmeye Yetkiniz Yoktur. Lütfen Sistem Yöneticisi'ne Başvurun"_s;
        const QString connection = u"64:Veri Tabanına Bağlanılamadı. Lütfen Service Manager Programı İle Server'ınızı "
                                   u"Başlattıktan sonra programı Tekrar Çalıştırın"_s;
        QTest::newRow("CARR true, CARB NULL") << user.arg(u"1"_s, u"NULL"_s) << QStringList{u"-1:report"_s, carb, u"0"_s};
        QTest::newRow("CARR true, CARB false") << user.arg(u"1"_s, u"0"_s) << QStringList{refusal, carb, u"5"_s};
        QTest::newRow("CARR NULL: CARB never asked") << user.arg(u"NULL"_s, u"1"_s) << QStringList{refusal, carr, u"5"_s};
        QTest::newRow("no Kullanici row")
            << u"DELETE FROM Kullanici"_s << QStringList{connection, details + runtime::noCurrentRecordError().description(), carr, u"3"_s};
        QTest::newRow("rejected right query")
            << u"DROP TABLE Kullanici"_s << QStringList{u"16:Invalid object name 'Defination_DB.dbo.Kullanici'."_s, u"16:"_s + carr,
                                                         connection, details + runtime::objectClosedError().description(), carr, u"3"_s};
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
        program.vars.DatabaseName = u"FIRMA"_s; program.vars.ServerName = instance.path(); program.vars.UserId = -3;
        program.vars.DbUserName = u"us er"_s; program.vars.DbPassword = u" p=w "_s;  // as they stand: nothing trimmed or quoted
        program.showReport = [&fakes](Program &) { fakes.messages.shown.append({u"report"_s, -1, {}, 0}); };
        try { ConnectAndShowReport(program); }
        catch (const platform::ProgramEnded &ended) { program.exitCode = ended.exitCode; }
        QCOMPARE(connectionStringFor(program.vars), instance.connectionString(u"FIRMA"_s, u"us er"_s, u" p=w "_s));
        QStringList outcome;
        for (const auto &shown : std::as_const(fakes.messages.shown))
            outcome.append(QString::number(shown.style) + u':' + shown.text);
        QTEST(outcome << fakes.clipboard.text << QString::number(program.exitCode), "outcome");
    }
};

QTEST_GUILESS_MAIN(TestConnectAndShowReport)
#include "tst_connectandshowreport.moc"
