#include "platform/err.h"
#include "platform/messageboxes.h"
#include "platform/recordset.h"
#include "startup/openrecordset.h"
#include "startup/program.h"
#include "support/errcheck.h"
#include "support/fakeservices.h"
#include "support/testinstance.h"

#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

class TestOpenRecordset : public QObject
{
    Q_OBJECT

    test::TestInstance m_instance;

private Q_SLOTS:
    void initTestCase() { test::addStandardDatabases(m_instance); }

    // Each call puts its SQL on the clipboard; a failure shows two messages, closes the recordset and
    // returns normally.
    void openRecordset_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("error");  // none: the query opens
        QTest::newRow("opens") << true << u"SELECT SUM(Bakiye) as Toplam FROM CB WHERE  Bakiye<0"_s << QString();
        QTest::newRow("rejected query") << true << u"SELECT SUM(Borc) as Toplam FROM YOKTABLO"_s
                                        << u"Invalid object name 'YOKTABLO'."_s;
        QTest::newRow("no connection") << false << u"SELECT 1"_s << platform::objectClosedError().description();
    }
    void openRecordset()
    {
        QFETCH(bool, connected);
        QFETCH(QString, sql);
        QFETCH(QString, error);
        test::FakeServices fakes;
        Program program(fakes.services(), platform::CommandLine());
        if (connected) {
            program.vars.DbConnection = std::make_shared<platform::Connection>();
            program.vars.DbConnection->open(m_instance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));
        }
        platform::Recordset rs;
        OpenRecordset(program, rs, u"SELECT 1 AS bir"_s);
        fakes.messages.shown.clear();

        OpenRecordset(program, rs, sql);
        QCOMPARE(fakes.clipboard.text, sql);
        QCOMPARE(fakes.clipboard.clears, 2);
        QVERIFY(program.vars.DbConnection);  // created, unopened, when there was none
        QCOMPARE(fakes.messages.texts(), (error.isEmpty() ? QStringList() : QStringList{error, sql}));
        for (const auto &shown : std::as_const(fakes.messages.shown))
            QCOMPARE(shown.style, platform::MsgBox::Critical);
        if (error.isEmpty()) {
            QVERIFY(rs.activeConnection() == program.vars.DbConnection);
            QVERIFY(rs.field(u"Toplam"_s).isNull());  // the previous result is gone
        } else {
            QCOMPARE(test::errNumberOf([&] { rs.field(u"Toplam"_s); }), platform::ErrNo::ObjectClosed);
        }
    }
};

QTEST_GUILESS_MAIN(TestOpenRecordset)
#include "tst_openrecordset.moc"
