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
        m_instance.addLogin(u"ZELVAN"_s, u"ikinci"_s);  // a later row with the same name never counts
        m_instance.createDatabase(u"Turler"_s, {
            u"CREATE TABLE T(b BIT, i INT, m MONEY, d DECIMAL(18,2), d4 NUMERIC(10,4), f FLOAT, dt DATETIME, s NVARCHAR(20))"_s,
            u"INSERT INTO T VALUES (1, 70000, 876543210987.654, 12.5, 3, 0.1, '2026-03-01 14:05:09', 'Şişli'), "
            u"(0, 0, 0.0001, -7, 1.23456, -2.5, '2026-03-02', '')"_s,
            u"INSERT INTO T DEFAULT VALUES"_s,
            u"CREATE TABLE C(v MONEY)"_s,
            u"WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM n WHERE x<1000000) INSERT INTO C SELECT 0.01 FROM n"_s});
        QVERIFY(QFile(QDir(m_instance.path()).filePath(u"Bos.sqlite"_s)).open(QIODevice::WriteOnly));
        m_digest = m_instance.digest();
    }

    void refusedLogins_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("database");
        QTest::addColumn<qint32>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("a later row of the login") << u"ZELVAN"_s << u"ikinci"_s << u"FIRMA"_s << ErrNo::LoginFailed
                                                  << u"Login failed for user 'ZELVAN'."_s;
        QTest::newRow("unknown login beats missing database") << u"yok"_s << QString() << u"YOK"_s << ErrNo::LoginFailed
                                                              << u"Login failed for user 'yok'."_s;
        QTest::newRow("empty file") << u"zelvan"_s << u"parola"_s << u"Bos"_s << ErrNo::OpenFailed << u"dosya boş"_s;
    }
    void refusedLogins()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, database);
        Connection connection;
        try {
            connection.open(m_instance.connectionString(database, user, password));
            QFAIL("the login was accepted");
        } catch (const runtime::Err &e) {
            QTEST(e.number(), "number");
            QFETCH(QString, text);
            QVERIFY2(e.description().contains(text), qPrintable(e.description()));
        }
        QVERIFY(!connection.isOpen());
    }

    // SQL Server's type for each column, the rows in order; the last row is all NULL.
    void columnTypes_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("BIT") << u"b"_s << u"Boolean:True"_s << u"Boolean:False"_s;
        QTest::newRow("INT") << u"i"_s << u"Long:70000"_s << u"Long:0"_s;
        QTest::newRow("MONEY") << u"m"_s << u"Currency:876543210987.654"_s << u"Currency:0.0001"_s;
        QTest::newRow("DECIMAL") << u"d"_s << u"Decimal:12.5"_s << u"Decimal:-7"_s;
        QTest::newRow("NUMERIC rounds to its scale") << u"d4"_s << u"Decimal:3"_s << u"Decimal:1.2346"_s;
        QTest::newRow("FLOAT") << u"f"_s << u"Double:0.1"_s << u"Double:-2.5"_s;
        QTest::newRow("DATETIME") << u"dt"_s << u"Date:01.03.2026 14:05:09"_s << u"Date:02.03.2026"_s;
        QTest::newRow("NVARCHAR") << u"s"_s << u"String:Şişli"_s << u"String:"_s;
    }
    void columnTypes()
    {
        QFETCH(QString, column);
        const auto rs = open(u"SELECT %1 FROM turler.DBO.T ORDER BY rowid"_s.arg(column));
        QTEST(typed(rs->field(0)), "first");
        rs->moveNext();
        QTEST(typed(rs->field(0)), "second");
        rs->moveNext();
        QCOMPARE(typed(rs->field(0)), u"Null"_s);
    }

    // SQL Server's types of aggregates; sums exact where doubles drift.
    void aggregates_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("result");
        QTest::newRow("SUM of MONEY") << u"SELECT SUM(m) as Toplam FROM Turler.dbo.T"_s << u"Currency:876543210987.6541"_s;
        QTest::newRow("SUM of DECIMAL") << u"SELECT SUM(d) FROM Turler.dbo.T"_s << u"Decimal:5.5"_s;
        QTest::newRow("a million cents") << u"SELECT SUM(v) as Toplam FROM Turler.dbo.C"_s << u"Currency:10000"_s;
        QTest::newRow("sum of no rows") << u"SELECT SUM(m) as Toplam FROM Turler.dbo.T WHERE 1=0"_s << u"Null"_s;
    }
    void aggregates()
    {
        QFETCH(QString, sql);
        QTEST(typed(open(sql)->field(0)), "result");
    }

    // Field names match without regard to case; the count includes the rows already passed.
    void recordset()
    {
        const auto rs = open(u"SELECT s AS Metin FROM Turler.dbo.T"_s);
        QCOMPARE(rs->fieldIndex(u"METIN"_s), 0);
        rs->moveNext();
        QCOMPARE(rs->recordCount(), 3);
    }

    void refusedQueries_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing column") << u"SELECT Yok FROM CB"_s << u"Invalid column name 'Yok'."_s;
        QTest::newRow("missing database")
            << u"SELECT * FROM YokDB.dbo.T"_s << u"Database 'YokDB' does not exist. Make sure that the name is entered correctly."_s;
        QTest::newRow("a write") << u"DELETE FROM CB"_s << u"Bu program veritabanına yazmaz."_s;
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

    // The Decimal holds 28 places: a wider declared scale reads as 28, rounded half to even.
    void scalesBeyond28_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("result");
        QTest::newRow("DECIMAL(38,30)") << u"SELECT d30 FROM W WHERE rowid=1"_s << u"Decimal:1.25"_s;
        QTest::newRow("DECIMAL(38,38)") << u"SELECT d38 FROM W WHERE rowid=1"_s << u"Decimal:0.5"_s;
        QTest::newRow("a half in place 29 rounds up to even")
            << u"SELECT d30 FROM W WHERE rowid=2"_s << u"Decimal:0.0000000000000000000000000002"_s;
        QTest::newRow("a half in place 29 rounds down to even")
            << u"SELECT d38 FROM W WHERE rowid=2"_s << u"Decimal:0.0000000000000000000000000002"_s;
        QTest::newRow("SUM keeps 28 places") << u"SELECT SUM(d30) FROM W"_s << u"Decimal:1.2500000000000000000000000002"_s;
    }
    void scalesBeyond28()
    {
        QFETCH(QString, sql);
        const QStringList table = {u"CREATE TABLE W(d30 DECIMAL(38,30), d38 DECIMAL(38,38))"_s,
                                   u"INSERT INTO W VALUES (1.25, 0.5), (1.5e-28, 2.5e-28)"_s};
        QTEST(typed(lastField(table, sql)), "result");
    }

    // A SUM beyond the Decimal's range names the summed column's type as SQL Server does.
    void sumOverflowNamesType_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("text");
        QTest::newRow("MONEY") << u"m"_s << u"Arithmetic overflow error converting expression to data type money."_s;
        QTest::newRow("DECIMAL") << u"d"_s << u"Arithmetic overflow error converting expression to data type numeric."_s;
    }
    void sumOverflowNamesType()
    {
        QFETCH(QString, column);
        const QStringList table = {u"CREATE TABLE B(Id INT, m MONEY, d DECIMAL(38,0))"_s,
                                   u"INSERT INTO B VALUES (1, 5e28, 5e28), (1, 5e28, 5e28)"_s};
        try {
            lastField(table, u"SELECT Id, SUM(%1) FROM B GROUP BY Id"_s.arg(column));
            QFAIL("the sum was read");
        } catch (const runtime::Err &e) {
            QCOMPARE(e.number(), ErrNo::CommandFailed);
            QTEST(e.description(), "text");
        }
    }

private:
    // The last field of the first row of `sql` on database "Ek", made of `statements`, of an instance of its own.
    static runtime::Variant lastField(const QStringList &statements, const QString &sql)
    {
        test::TestInstance instance;
        instance.addLogin(u"zelvan"_s, u"parola"_s);
        instance.createDatabase(u"Ek"_s, statements);
        auto connection = std::make_shared<Connection>();
        connection->open(instance.connectionString(u"Ek"_s, u"zelvan"_s, u"parola"_s));
        Recordset rs;
        rs.setActiveConnection(connection);
        rs.setSource(sql);
        rs.open();
        return rs.field(rs.fieldCount() - 1);
    }
};

QTEST_GUILESS_MAIN(TestEmbeddedInstance)
#include "tst_embeddedinstance.moc"
