// FreeTDS's login against the TDS test server. SQL Server's types and statements read while another is open
// (the stock valuation) through FreeTDS: tst_tdsserver.

#include "database/connection.h"
#include "runtime/err.h"
#include "support/testinstance.h"
#include "tdsserver.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::database;
using namespace Qt::Literals::StringLiterals;

class TestOdbcBackend : public QObject
{
    Q_OBJECT

    test::TestInstance m_instance;

private Q_SLOTS:
    void initTestCase()
    {
        m_instance.addLogin(u"ayşe{u}="_s, u"şİ p}w{=}"_s);
        m_instance.createDatabase(u"D}}"_s, {u"CREATE TABLE t (id INT)"_s});
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
