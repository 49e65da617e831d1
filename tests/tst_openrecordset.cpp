#include "platform/err.h"
#include "platform/messageboxes.h"
#include "platform/recordset.h"
#include "startup/openrecordset.h"
#include "startup/program.h"
#include "support/fakeservices.h"
#include "support/testinstance.h"

#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

class TestOpenRecordset : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensAndPutsTheSqlOnTheClipboard();
    void failures_data();
    void failures();
};

void TestOpenRecordset::opensAndPutsTheSqlOnTheClipboard()
{
    test::TestInstance instance;
    test::addStandardDatabases(instance);
    test::FakeServices fakes;
    Program program(fakes.services(), platform::CommandLine());
    program.vars.DbConnection = std::make_shared<platform::Connection>();
    program.vars.DbConnection->open(instance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));

    platform::Recordset rs;
    OpenRecordset(program, rs, u"SELECT SUM(Bakiye) as Toplam FROM CB WHERE  Bakiye<0"_s);
    QCOMPARE(rs.state(), int(platform::Recordset::StateOpen));
    QVERIFY(rs.field(u"Toplam"_s).isNull());
    QCOMPARE(fakes.clipboard.text, u"SELECT SUM(Bakiye) as Toplam FROM CB WHERE  Bakiye<0"_s);
    QCOMPARE(fakes.clipboard.clears, 1);
    QVERIFY(fakes.messages.shown.isEmpty());

    // Reopening replaces the previous result.
    OpenRecordset(program, rs, u"SELECT CARR FROM Defination_DB.dbo.Kullanici WHERE Firma_ID=1 AND Kullanici_ID=7"_s);
    QCOMPARE(rs.fieldName(0), u"CARR"_s);
    QVERIFY(rs.activeConnection() == program.vars.DbConnection);
}

void TestOpenRecordset::failures_data()
{
    QTest::addColumn<bool>("connect");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("error");

    QTest::newRow("rejected query") << true << u"SELECT SUM(Borc) as Toplam FROM YOKTABLO"_s
                                    << u"Invalid object name 'YOKTABLO'."_s;
    QTest::newRow("unopened connection") << false << u"SELECT 1"_s << platform::objectClosedError().description();
}

void TestOpenRecordset::failures()
{
    QFETCH(bool, connect);
    QFETCH(QString, sql);
    QFETCH(QString, error);

    test::TestInstance instance;
    test::addStandardDatabases(instance);
    test::FakeServices fakes;
    Program program(fakes.services(), platform::CommandLine());
    if (connect) {
        program.vars.DbConnection = std::make_shared<platform::Connection>();
        program.vars.DbConnection->open(instance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));
    }
    platform::Recordset rs;
    OpenRecordset(program, rs, u"SELECT 1 AS bir"_s);
    if (connect)
        QCOMPARE(rs.state(), int(platform::Recordset::StateOpen));
    fakes.messages.shown.clear();

    OpenRecordset(program, rs, sql);  // returns normally: the caller is not told
    QCOMPARE(rs.state(), int(platform::Recordset::StateClosed));
    QCOMPARE(fakes.messages.texts(), (QStringList{error, sql}));
    QCOMPARE(fakes.messages.shown[0].style, platform::MsgBox::Critical);
    QCOMPARE(fakes.messages.shown[1].style, platform::MsgBox::Critical);
    QCOMPARE(fakes.clipboard.text, sql);
    QVERIFY(program.vars.DbConnection);  // created, unopened, when there was none

    // The caller's next read fails on the closed recordset.
    try {
        rs.field(u"Toplam"_s);
        QFAIL("a closed recordset has no fields");
    } catch (const platform::Err &e) {
        QCOMPARE(e.number(), platform::ErrNo::ObjectClosed);
    }
}

QTEST_GUILESS_MAIN(TestOpenRecordset)
#include "tst_openrecordset.moc"
