#include "database/recordset.h"
#include "support/errcheck.h"
#include "support/testinstance.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace zelvan;
using namespace zelvan::database;
using namespace Qt::Literals::StringLiterals;
namespace ErrNo = runtime::ErrNo;

namespace {
// A field as its TypeName and text, or "Null".
QString typed(const runtime::Variant &v) { return v.isNull() ? u"Null"_s : v.typeName() + u':' + v.toString(); }
} // namespace

// The login and the databases match without regard to case.
class TestEmbeddedInstance : public QObject
{
    Q_OBJECT

    test::TestInstance m_instance;
    QByteArray m_digest;

    std::unique_ptr<Recordset> open(const QString &sql)
    {
        auto connection = std::make_shared<Connection>();
        connection->open(m_instance.connectionString(u"firma"_s, u"ZeLvAn"_s, u"parola"_s));
        auto rs = std::make_unique<Recordset>();
        rs->setActiveConnection(connection);
        rs->setSource(sql);
        rs->open();
        return rs;
    }

private Q_SLOTS:
    void initTestCase()
    {
        test::addStandardDatabases(m_instance);
        m_instance.createDatabase(u"Turler"_s, {
            u"CREATE TABLE T(b BIT, i INT, m MONEY, d DECIMAL(18,2), d4 NUMERIC(10,4), f FLOAT, dt DATETIME, s NVARCHAR(20))"_s,
            u"INSERT INTO T VALUES (1, 70000, 876543210987.654, 12.5, 3, 0.1, '2026-03-01 14:05:09', 'Şişli'), "
            u"(0, 0, 0.0001, -7, 1.23456, -2.5, '2026-03-02', '')"_s,
            u"INSERT INTO T DEFAULT VALUES"_s,
            u"CREATE TABLE C(v MONEY)"_s,
            u"WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM n WHERE x<1000000) INSERT INTO C SELECT 0.01 FROM n"_s,
            u"CREATE TABLE W(d30 DECIMAL(38,30), d38 DECIMAL(38,38))"_s,
            u"INSERT INTO W VALUES (1.25, 0.5), (1.5e-28, 2.5e-28)"_s,
            u"CREATE TABLE B(Id INT, m MONEY, d DECIMAL(38,0))"_s,
            u"INSERT INTO B VALUES (1, 5e28, 5e28), (1, 5e28, 5e28)"_s});
        QVERIFY(QFile(QDir(m_instance.path()).filePath(u"Bos.sqlite"_s)).open(QIODevice::WriteOnly));
        m_digest = m_instance.digest();
    }

    // An empty file is no database, though SQLite would open it as one: the login fails. An unknown login and a
    // missing database run end to end (tst_badinput).
    void emptyDatabaseFile()
    {
        Connection connection;
        try {
            connection.open(m_instance.connectionString(u"Bos"_s, u"zelvan"_s, u"parola"_s));
            QFAIL("the login was accepted");
        } catch (const runtime::Err &e) {
            QCOMPARE(e.number(), ErrNo::OpenFailed);
            QVERIFY2(e.description().contains(u"dosya boş"_s), qPrintable(e.description()));
        }
        QVERIFY(!connection.isOpen());
    }

    // Values as read, by SQL Server's type; sums exact where doubles drift. The plain types, NULLs and a SUM over
    // MONEY reach the client through the TDS test server too (tst_tdsserver), a sum of no rows the report
    // (tst_badinput): here what only the embedded engine decides.
    void values_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("result");
        QTest::newRow("NUMERIC rounds to its scale") << u"SELECT d4 FROM Turler.dbo.T WHERE rowid=2"_s << u"Decimal:1.2346"_s;
        QTest::newRow("a million cents") << u"SELECT SUM(v) as Toplam FROM Turler.dbo.C"_s << u"Currency:10000"_s;
        // The Decimal holds 28 places: a wider declared scale reads as 28, rounded half to even.
        QTest::newRow("a half in place 29 rounds up to even")
            << u"SELECT d30 FROM Turler.dbo.W WHERE rowid=2"_s << u"Decimal:0.0000000000000000000000000002"_s;
        QTest::newRow("a half in place 29 rounds down to even")
            << u"SELECT d38 FROM Turler.dbo.W WHERE rowid=2"_s << u"Decimal:0.0000000000000000000000000002"_s;
        QTest::newRow("SUM keeps 28 places") << u"SELECT SUM(d30) FROM Turler.dbo.W"_s << u"Decimal:1.2500000000000000000000000002"_s;
    }
    void values()
    {
        QFETCH(QString, sql);
        QTEST(typed(open(sql)->field(0)), "result");
    }

    void refusedQueries_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing database")
            << u"SELECT * FROM YokDB.dbo.T"_s << u"Database 'YokDB' does not exist. Make sure that the name is entered correctly."_s;
        QTest::newRow("a write") << u"DELETE FROM CB"_s << u"Bu program veritabanına yazmaz."_s;
        // A SUM beyond the Decimal's range names the summed column's type as SQL Server does.
        QTest::newRow("MONEY sum overflows") << u"SELECT Id, SUM(m) FROM Turler.dbo.B GROUP BY Id"_s
                                             << u"Arithmetic overflow error converting expression to data type money."_s;
        QTest::newRow("DECIMAL sum overflows") << u"SELECT Id, SUM(d) FROM Turler.dbo.B GROUP BY Id"_s
                                               << u"Arithmetic overflow error converting expression to data type numeric."_s;
    }
    void refusedQueries()
    {
        QFETCH(QString, sql);
        QFETCH(QString, text);
        try {
            open(sql);
            QFAIL("the statement ran");
        } catch (const runtime::Err &e) {
            QCOMPARE(e.number(), ErrNo::CommandFailed);
            QVERIFY2(e.description().contains(text), qPrintable(e.description()));
        }
    }

    // Nothing the tests did, the refused write included, changed a file.
    void cleanupTestCase()
    {
        QCOMPARE(m_instance.digest(), m_digest);
    }
};

QTEST_GUILESS_MAIN(TestEmbeddedInstance)
#include "tst_embeddedinstance.moc"
