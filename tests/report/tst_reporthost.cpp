#include "program/program.h"
#include "report/reporthost.h"
#include "reportengine/reportviewer.h"
#include "support/fakeservices.h"
#include "support/testinstance.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::report;
using namespace Qt::Literals::StringLiterals;

// The report shown in its viewer, then computed again (F5) on the same connection.
class TestReportHost : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refresh_data()
    {
        QTest::addColumn<QString>("change");  // run on the company database between the two
        QTest::addColumn<QString>("cash");    // the cash figure after the refresh
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("new cash entry") << u"INSERT INTO KB VALUES (2, -250.5)"_s << u"350,50"_s << QStringList();
        QTest::newRow("table gone: the old figures stay")
            << u"DROP TABLE KB"_s << u"100,00"_s
            << QStringList{u"Invalid object name 'KB'."_s, u"SELECT  SUM(Bakiye) as Toplam FROM KB "_s};
    }
    void refresh()
    {
        QFETCH(QString, change);
        test::TestInstance instance;
        test::addStandardDatabases(instance);
        instance.run(u"FIRMA"_s, {u"INSERT INTO KB VALUES (1, -100)"_s});
        test::FakeServices fakes;
        program::Program program(fakes.services(), program::CommandLine());
        program.vars.DbConnection = std::make_shared<database::Connection>();
        program.vars.DbConnection->open(instance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));
        ReportHost host;
        host.show(program);
        QCOMPARE(host.report()->page().fieldText(u"Kasa_bakiyeleri_toplamı"_s), u"100,00"_s);
        // SQLite lets nobody write while a read is under way: the last figure's query is put aside, as a
        // server's other users would not have to wait for.
        program.vars.SharedRecordset->close();
        instance.run(u"FIRMA"_s, {change});
        fakes.messages.shown.clear();
        emit host.viewer()->refreshRequested();
        QTEST(host.viewer()->page().fieldText(u"Kasa_bakiyeleri_toplamı"_s), "cash");
        QTEST(fakes.messages.texts(), "messages");
        QVERIFY(host.viewer()->isVisible());
    }
};

QTEST_MAIN(TestReportHost)
#include "tst_reporthost.moc"
