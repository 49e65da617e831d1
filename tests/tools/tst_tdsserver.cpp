// The SQL Server path through the real driver: FreeTDS against the TDS test server, which serves an embedded
// instance. What comes through must be what the embedded instance gives.

#include "database/embedded/embeddedinstance.h"
#include "database/odbc/odbcbackend.h"
#include "runtime/err.h"
#include "support/testinstance.h"
#include "support/zelvanrun.h"
#include "tdsserver.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString Connection = u"Veri Tabanına Bağlanılamadı. Lütfen Service Manager Programı İle Server'ınızı Başlattıktan sonra programı "
                           u"Tekrar Çalıştırın"_s;
const QString Details = u"Hata Ayrıntsı :"_s;

// The value of a statement's first column in its first row as "Type:text" (or "Null"), or the error's text as the server
// gave it.
QString firstValue(database::DbBackend &backend, const QString &sql)
{
    try {
        std::vector<runtime::Variant> row;
        const auto cursor = backend.execute(sql);
        if (!cursor->fetch(row))
            return u"no row"_s;
        return row.at(0).isNull() ? u"Null"_s : row.at(0).typeName() + u':' + row.at(0).toString();
    } catch (const runtime::Err &error) {
        return QString(error.description()).remove(u"[FreeTDS][SQL Server]"_s);
    }
}

QString odbcConnectionString(const tdsserver::TdsServer &server, const QString &database)
{
    return u"DRIVER={FreeTDS};SERVER=%1;DATABASE=%2;UID=zelvan;PWD=parola;TDS_Version=7.4;ClientCharset=UTF-8"_s.arg(
        server.serverName(), database);
}

// zelvan-demo's instance in `dir`.
bool writeDemo(const QString &dir, const QStringList &options)
{
    QProcess demo;
    demo.setStandardOutputFile(QProcess::nullDevice());
    demo.start(test::binaryPath(u"zelvan-demo"_s), QStringList{dir} + options);
    return demo.waitForFinished(120000) && demo.exitStatus() == QProcess::NormalExit && demo.exitCode() == 0;
}

// The report's JSON without the time of the run.
QJsonObject reportOf(const test::ZelvanRun &run)
{
    QJsonObject json = QJsonDocument::fromJson(run.out).object();
    QJsonObject fields = json.value(u"fields"_s).toObject();
    fields.remove(u"saat"_s);
    json.insert(u"fields"_s, fields);
    json.remove(u"generated"_s);
    return json;
}

} // namespace

class TestTdsServer : public QObject
{
    Q_OBJECT

    test::TestInstance m_types;     // a table of every type the server sends
    test::TestInstance m_standard;  // the tests' usual instance, with a company whose database lacks a table
    QTemporaryDir m_work;
    QString m_registry = m_work.filePath(u"registry.reg"_s);

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = test::runEnvironment(m_registry);
        for (const char *name : {"ZELVAN_ODBC_DRIVER", "ZELVAN_ODBC_OPTIONS", "ZELVAN_QUERY_TIMEOUT"})
            environment.remove(QString::fromLatin1(name));
        return environment;
    }

private Q_SLOTS:
    void initTestCase()
    {
        test::writeRegistry(m_registry);
        qunsetenv("ZELVAN_ODBC_DRIVER");
        qunsetenv("ZELVAN_ODBC_OPTIONS");
        m_types.addLogin(u"zelvan"_s, u"parola"_s);
        m_types.createDatabase(u"Turler"_s, {
            u"CREATE TABLE t (id INT, b BIT, ti TINYINT, si SMALLINT, i INT, bi BIGINT, m MONEY, sm SMALLMONEY, "
            u"d DECIMAL(18,2), w DECIMAL(38,10), f FLOAT, r REAL, dt DATETIME, nv NVARCHAR(40), v VARCHAR(40), tx NTEXT)"_s,
            // SQLite holds 15 significant digits of a fraction, any 64-bit whole number.
            u"INSERT INTO t VALUES (1, 1, 200, -32000, 2147483647, 9007199254740993, 922337203685477, -214748.3648, "
            u"-1234567890123.45, 123456789012345678, 0.1, 0.5, '2026-03-01 12:34:56', "
            u"'Türkçe ŞĞÜ İıĞ çöş 😀', 'Türkçe ŞĞÜ İıĞ çöş', 'ğ' || replace(hex(zeroblob(5000)), '00', 'ş'))"_s,
            u"INSERT INTO t VALUES (2, 0, NULL, NULL, -2147483648, NULL, -922337203685477, NULL, 0.1, NULL, NULL, NULL, "
            u"NULL, '', NULL, NULL)"_s,
            u"INSERT INTO t (id, i, m, d) VALUES (3, 2147483647, 0.0001, 9999999999999.99)"_s,
            u"CREATE TABLE big (id INT, name NVARCHAR(40))"_s,
            u"WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 100000) INSERT INTO big SELECT x, 'Satır ' || x FROM n"_s,
        });
        test::addStandardDatabases(m_standard);
        const QDir dir(m_standard.path());
        QVERIFY(QFile::copy(dir.filePath(u"FIRMA.sqlite"_s), dir.filePath(u"KBYOK.sqlite"_s)));
        m_standard.run(u"KBYOK"_s, {u"DROP TABLE KB"_s});
        m_standard.run(u"Defination_DB"_s, {u"CREATE TABLE k AS SELECT * FROM sysfrmlng"_s,
            u"UPDATE k SET sysfrm_ID = 2, sysfrm_dbnm = 'KBYOK'"_s, u"INSERT INTO sysfrmlng SELECT * FROM k"_s, u"DROP TABLE k"_s,
            u"INSERT INTO Kullanici VALUES (7, 2, 1, 1)"_s});
    }

    // A value through FreeTDS as the program reads it, the same as from the embedded instance: the wire type
    // decides the Variant's type (MONEY as Currency, not Double); SQL Server's types of sums and its errors.
    void wireTypes_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("value");
        QTest::newRow("BIT") << u"SELECT b FROM t WHERE id = 2"_s << u"Boolean:False"_s;
        QTest::newRow("TINYINT") << u"SELECT ti FROM t WHERE id = 1"_s << u"Byte:200"_s;
        QTest::newRow("SMALLINT") << u"SELECT si FROM t WHERE id = 1"_s << u"Integer:-32000"_s;
        QTest::newRow("INT") << u"SELECT i FROM t WHERE id = 2"_s << u"Long:-2147483648"_s;
        QTest::newRow("BIGINT") << u"SELECT bi FROM t WHERE id = 1"_s << u"Decimal:9007199254740993"_s;
        QTest::newRow("MONEY, near the largest") << u"SELECT m FROM t WHERE id = 1"_s << u"Currency:922337203685477"_s;
        QTest::newRow("SMALLMONEY, the smallest") << u"SELECT sm FROM t WHERE id = 1"_s << u"Currency:-214748.3648"_s;
        QTest::newRow("DECIMAL(18,2)") << u"SELECT d FROM t WHERE id = 1"_s << u"Decimal:-1234567890123.45"_s;
        QTest::newRow("DECIMAL(38,10), 18 digits") << u"SELECT w FROM t WHERE id = 1"_s << u"Decimal:123456789012345678"_s;
        QTest::newRow("FLOAT") << u"SELECT f FROM t WHERE id = 1"_s << u"Double:0.1"_s;
        QTest::newRow("DATETIME") << u"SELECT dt FROM t WHERE id = 1"_s << u"Date:01.03.2026 12:34:56"_s;
        QTest::newRow("NVARCHAR, beyond the BMP") << u"SELECT nv FROM t WHERE id = 1"_s << u"String:Türkçe ŞĞÜ İıĞ çöş 😀"_s;
        QTest::newRow("VARCHAR in code page 1254") << u"SELECT v FROM t WHERE id = 1"_s << u"String:Türkçe ŞĞÜ İıĞ çöş"_s;
        QTest::newRow("NTEXT, 5001 characters") << u"SELECT length(tx) || substr(tx, 1, 3) FROM t WHERE id = 1"_s << u"String:5001ğşş"_s;
        QTest::newRow("a row of NULLs after a value") << u"SELECT id, ti, bi, sm, w, r, dt, v, tx FROM t WHERE id = 2"_s << u"Long:2"_s;
        QTest::newRow("SUM over MONEY is MONEY") << u"SELECT SUM(m) FROM t WHERE id > 1"_s << u"Currency:-922337203685476.9999"_s;
        QTest::newRow("SUM over DECIMAL(18,2): scale 2") << u"SELECT SUM(d) FROM t WHERE id > 1"_s << u"Decimal:10000000000000.09"_s;
        QTest::newRow("SUM over INT beyond its range: 8115") << u"SELECT SUM(i) FROM t WHERE id <> 2"_s
                                                             << u"Arithmetic overflow error converting expression to data type int."_s;
        QTest::newRow("three-part name") << u"SELECT COUNT(*) FROM Turler.dbo.t"_s << u"Long:3"_s;
        QTest::newRow("no such column: 207") << u"SELECT yok FROM t"_s << u"Invalid column name 'yok'."_s;
    }
    void wireTypes()
    {
        QFETCH(QString, sql);
        tdsserver::TdsServer server(m_types.path());
        QVERIFY(server.listen());
        const auto odbc = database::openOdbcConnection(odbcConnectionString(server, u"Turler"_s));
        const auto embedded = database::openEmbeddedInstance(m_types.path(), u"Turler"_s, u"zelvan"_s, u"parola"_s);
        const QString value = firstValue(*odbc, sql);
        QTEST(value, "value");
        QCOMPARE(firstValue(*embedded, sql), value);
    }

    // A result left unread is cancelled (ATTENTION) while the server still sends it; the connection then serves the
    // next statement.
    void cancelledResult()
    {
        tdsserver::TdsServer server(m_types.path());
        QVERIFY(server.listen());
        const auto odbc = database::openOdbcConnection(odbcConnectionString(server, u"Turler"_s));
        QCOMPARE(firstValue(*odbc, u"SELECT name FROM big ORDER BY id"_s), u"String:Satır 1"_s);
        QCOMPARE(firstValue(*odbc, u"SELECT COUNT(*) FROM big"_s), u"Long:100000"_s);
        QCOMPARE(server.statementCount(), 2);
    }

    // The report through FreeTDS is the report of the embedded instance: the demo's two companies, both ways of
    // valuing the stock, and random instances (NULLs, negative balances, Turkish text, every cheque status) with
    // amounts near Currency's limits added. The instance is never written.
    void reportJson_data()
    {
        QTest::addColumn<QStringList>("demo");  // zelvan-demo's options; with a seed, the amounts near the limits are added
        QTest::addColumn<QString>("launch");    // the launch line, %1 the server
        QTest::addColumn<bool>("onePass");
        const QString demo = u"NRV_DEMO_2026|%1|1|norvent|Zelvan2026"_s;
        QTest::newRow("seed 11, Örnek Gıda") << QStringList{u"--seed"_s, u"11"_s} << u"NRV_ORNEK_2026|%1|4|rapor|æ"_s << false;
        QTest::newRow("seed 12345, one pass") << QStringList{u"--seed"_s, u"12345"_s, u"--movements-per-item"_s, u"30"_s} << demo << true;
    }
    void reportJson()
    {
        QFETCH(QStringList, demo);
        QFETCH(QString, launch);
        QFETCH(bool, onePass);
        test::TestInstance instance;
        QVERIFY(writeDemo(instance.path(), demo));
        if (!demo.isEmpty()) {
            for (const QString &database : {u"NRV_DEMO_2026"_s, u"NRV_ORNEK_2026"_s})
                instance.run(database, {u"INSERT INTO KB VALUES (900001, 900000000000000.5)"_s,
                                        u"INSERT INTO CB VALUES (900001, -900000000000000.25)"_s,
                                        u"INSERT INTO BB VALUES (900001, 12345678901234.56)"_s});
        }
        const QByteArray digest = instance.digest();
        tdsserver::TdsServer server(instance.path());
        QVERIFY(server.listen());
        const QStringList options = onePass ? QStringList{u"--json"_s, u"--stock-one-pass"_s} : QStringList{u"--json"_s};
        const test::ZelvanRun embedded = test::runZelvan(options + QStringList{u"--"_s, launch.arg(instance.path())}, environment());
        QVERIFY2(embedded.exitCode == 0, embedded.err.constData());
        const test::ZelvanRun overTds = test::runZelvan(options + QStringList{u"--"_s, launch.arg(server.serverName())}, environment());
        QVERIFY2(overTds.exitCode == 0, overTds.err.constData());
        QCOMPARE(reportOf(overTds), reportOf(embedded));
        QCOMPARE(instance.digest(), digest);
    }

    // What a user sees when SQL Server refuses: the driver's texts in the message log, and the exit code.
    void messages_data()
    {
        QTest::addColumn<QString>("launch");  // %1 the server
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("messages");
        const QString driver = u"[FreeTDS][SQL Server]"_s;
        const QString unable = u"\r[FreeTDS][SQL Server]Unable to connect to data source"_s;
        QTest::newRow("no such database") << u"YOK|%1|7|zelvan|parola"_s << 3
            << QStringList{Connection, Details + driver + u"Login failed for user 'zelvan'.\r"_s + driver
                                           + u"Cannot open database \"YOK\" requested by the login. The login failed."_s + unable};
        QTest::newRow("failed query: no such table") << u"KBYOK|%1|7|zelvan|parola"_s << 8
            << QStringList{driver + u"Invalid object name 'KB'."_s, u"SELECT  SUM(Bakiye) as Toplam FROM KB "_s};
    }
    void messages()
    {
        QFETCH(QString, launch);
        tdsserver::TdsServer server(m_standard.path());
        QVERIFY(server.listen());
        const test::ZelvanRun run = test::runZelvan({u"--json"_s, u"--"_s, launch.arg(server.serverName())}, environment());
        QTEST(run.exitCode, "exitCode");
        QTEST(run.messageTexts(), "messages");
    }

    // A server that fails in the middle of the stock step: the statement's error and its text (OpenRecordset's two
    // messages), exit 8 and no page; a silent one is ended by the query timeout (2 s), never a hang.
    void faults_data()
    {
        QTest::addColumn<QString>("fault");  // from the third item's movements on
        QTest::addColumn<QString>("error");
        QTest::newRow("connection closed") << u"close"_s << u"[FreeTDS][SQL Server]Unexpected EOF from the server"_s;
        QTest::newRow("silent") << u"silent"_s << u"[FreeTDS][SQL Server]Timeout expired"_s;
    }
    void faults()
    {
        QFETCH(QString, fault);
        test::TestInstance instance;
        QVERIFY(writeDemo(instance.path(), {}));
        const QByteArray digest = instance.digest();
        tdsserver::ServerFaults faults;
        faults.countOnly = u"STOKHAREKET"_s;  // the movements of one item
        (fault == u"close" ? faults.closeAtStatement : faults.silentAtStatement) = 3;
        tdsserver::TdsServer server(instance.path(), faults);
        QVERIFY(server.listen());
        QProcessEnvironment environment = this->environment();
        environment.insert(u"ZELVAN_QUERY_TIMEOUT"_s, u"2"_s);
        const test::ZelvanRun run = test::runZelvan({u"--json"_s, u"--"_s, u"NRV_DEMO_2026|%1|1|norvent|Zelvan2026"_s.arg(server.serverName())},
                                                    environment, 60000);
        QCOMPARE(run.exitCode, 8);
        QTEST(run.messageTexts().value(0), "error");
        QCOMPARE(run.messageTexts().mid(1), QStringList{server.statements().last()});  // the statement that failed
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(instance.digest(), digest);
    }
};

QTEST_GUILESS_MAIN(TestTdsServer)
#include "tst_tdsserver.moc"
