#include "program/openrecordset.h"
#include "program/program.h"
#include "support/errcheck.h"
#include "support/fakeservices.h"
#include "support/testinstance.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::program;
using namespace Qt::Literals::StringLiterals;

class TestOpenRecordset : public QObject
{
    Q_OBJECT

    test::TestInstance m_instance;

private Q_SLOTS:
    void initTestCase() { test::addStandardDatabases(m_instance); }

    // Each call puts its SQL on the clipboard and opens the recordset again; a failure shows the error and the
    // SQL, closes the recordset and returns normally (a rejected query runs in tst_connectandshowreport).
    void openRecordset()
    {
        test::FakeServices fakes;
        Program program(fakes.services(), CommandLine());
        program.vars.DbConnection = std::make_shared<database::Connection>();
        program.vars.DbConnection->open(m_instance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));
        database::Recordset rs;
        OpenRecordset(program, rs, u"SELECT 1 AS bir"_s);
        const QString sql = u"SELECT SUM(Bakiye) as Toplam FROM CB WHERE  Bakiye<0"_s;
        OpenRecordset(program, rs, sql);
        QCOMPARE(fakes.clipboard.text, sql);
        QCOMPARE(fakes.clipboard.clears, 2);
        QCOMPARE(fakes.messages.texts(), QStringList());
        QVERIFY(rs.field(u"Toplam"_s).isNull());

        // Without a connection the program gets one, created and left unopened; the recordset, still open on
        // the old one, is closed.
        program.vars.DbConnection.reset();
        OpenRecordset(program, rs, u"SELECT 1"_s);
        QVERIFY(program.vars.DbConnection);
        QVERIFY(!program.vars.DbConnection->isOpen());
        QCOMPARE(fakes.messages.texts(), (QStringList{runtime::objectClosedError().description(), u"SELECT 1"_s}));
        QCOMPARE(test::errNumberOf([&] { rs.field(u"Toplam"_s); }), runtime::ErrNo::ObjectClosed);
    }
};

QTEST_GUILESS_MAIN(TestOpenRecordset)
#include "tst_openrecordset.moc"
