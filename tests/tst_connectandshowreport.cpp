#include "platform/err.h"
#include "platform/messageboxes.h"
#include "startup/connectandshowreport.h"
#include "startup/program.h"
#include "support/fakeservices.h"
#include "support/testinstance.h"

#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

class TestConnectAndShowReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void connectionStringIsBuiltAsItStands()
    {
        Degiskenler vars;
        vars.DbUserName = u"us;er"_s;
        vars.DbPassword = u" p=w "_s;
        vars.DatabaseName = u"DB"_s;
        vars.ServerName = u"SRV\\INST"_s;
        QCOMPARE(connectionStringFor(vars), u"Provider=SQLOLEDB.1;Persist Security Info=False;User ID=us;er;Password= p=w ;"
                                            u"Initial Catalog=DB;Data Source=SRV\\INST"_s);
    }

    // The right table and the failures after the connection; those of the connection itself run end to end.
    void outcomes_data()
    {
        QTest::addColumn<QString>("statement");  // run on Defination_DB first
        QTest::addColumn<int>("exitCode");       // -1: the report is shown
        QTest::addColumn<QStringList>("messages");  // "style:text"; 16 critical, 64 information, 0 OK only
        QTest::addColumn<QString>("right");     // the right last asked, whose query is left on the clipboard

        const QString user = u"INSERT INTO Kullanici VALUES (-3, 1, %1, %2)"_s;
        const QString refusal = u"64:Bu Raporu Görmeye Yetkiniz Yoktur. Lütfen Sistem Yöneticisi'ne Başvurun"_s;
        const QString connection = u"64:Veri Tabanına Bağlanılamadı. Lütfen Service Manager Programı İle Server'ınızı "
                                   u"Başlattıktan sonra programı Tekrar Çalıştırın"_s;
        const QString details = u"0:Hata Ayrıntsı :"_s;
        QTest::newRow("CARR true, CARB NULL") << user.arg(u"1"_s, u"NULL"_s) << -1 << QStringList() << u"CARB"_s;
        QTest::newRow("CARR true, CARB false") << user.arg(u"1"_s, u"0"_s) << 5 << QStringList{refusal} << u"CARB"_s;
        QTest::newRow("CARR NULL: CARB never asked") << user.arg(u"NULL"_s, u"1"_s) << 5 << QStringList{refusal} << u"CARR"_s;
        QTest::newRow("no Kullanici row")
            << u"DELETE FROM Kullanici"_s << 3
            << QStringList{connection, details + platform::noCurrentRecordError().description()} << u"CARR"_s;
        QTest::newRow("rejected right query")
            << u"DROP TABLE Kullanici"_s << 3
            << QStringList{u"16:Invalid object name 'Defination_DB.dbo.Kullanici'."_s,
                           u"16:SELECT CARR FROM Defination_DB.dbo.Kullanici WHERE Firma_ID=1 AND Kullanici_ID=-3"_s, connection,
                           details + platform::objectClosedError().description()}
            << u"CARR"_s;
    }
    void outcomes()
    {
        QFETCH(QString, statement);
        QFETCH(int, exitCode);
        QFETCH(QString, right);
        test::TestInstance instance;
        test::addStandardDatabases(instance);
        instance.run(u"Defination_DB"_s, {statement});
        test::FakeServices fakes;
        Program program(fakes.services(), platform::CommandLine());
        program.vars.DatabaseName = u"FIRMA"_s;
        program.vars.ServerName = instance.path();
        program.vars.DbUserName = u"zelvan"_s;
        program.vars.DbPassword = u"parola"_s;
        program.vars.UserId = -3;
        bool reportShown = false;
        program.showReport = [&reportShown](Program &) { reportShown = true; };
        try {
            ConnectAndShowReport(program);
            QCOMPARE(program.exitCode, qMax(exitCode, 0));
        } catch (const platform::ProgramEnded &ended) {
            QCOMPARE(ended.exitCode, exitCode);
        }
        QCOMPARE(reportShown, exitCode == -1);
        QStringList messages;
        for (const auto &shown : std::as_const(fakes.messages.shown))
            messages.append(QString::number(shown.style) + u':' + shown.text);
        QTEST(messages, "messages");
        QCOMPARE(fakes.clipboard.text,
                 u"SELECT %1 FROM Defination_DB.dbo.Kullanici WHERE Firma_ID=1 AND Kullanici_ID=-3"_s.arg(right));
    }
};

QTEST_GUILESS_MAIN(TestConnectAndShowReport)
#include "tst_connectandshowreport.moc"
