// The back end against the SQLite ODBC driver on a file the test writes (statements while another is read), and
// FreeTDS's login against the TDS test server. SQL Server's types through FreeTDS: tst_tdsserver.

#include "database/connection.h"
#include "database/odbc/odbcbackend.h"
#include "runtime/err.h"
#include "support/testinstance.h"
#include "tdsserver.h"

#include <QDir>
#include <QTest>

using namespace zelvan;
using namespace zelvan::database;
using namespace Qt::Literals::StringLiterals;

class TestOdbcBackend : public QObject
{
    Q_OBJECT

    test::TestInstance m_instance;
    std::unique_ptr<DbBackend> m_sqlite;  // none when the SQLite ODBC driver can't be used

    // The first value of the statement's first row.
    QString firstValue(const QString &sql)
    {
        std::vector<runtime::Variant> row;
        return m_sqlite->execute(sql)->fetch(row) ? row.at(0).toString() : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_instance.createDatabase(u"odbc"_s, {
            u"CREATE TABLE big (id INT, name NVARCHAR(40), amount MONEY)"_s,
            u"WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 200000) "
            u"INSERT INTO big SELECT x, 'Satır ' || x, x / 100.0 FROM n"_s});
        m_instance.addLogin(u"ayşe{u}="_s, u"şİ p}w{=}"_s);
        m_instance.createDatabase(u"D}}"_s, {u"CREATE TABLE t (id INT)"_s});
        try {
            m_sqlite = openOdbcConnection(u"DRIVER=SQLite3;DATABASE="_s + QDir(m_instance.path()).filePath(u"odbc.sqlite"_s));
        } catch (const runtime::Err &error) {
            qWarning("the SQLite3 ODBC driver can't be used: %s", qPrintable(error.description()));
        }
    }

    // As the stock valuation does: each item's movements are read while the item list is still open. A
    // setting of the connection tells which one ran a statement. A rejected statement leaves the connection
    // serving the next one.
    void sqliteStatementsWhileReading()
    {
        if (!m_sqlite)
            QSKIP("no SQLite3 ODBC driver");
        QCOMPARE(m_sqlite->execute(u"PRAGMA cache_size = 1234"_s)->columnCount(), 0);
        const auto big = m_sqlite->execute(u"SELECT id, name, amount FROM big ORDER BY id"_s);
        qint64 rows = 0;
        for (std::vector<runtime::Variant> r; big->fetch(r);) {
            ++rows;
            QCOMPARE(r[0].intValue(), rows);
            QCOMPARE(r[1].stringValue(), u"Satır %1"_s.arg(rows));
            if (rows == 1)
                QCOMPARE_NE(firstValue(u"PRAGMA cache_size"_s), u"1234"_s);
        }
        QCOMPARE(rows, 200000);
        try {
            m_sqlite->execute(u"SELECT SUM(Borc) AS Toplam FROM CEKKART"_s);
            QFAIL("the statement ran");
        } catch (const runtime::Err &e) {
            QCOMPARE(e.number(), runtime::ErrNo::CommandFailed);
            QVERIFY2(e.description().contains(u"no such table: CEKKART"_s), qPrintable(e.description()));
        }
        QCOMPARE(firstValue(u"PRAGMA cache_size"_s), u"1234"_s);
    }

    // The login record reaches the server as typed (Turkish, braces and equals in user, password and database, which
    // the server must find); a server that never answers the login ends it after the 15-second login timeout. A
    // refused login, through the program: tst_tdsserver's missing database, which the server refuses with 18456.
    void freeTds_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<qint32>("number");  // 0: logged in
        QTest::addColumn<QString>("text");
        QTest::newRow("as typed") << false << 0 << QString();
        QTest::newRow("a silent server times out") << true << runtime::ErrNo::OpenFailed
                                                   << u"[FreeTDS][SQL Server]Timeout expired"_s;
    }
    void freeTds()
    {
#ifdef Q_OS_WIN
        QSKIP("FreeTDS is the driver on Linux");
#endif
        QFETCH(bool, silent);
        QFETCH(qint32, number);
        qunsetenv("ZELVAN_ODBC_DRIVER");
        qunsetenv("ZELVAN_ODBC_OPTIONS");
        tdsserver::ServerFaults faults;
        faults.silentAtLogin = silent;
        tdsserver::TdsServer server(m_instance.path(), faults);
        QVERIFY(server.listen());
        Connection connection;
        qint32 refusal = 0;
        try {
            connection.open(u"Provider=SQLOLEDB.1;Persist Security Info=False;User ID=ayşe{u}=;Password=şİ p}w{=};Initial Catalog=D}};"
                            u"Data Source=%1"_s.arg(server.serverName()));
        } catch (const runtime::Err &error) {
            refusal = error.number();
            QFETCH(QString, text);
            QVERIFY2(error.description().contains(text), qPrintable(error.description()));
        }
        QCOMPARE(refusal, number);
        QCOMPARE(connection.isOpen(), number == 0);
    }
};

QTEST_GUILESS_MAIN(TestOdbcBackend)
#include "tst_odbcbackend.moc"
