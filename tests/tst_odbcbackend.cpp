#include "platform/connection.h"
#include "platform/err.h"
#include "platform/odbcbackend.h"
#include "platform/writer/sqlitewriter.h"

#include "support/zelvanrun.h"

#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QtEndian>

using namespace zelvan;
using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(zelvan::platform::Variant)

// The back end against the SQLite ODBC driver ("SQLite3") on a file the test
// writes, and the real program against FreeTDS where no server answers.
class TestOdbcBackend : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void values_data();
    void values();
    void longTextInPieces();
    void longResultStreams();
    void busyConnectionLendsNoStatement();
    void rejectedStatements_data();
    void rejectedStatements();
    void unreachableServer_data();
    void unreachableServer();
    void loginReachesTheServerAsTyped_data();
    void loginReachesTheServerAsTyped();

private:
    std::unique_ptr<DbBackend> open();
    std::vector<Variant> firstRow(const QString &sql);

    QTemporaryDir m_dir;
    QString m_file;
    QString m_skip;  // why the SQLite driver can't be used here
};

namespace {

// A SQL Server as far as FreeTDS's login: answers the pre-login, reads the
// login record and refuses it as SQL Server does (error 18456). The record's
// user, password and database are what a real server would have seen.
class RefusingServer : public QThread
{
public:
    quint16 listen()
    {
        start();
        m_listening.acquire();
        return m_port;
    }

    QString user;
    QString password;
    QString database;

protected:
    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        m_port = server.serverPort();
        m_listening.release();
        if (!server.waitForNewConnection(60000))
            return;
        QTcpSocket *socket = server.nextPendingConnection();
        readPacket(*socket);  // pre-login
        // Pre-login answer: a version, and no encryption.
        QByteArray answer = QByteArray::fromHex("00000b0006" "0100110001" "ff" "10000fa00000" "02");
        socket->write(packet(answer));
        const QByteArray login = readPacket(*socket);
        user = text(login, 40);
        // A login record's password has each byte's halves swapped, then XORed with A5.
        QByteArray scrambled = field(login, 44);
        for (char &byte : scrambled) {
            const auto b = quint8(quint8(byte) ^ 0xA5);
            byte = char(quint8(b << 4 | b >> 4));
        }
        password = QString::fromUtf16(reinterpret_cast<const char16_t *>(scrambled.constData()), scrambled.size() / 2);
        database = text(login, 68);
        socket->write(packet(refusal(u"Login failed for user '%1'."_s.arg(user))));
        socket->waitForBytesWritten(10000);
        socket->disconnectFromHost();
        if (socket->state() != QAbstractSocket::UnconnectedState)
            socket->waitForDisconnected(10000);
    }

private:
    static QByteArray readPacket(QTcpSocket &socket)
    {
        QByteArray data;
        const auto need = [&](qsizetype size) {
            while (data.size() < size) {
                if (!socket.waitForReadyRead(30000))
                    return false;
                data += socket.readAll();
            }
            return true;
        };
        if (!need(8))
            return {};
        const qsizetype length = qFromBigEndian<quint16>(data.constData() + 2);
        return need(length) ? data.mid(8, length - 8) : QByteArray();
    }

    static QByteArray packet(const QByteArray &body)
    {
        QByteArray header = QByteArray::fromHex("0401000000000100");  // a reply, the last packet
        qToBigEndian<quint16>(quint16(8 + body.size()), header.data() + 2);
        return header + body;
    }

    static QByteArray field(const QByteArray &login, int at)
    {
        if (login.size() < at + 4)
            return {};
        const quint16 offset = qFromLittleEndian<quint16>(login.constData() + at);
        const quint16 characters = qFromLittleEndian<quint16>(login.constData() + at + 2);
        return login.mid(offset, characters * 2);
    }

    static QString text(const QByteArray &login, int at)
    {
        const QByteArray bytes = field(login, at);
        return QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()), bytes.size() / 2);
    }

    static QByteArray utf16(const QString &text)
    {
        return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    }

    // An ERROR token (18456, state 1, class 14) and a DONE token with its error bit.
    static QByteArray refusal(const QString &message)
    {
        QByteArray error;
        error += QByteArray::fromHex("18480000" "01" "0e");
        QByteArray count(2, 0);
        qToLittleEndian<quint16>(quint16(message.size()), count.data());
        error += count + utf16(message);
        error += QByteArray::fromHex("00" "00" "00000000");  // no server or procedure name; line 0
        QByteArray token = QByteArray::fromHex("aa0000");
        qToLittleEndian<quint16>(quint16(error.size()), token.data() + 1);
        return token + error + QByteArray::fromHex("fd" "0200" "0000" "0000000000000000");
    }

    QSemaphore m_listening;
    quint16 m_port = 0;
};

constexpr int BigRows = 200000;
const QString LongText = QString(u"ğüşİıöçxy😀"_s).repeated(30000);  // 11 units: pieces split its surrogate pairs
const QString Turkish = u"Türkçe ŞĞÜ İıĞ çöş"_s;
} // namespace

void TestOdbcBackend::initTestCase()
{
    m_file = m_dir.filePath(u"odbc.sqlite"_s);
    writer::SqliteWriter db(m_file);
    db.begin();
    db.exec(u"CREATE TABLE t (id INT, b BIT, ti TINYINT, si SMALLINT, i INT, bi BIGINT, m MONEY, sm SMALLMONEY, "
            u"n NUMERIC(10,4), f FLOAT, r REAL, dt DATETIME, da DATE, c CHAR(5), vc VARCHAR(20), nc NCHAR(5), "
            u"nv NVARCHAR(40), tx TEXT, nt NTEXT)"_s);
    db.prepare(u"INSERT INTO t VALUES (1, 1, 200, -300, 70000, 9000000000, 1234.5678, -12.5, 3.1416, 1.5, 2.25, "
               u"'2026-03-01 12:34:56.789', '2026-03-01', 'ab', 'çşğ', 'İı', ?1, 'uzun metin', 'ntext')"_s)
        .bind(1, Turkish)
        .run();
    db.exec(u"INSERT INTO t (id) VALUES (2)"_s);
    db.prepare(u"INSERT INTO t (id, nv) VALUES (3, ?1)"_s).bind(1, LongText).run();
    db.exec(u"CREATE TABLE big (id INT, name NVARCHAR(40), amount MONEY)"_s);
    db.exec(u"WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < %1) "
            u"INSERT INTO big SELECT x, 'Satır ' || x, x / 100.0 FROM n"_s.arg(BigRows));
    db.commit();
    try {
        open();
    } catch (const Err &error) {
        m_skip = u"the SQLite3 ODBC driver can't be used: "_s + error.description();
    }
}

std::unique_ptr<DbBackend> TestOdbcBackend::open()
{
    return openOdbcConnection(u"DRIVER=SQLite3;DATABASE="_s + m_file);
}

std::vector<Variant> TestOdbcBackend::firstRow(const QString &sql)
{
    const auto backend = open();
    const auto cursor = backend->execute(sql);
    std::vector<Variant> row;
    if (!cursor->fetch(row))
        row.clear();
    return row;
}

void TestOdbcBackend::values_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<Variant>("expected");

    // Every type the SQLite driver reports for SQL Server's type names.
    QTest::newRow("bit") << u"b"_s << Variant::boolean(true);
    QTest::newRow("tinyint") << u"ti"_s << Variant::byte(200);
    QTest::newRow("smallint") << u"si"_s << Variant::integer(-300);
    QTest::newRow("int") << u"i"_s << Variant::longInt(70000);
    QTest::newRow("bigint") << u"bi"_s << Variant::decimal(Decimal::fromInt64(9000000000));
    QTest::newRow("money") << u"m"_s << Variant::currency(*Currency::parse(u"1234.5678"));
    QTest::newRow("smallmoney") << u"sm"_s << Variant::currency(*Currency::parse(u"-12.5"));
    QTest::newRow("numeric, a double to this driver") << u"n"_s << Variant::dbl(3.1416);
    QTest::newRow("float") << u"f"_s << Variant::dbl(1.5);
    QTest::newRow("real") << u"r"_s << Variant::dbl(2.25);
    QTest::newRow("datetime") << u"dt"_s << Variant::date(oleDateFrom(QDate(2026, 3, 1), QTime(12, 34, 56, 789)));
    QTest::newRow("date") << u"da"_s << Variant::date(oleDateFrom(QDate(2026, 3, 1)));
    QTest::newRow("char") << u"c"_s << Variant::string(u"ab"_s);
    QTest::newRow("varchar") << u"vc"_s << Variant::string(u"çşğ"_s);
    QTest::newRow("nchar") << u"nc"_s << Variant::string(u"İı"_s);
    QTest::newRow("nvarchar") << u"nv"_s << Variant::string(Turkish);
    QTest::newRow("text") << u"tx"_s << Variant::string(u"uzun metin"_s);
    QTest::newRow("ntext") << u"nt"_s << Variant::string(u"ntext"_s);
}

void TestOdbcBackend::values()
{
    if (!m_skip.isEmpty())
        QSKIP(qPrintable(m_skip));
    QFETCH(QString, column);
    QFETCH(Variant, expected);

    const auto backend = open();
    const auto cursor = backend->execute(u"SELECT "_s + column + u" AS Deger FROM t WHERE id IN (1, 2) ORDER BY id"_s);
    QCOMPARE(cursor->columnCount(), 1);
    QCOMPARE(cursor->columnName(0), u"Deger"_s);
    std::vector<Variant> row;
    QVERIFY(cursor->fetch(row));
    QCOMPARE(row.at(0).typeName(), expected.typeName());
    QVERIFY2(Variant::equals(row.at(0), expected).value_or(false), qPrintable(row.at(0).toString()));
    QVERIFY(cursor->fetch(row));
    QVERIFY(row.at(0).isNull());
    QVERIFY(!cursor->fetch(row));
    QVERIFY(!cursor->fetch(row));
}

void TestOdbcBackend::longTextInPieces()
{
    if (!m_skip.isEmpty())
        QSKIP(qPrintable(m_skip));
    const std::vector<Variant> row = firstRow(u"SELECT nv FROM t WHERE id = 3"_s);
    QCOMPARE(row.size(), std::size_t(1));
    QCOMPARE(row[0].stringValue().size(), LongText.size());
    QVERIFY(row[0].stringValue() == LongText);
}

void TestOdbcBackend::longResultStreams()
{
    if (!m_skip.isEmpty())
        QSKIP(qPrintable(m_skip));
    const auto backend = open();
    const auto cursor = backend->execute(u"SELECT id, name, amount FROM big ORDER BY id"_s);
    std::vector<Variant> row;
    qint64 rows = 0;
    Currency total;
    while (cursor->fetch(row)) {
        ++rows;
        QCOMPARE(row[0].intValue(), rows);
        total += row[2].currencyValue();
    }
    QCOMPARE(rows, qint64(BigRows));
    QCOMPARE(row.at(1).stringValue(), u"Satır %1"_s.arg(BigRows));
    QCOMPARE(total, Currency::fromInt(qint64(BigRows) * (BigRows + 1) / 2 / 100));
}

void TestOdbcBackend::busyConnectionLendsNoStatement()
{
    if (!m_skip.isEmpty())
        QSKIP(qPrintable(m_skip));
    // As the stock valuation does: each item's movements are read while the
    // item list is still open. A setting of the connection tells which
    // connection ran a statement.
    const auto backend = open();
    QCOMPARE(backend->execute(u"PRAGMA cache_size = 1234"_s)->columnCount(), 0);
    const auto cacheSize = [&] {
        std::vector<Variant> row;
        return backend->execute(u"PRAGMA cache_size"_s)->fetch(row) ? row.at(0).toString() : QString();
    };
    QCOMPARE(cacheSize(), u"1234"_s);
    {
        const auto items = backend->execute(u"SELECT id FROM big"_s);
        std::vector<Variant> item;
        QVERIFY(items->fetch(item));
        QVERIFY(cacheSize() != u"1234"_s);
    }
    QCOMPARE(cacheSize(), u"1234"_s);
}

void TestOdbcBackend::rejectedStatements_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("driverText");
    QTest::newRow("missing table") << u"SELECT SUM(Borc) AS Toplam FROM CEKKART"_s << u"no such table: CEKKART"_s;
    QTest::newRow("syntax") << u"SELEC 1"_s << u"syntax error"_s;
}

void TestOdbcBackend::rejectedStatements()
{
    if (!m_skip.isEmpty())
        QSKIP(qPrintable(m_skip));
    QFETCH(QString, sql);
    QFETCH(QString, driverText);
    const auto backend = open();
    try {
        backend->execute(sql);
        QFAIL("the statement ran");
    } catch (const Err &error) {
        QCOMPARE(error.number(), ErrNo::CommandFailed);
        QVERIFY2(error.description().contains(driverText), qPrintable(error.description()));
    }
    // The connection serves the next statement.
    QVERIFY(backend->execute(u"SELECT id FROM t"_s)->columnCount() == 1);
}

void TestOdbcBackend::unreachableServer_data()
{
    QTest::addColumn<bool>("listening");
    QTest::addColumn<QString>("driverText");
    QTest::newRow("closed port") << false << u"[FreeTDS][SQL Server]Unable to connect"_s;
    QTest::newRow("accepts and never answers") << true << u"[FreeTDS][SQL Server]Timeout expired"_s;
}

void TestOdbcBackend::unreachableServer()
{
#ifdef Q_OS_WIN
    QSKIP("FreeTDS is the driver on Linux");
#endif
    QFETCH(bool, listening);
    QFETCH(QString, driverText);
    // The kernel completes the handshake for a listening socket; nothing ever
    // reads from it or answers.
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    const quint16 port = server.serverPort();
    if (!listening)
        server.close();

    const QString registry = m_dir.filePath(u"registry.reg"_s);
    test::writeRegistry(registry);
    QProcessEnvironment environment = test::runEnvironment(registry);
    environment.remove(u"ZELVAN_ODBC_DRIVER"_s);
    environment.remove(u"ZELVAN_ODBC_OPTIONS"_s);
    const test::ZelvanRun run = test::runZelvan(
        {u"--json"_s, u"--"_s, u"FIRMA|127.0.0.1,%1|7|zelvan|parola"_s.arg(port)}, environment, 180000);
    QVERIFY2(!run.crashed, run.err.constData());
    QCOMPARE(run.exitCode, 3);
    const QStringList texts = run.messageTexts();
    QCOMPARE(texts.size(), 2);
    QVERIFY(texts[0].startsWith(u"Veri Tabanına Bağlanılamadı."_s));
    QVERIFY2(texts[1].startsWith(u"Hata Ayrıntsı :"_s + driverText), qPrintable(texts[1]));
}

void TestOdbcBackend::loginReachesTheServerAsTyped_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");   // as the launch line gives it
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("received");   // the password the server gets

    QTest::newRow("Turkish") << u"ayşe"_s << u"şifre İı"_s << u"NRV_DEMO_2026"_s << u"şifre İı"_s;
    QTest::newRow("braces and equals") << u"{u}="_s << u"p}w{=}"_s << u"D}}"_s << u"p}w{=}"_s;
    QTest::newRow("semicolon ends the password as ADO splits it") << u"sa"_s << u"a;b"_s << u"DB"_s << u"a"_s;
    QTest::newRow("empty password") << u"rapor"_s << QString() << u"DB"_s << QString();
}

void TestOdbcBackend::loginReachesTheServerAsTyped()
{
#ifdef Q_OS_WIN
    QSKIP("FreeTDS is the driver on Linux");
#endif
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, database);
    qunsetenv("ZELVAN_ODBC_DRIVER");
    qunsetenv("ZELVAN_ODBC_OPTIONS");
    RefusingServer server;
    const quint16 port = server.listen();
    Connection connection;
    try {
        connection.open(u"Provider=SQLOLEDB.1;Persist Security Info=False;User ID=%1;Password=%2;Initial Catalog=%3;"
                        u"Data Source=127.0.0.1,%4"_s.arg(user, password, database).arg(port));
        QFAIL("the login was accepted");
    } catch (const Err &error) {
        QCOMPARE(error.number(), ErrNo::LoginFailed);
        QVERIFY2(error.description().contains(u"Login failed for user '%1'."_s.arg(user)),
                 qPrintable(error.description()));
    }
    QVERIFY(server.wait(60000));
    QCOMPARE(server.user, user);
    QTEST(server.password, "received");
    QCOMPARE(server.database, database);
    QVERIFY(!connection.isOpen());
}

QTEST_GUILESS_MAIN(TestOdbcBackend)
#include "tst_odbcbackend.moc"
