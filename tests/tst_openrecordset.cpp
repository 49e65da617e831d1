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
    void initTestCase() { test::addStandardDatabases(m_instance); }
    void init();
    void opensAndPutsTheSqlOnTheClipboard();
    void failures_data();
    void failures();

private:
    test::TestInstance m_instance;
    std::unique_ptr<test::FakeServices> m_fakes;
    std::unique_ptr<Program> m_program;
};

void TestOpenRecordset::init()
{
    m_fakes = std::make_unique<test::FakeServices>();
    m_program = std::make_unique<Program>(m_fakes->services(), platform::CommandLine());
    m_program->vars.DbConnection = std::make_shared<platform::Connection>();
    m_program->vars.DbConnection->open(m_instance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));
}

void TestOpenRecordset::opensAndPutsTheSqlOnTheClipboard()
{
    const QString sql = u"SELECT SUM(Bakiye) as Toplam FROM CB WHERE  Bakiye<0"_s;
    platform::Recordset rs;
    OpenRecordset(*m_program, rs, sql);
    QCOMPARE(rs.state(), int(platform::Recordset::StateOpen));
    QVERIFY(rs.field(u"Toplam"_s).isNull());
    QCOMPARE(m_fakes->clipboard.text, sql);
    QCOMPARE(m_fakes->clipboard.clears, 1);
    QVERIFY(m_fakes->messages.shown.isEmpty());

    // Reopening replaces the previous result.
    OpenRecordset(*m_program, rs, u"SELECT CARR FROM Defination_DB.dbo.Kullanici"_s);
    QCOMPARE(rs.fieldName(0), u"CARR"_s);
    QVERIFY(rs.activeConnection() == m_program->vars.DbConnection);
}

void TestOpenRecordset::failures_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("error");

    QTest::newRow("rejected query") << true << u"SELECT SUM(Borc) as Toplam FROM YOKTABLO"_s
                                    << u"Invalid object name 'YOKTABLO'."_s;
    QTest::newRow("no connection") << false << u"SELECT 1"_s << platform::objectClosedError().description();
}

void TestOpenRecordset::failures()
{
    QFETCH(bool, connected);
    QFETCH(QString, sql);
    QFETCH(QString, error);
    if (!connected)
        m_program->vars.DbConnection.reset();
    platform::Recordset rs;
    OpenRecordset(*m_program, rs, u"SELECT 1 AS bir"_s);
    m_fakes->messages.shown.clear();

    OpenRecordset(*m_program, rs, sql);  // returns normally: the caller is not told
    QCOMPARE(rs.state(), int(platform::Recordset::StateClosed));
    QCOMPARE(m_fakes->messages.texts(), (QStringList{error, sql}));
    QCOMPARE(m_fakes->messages.shown[0].style, platform::MsgBox::Critical);
    QCOMPARE(m_fakes->messages.shown[1].style, platform::MsgBox::Critical);
    QCOMPARE(m_fakes->clipboard.text, sql);
    QVERIFY(m_program->vars.DbConnection);  // created, unopened, when there was none
    try {
        rs.field(u"Toplam"_s);
        QFAIL("a closed recordset has no fields");
    } catch (const platform::Err &e) {
        QCOMPARE(e.number(), platform::ErrNo::ObjectClosed);
    }
}

QTEST_GUILESS_MAIN(TestOpenRecordset)
#include "tst_openrecordset.moc"
