// The back end against the SQLite ODBC driver on a file the test writes, and FreeTDS against a server that refuses it.

#include "database/connection.h"
#include "database/odbc/odbcbackend.h"
#include "runtime/err.h"
#include "support/testinstance.h"

#include <QDir>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>
#include <QtEndian>

using namespace zelvan;
using namespace zelvan::database;
using namespace Qt::Literals::StringLiterals;

namespace {

// A SQL Server as far as FreeTDS's login: answers the pre-login, reads the login record and refuses it as
// SQL Server does (error 18456), keeping the user, password and database that a real server would have seen.
struct RefusingServer : QThread
{
    quint16 listen()
    {
        start();
        m_listening.acquire();
        return m_port;
    }
    QStringList seen;  // user, password, database

    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        m_port = server.serverPort();
        m_listening.release();
        if (!server.waitForNewConnection(60000))
            return;
        QTcpSocket *socket = server.nextPendingConnection();
        const auto read = [socket] {  // one packet's body
            QByteArray data;
            while ((data.size() < 8 || data.size() < qFromBigEndian<quint16>(data.constData() + 2)) && socket->waitForReadyRead(30000))
                data += socket->readAll();
            return data.mid(8);
        };
        const auto le16 = [](qsizetype n) {
            QByteArray b(2, '\0');
            qToLittleEndian<quint16>(quint16(n), b.data());
            return b;
        };
        const auto reply = [&](const QByteArray &body) {  // one packet, the last of the reply; its length big-endian
            socket->write(QByteArray::fromHex("0401") + le16(8 + body.size()).right(1) + le16(8 + body.size()).left(1)
                          + QByteArray::fromHex("00000100") + body);
        };
        read();  // the pre-login; the answer: a version, no encryption
        reply(QByteArray::fromHex("00000b0006" "0100110001" "ff" "10000fa00000" "02"));
        const QByteArray login = read().leftJustified(72, '\0');  // too short a record reads as empty texts
        // The texts by the place of their offset and length in characters; the password has each byte's
        // halves swapped, then XORed with A5.
        for (const int at : {40, 44, 68}) {
            QByteArray bytes = login.mid(qFromLittleEndian<quint16>(login.data() + at), qFromLittleEndian<quint16>(login.data() + at + 2) * 2);
            for (char &byte : bytes)
                byte = at == 44 ? char(quint8((quint8(byte) ^ 0xA5) << 4 | (quint8(byte) ^ 0xA5) >> 4)) : byte;
            seen << QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()), bytes.size() / 2);
        }
        // An ERROR token (18456, state 1, class 14), no server or procedure name, line 0; then DONE with its error bit.
        const QString message = u"Login failed for user '%1'."_s.arg(seen[0]);
        const QByteArray error = QByteArray::fromHex("18480000010e") + le16(message.size())
            + QByteArray(reinterpret_cast<const char *>(message.utf16()), message.size() * 2) + QByteArray::fromHex("000000000000");
        reply("\xaa" + le16(error.size()) + error + QByteArray::fromHex("fd" "0200" "0000" "0000000000000000"));
        socket->waitForBytesWritten(10000);
        socket->disconnectFromHost();
        if (socket->state() != QAbstractSocket::UnconnectedState)
            socket->waitForDisconnected(10000);
    }

    QSemaphore m_listening;
    quint16 m_port = 0;
};

} // namespace

class TestOdbcBackend : public QObject
{
    Q_OBJECT

    test::TestInstance m_instance;
    std::unique_ptr<DbBackend> m_sqlite;  // none when the SQLite ODBC driver can't be used
    QString m_longText = QString(u"ğüşİıöçxy😀"_s).repeated(30000);

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
            u"CREATE TABLE t (id INT, b BIT, i INT, m MONEY, n NUMERIC(10,4), f FLOAT, dt DATETIME, nv NVARCHAR(40))"_s,
            u"INSERT INTO t VALUES (1, 1, 70000, 1234.5678, 3.1416, 1.5, '2026-03-01 12:34:56.789', 'Türkçe ŞĞÜ İıĞ çöş'), "
            u"(2, NULL, NULL, NULL, NULL, NULL, NULL, NULL)"_s,
            u"INSERT INTO t (id, nv) VALUES (3, replace(hex(zeroblob(30000)), '00', 'ğüşİıöçxy😀'))"_s,
            u"CREATE TABLE big (id INT, name NVARCHAR(40), amount MONEY)"_s,
            u"WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 200000) "
            u"INSERT INTO big SELECT x, 'Satır ' || x, x / 100.0 FROM n"_s});
        try {
            m_sqlite = openOdbcConnection(u"DRIVER=SQLite3;DATABASE="_s + QDir(m_instance.path()).filePath(u"odbc.sqlite"_s));
        } catch (const runtime::Err &error) {
            qWarning("the SQLite3 ODBC driver can't be used: %s", qPrintable(error.description()));
        }
    }

    // The type the SQLite driver reports for each of SQL Server's type names, then NULL. NUMERIC is a double to
    // this driver; the date keeps its milliseconds (.789 shows as the next second).
    void sqliteTypes_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::newRow("BIT") << u"b"_s << u"Boolean:True"_s;
        QTest::newRow("INT") << u"i"_s << u"Long:70000"_s;
        QTest::newRow("MONEY") << u"m"_s << u"Currency:1234.5678"_s;
        QTest::newRow("NUMERIC") << u"n"_s << u"Double:3.1416"_s;
        QTest::newRow("FLOAT") << u"f"_s << u"Double:1.5"_s;
        QTest::newRow("DATETIME") << u"dt"_s << u"Date:01.03.2026 12:34:57"_s;
        QTest::newRow("NVARCHAR") << u"nv"_s << u"String:Türkçe ŞĞÜ İıĞ çöş"_s;
    }
    void sqliteTypes()
    {
        if (!m_sqlite)
            QSKIP("no SQLite3 ODBC driver");
        QFETCH(QString, column);
        const auto cursor = m_sqlite->execute(u"SELECT %1 FROM t WHERE id < 3 ORDER BY id"_s.arg(column));
        std::vector<runtime::Variant> row;
        QVERIFY(cursor->fetch(row));
        QTEST(row.at(0).typeName() + u':' + row.at(0).toString(), "value");
        QVERIFY(cursor->fetch(row));
        QVERIFY(row.at(0).isNull());
    }

    // Read in pieces that split its surrogate pairs; the cursor stays at its end.
    void sqliteLongText()
    {
        if (!m_sqlite)
            QSKIP("no SQLite3 ODBC driver");
        const auto cursor = m_sqlite->execute(u"SELECT nv AS Deger FROM t WHERE id = 3"_s);
        QCOMPARE(cursor->columnName(0), u"Deger"_s);
        std::vector<runtime::Variant> row;
        QVERIFY(cursor->fetch(row));
        QCOMPARE(row.at(0).stringValue(), m_longText);
        QVERIFY(!cursor->fetch(row));
        QVERIFY(!cursor->fetch(row));
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
        runtime::Currency total;
        for (std::vector<runtime::Variant> r; big->fetch(r); total += r[2].currencyValue()) {
            ++rows;
            QCOMPARE(r[0].intValue(), rows);
            QCOMPARE(r[1].stringValue(), u"Satır %1"_s.arg(rows));
            if (rows == 1)
                QCOMPARE_NE(firstValue(u"PRAGMA cache_size"_s), u"1234"_s);
        }
        QCOMPARE(rows, 200000);
        QCOMPARE(total.raw(), runtime::Currency::fromInt(200000LL * 200001 / 2 / 100).raw());
        try {
            m_sqlite->execute(u"SELECT SUM(Borc) AS Toplam FROM CEKKART"_s);
            QFAIL("the statement ran");
        } catch (const runtime::Err &e) {
            QCOMPARE(e.number(), runtime::ErrNo::CommandFailed);
            QVERIFY2(e.description().contains(u"no such table: CEKKART"_s), qPrintable(e.description()));
        }
        QCOMPARE(firstValue(u"PRAGMA cache_size"_s), u"1234"_s);
    }

    // The login record a SQL Server gets from FreeTDS, and its refusal.
    void freeTds_data()
    {
        QTest::addColumn<bool>("refusing");  // else a server that accepts the connection and never answers
        QTest::addColumn<QStringList>("login");  // user, password, database
        QTest::addColumn<qint32>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("refused, Turkish, braces and equals") << true << QStringList{u"ayşe{u}="_s, u"şİ p}w{=}"_s, u"D}}"_s}
                                                             << runtime::ErrNo::LoginFailed << u"Login failed for user 'ayşe{u}='."_s;
        QTest::newRow("a silent server times out") << false << QStringList{u"sa"_s, u"pw"_s, u"DB"_s}
                                                   << runtime::ErrNo::OpenFailed << u"[FreeTDS][SQL Server]Timeout expired"_s;
    }
    void freeTds()
    {
#ifdef Q_OS_WIN
        QSKIP("FreeTDS is the driver on Linux");
#endif
        QFETCH(bool, refusing);
        QFETCH(QStringList, login);
        QFETCH(QString, text);
        qunsetenv("ZELVAN_ODBC_DRIVER");
        qunsetenv("ZELVAN_ODBC_OPTIONS");
        RefusingServer server;
        QTcpServer silent;  // the kernel completes the handshake; nothing ever reads or answers
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        const quint16 port = refusing ? server.listen() : silent.serverPort();
        Connection connection;
        try {
            connection.open(u"Provider=SQLOLEDB.1;Persist Security Info=False;User ID=%1;Password=%2;Initial Catalog=%3;"
                            u"Data Source=127.0.0.1,%4"_s.arg(login[0], login[1], login[2]).arg(port));
            QFAIL("the login was accepted");
        } catch (const runtime::Err &error) {
            QTEST(error.number(), "number");
            QVERIFY2(error.description().contains(text), qPrintable(error.description()));
        }
        QVERIFY(!connection.isOpen());
        if (!refusing)
            return;
        QVERIFY(server.wait(60000));
        QCOMPARE(server.seen, login);
    }
};

QTEST_GUILESS_MAIN(TestOdbcBackend)
#include "tst_odbcbackend.moc"
