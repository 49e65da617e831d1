// The back end against the SQLite ODBC driver on a file the test writes, and FreeTDS against servers that fail it.

#include "platform/connection.h"
#include "platform/err.h"
#include "platform/odbcbackend.h"
#include "platform/writer/sqlitewriter.h"

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

namespace {

// A SQL Server as far as FreeTDS's login: answers the pre-login, reads the
// login record and refuses it as SQL Server does (error 18456), keeping the
// user, password and database that a real server would have seen.
class RefusingServer : public QThread
{
public:
    quint16 listen()
    {
        start();
        m_listening.acquire();
        return m_port;
    }

    QStringList seen;  // user, password, database

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
        readPacket(*socket);  // pre-login; the answer: a version, no encryption
        socket->write(packet(QByteArray::fromHex("00000b0006" "0100110001" "ff" "10000fa00000" "02")));
        const QByteArray login = readPacket(*socket);
        seen = QStringList{text(login, 40), text(login, 44, true), text(login, 68)};
        // An ERROR token (18456, state 1, class 14), no server or procedure name, line 0; then DONE with its error bit.
        const QString message = u"Login failed for user '%1'."_s.arg(seen[0]);
        QByteArray error = QByteArray::fromHex("18480000" "01" "0e" "0000");
        qToLittleEndian<quint16>(quint16(message.size()), error.data() + 6);
        error += QByteArray(reinterpret_cast<const char *>(message.utf16()), message.size() * 2)
               + QByteArray::fromHex("00" "00" "00000000");
        QByteArray token = QByteArray::fromHex("aa0000");
        qToLittleEndian<quint16>(quint16(error.size()), token.data() + 1);
        socket->write(packet(token + error + QByteArray::fromHex("fd" "0200" "0000" "0000000000000000")));
        socket->waitForBytesWritten(10000);
        socket->disconnectFromHost();
        if (socket->state() != QAbstractSocket::UnconnectedState)
            socket->waitForDisconnected(10000);
    }

private:
    static QByteArray readPacket(QTcpSocket &socket)
    {
        QByteArray data;
        while ((data.size() < 8 || data.size() < qFromBigEndian<quint16>(data.constData() + 2))
               && socket.waitForReadyRead(30000))
            data += socket.readAll();
        return data.mid(8);
    }

    static QByteArray packet(const QByteArray &body)
    {
        QByteArray header = QByteArray::fromHex("0401000000000100");  // a reply, the last packet
        qToBigEndian<quint16>(quint16(8 + body.size()), header.data() + 2);
        return header + body;
    }

    // A text of the login record, by its offset and length in characters at `at`. The
    // password has each byte's halves swapped, then XORed with A5.
    static QString text(const QByteArray &login, int at, bool scrambled = false)
    {
        if (login.size() < at + 4)
            return {};
        QByteArray bytes = login.mid(qFromLittleEndian<quint16>(login.constData() + at),
                                     qFromLittleEndian<quint16>(login.constData() + at + 2) * 2);
        for (char &byte : bytes)
            byte = scrambled ? char(quint8((quint8(byte) ^ 0xA5) << 4 | (quint8(byte) ^ 0xA5) >> 4)) : byte;
        return QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()), bytes.size() / 2);
    }

    QSemaphore m_listening;
    quint16 m_port = 0;
};

constexpr int BigRows = 200000;
const QString LongText = QString(u"ğüşİıöçxy😀"_s).repeated(30000);  // 11 units: pieces split its surrogate pairs
const QString Turkish = u"Türkçe ŞĞÜ İıĞ çöş"_s;

} // namespace

class TestOdbcBackend : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_file;
    QString m_skip;  // why the SQLite driver can't be used here

    std::unique_ptr<DbBackend> open() { return openOdbcConnection(u"DRIVER=SQLite3;DATABASE="_s + m_file); }

private Q_SLOTS:
    void initTestCase()
    {
        m_file = m_dir.filePath(u"odbc.sqlite"_s);
        writer::SqliteWriter db(m_file);
        db.begin();
        db.exec(u"CREATE TABLE t (id INT, b BIT, ti TINYINT, si SMALLINT, i INT, bi BIGINT, m MONEY, n NUMERIC(10,4), "
                u"f FLOAT, dt DATETIME, vc VARCHAR(20), nv NVARCHAR(40))"_s);
        db.prepare(u"INSERT INTO t VALUES (1, 1, 200, -300, 70000, 9000000000, 1234.5678, 3.1416, 1.5, "
                   u"'2026-03-01 12:34:56.789', 'çşğ', ?1)"_s).bind(1, Turkish).run();
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

    // Only the tests on FreeTDS run without the SQLite driver.
    void init()
    {
        if (!m_skip.isEmpty() && QByteArray(QTest::currentTestFunction()) != "freeTds")
            QSKIP(qPrintable(m_skip));
    }

    // Every type the SQLite driver reports for SQL Server's type names, then NULLs, then a long text.
    void sqliteDriver()
    {
        const std::vector<Variant> expected{
            Variant::boolean(true), Variant::byte(200), Variant::integer(-300), Variant::longInt(70000),
            Variant::decimal(Decimal::fromInt64(9000000000)), Variant::currency(*Currency::parse(u"1234.5678")),
            Variant::dbl(3.1416) /* NUMERIC is a double to this driver */, Variant::dbl(1.5),
            Variant::date(oleDateFrom(QDate(2026, 3, 1), QTime(12, 34, 56, 789))), Variant::string(u"çşğ"_s),
            Variant::string(Turkish)};
        const auto backend = open();
        const auto cursor = backend->execute(u"SELECT b AS Deger, ti, si, i, bi, m, n, f, dt, vc, nv FROM t "
                                             u"ORDER BY id"_s);
        QCOMPARE(cursor->columnCount(), int(expected.size()));
        QCOMPARE(cursor->columnName(0), u"Deger"_s);
        std::vector<Variant> row;
        QVERIFY(cursor->fetch(row));
        for (int c = 0; c < cursor->columnCount(); ++c) {
            QVERIFY2(row.at(c).typeName() == expected[c].typeName() && Variant::equals(row.at(c), expected[c]).value_or(false),
                     qPrintable(cursor->columnName(c) + u": "_s + row.at(c).toString()));
        }
        QVERIFY(cursor->fetch(row));
        QVERIFY(std::all_of(row.begin(), row.end(), [](const Variant &v) { return v.isNull(); }));
        QVERIFY(cursor->fetch(row) && row.back().stringValue() == LongText);
        QVERIFY(!cursor->fetch(row));
        QVERIFY(!cursor->fetch(row));

        // As the stock valuation does: each item's movements are read while the item
        // list is still open. A setting of the connection tells which one ran a statement.
        // A rejected statement leaves the connection serving the next one.
        QCOMPARE(backend->execute(u"PRAGMA cache_size = 1234"_s)->columnCount(), 0);
        const auto cacheSize = [&] {
            std::vector<Variant> row;
            return backend->execute(u"PRAGMA cache_size"_s)->fetch(row) ? row.at(0).toString() : QString();
        };
        {
            const auto cursor = backend->execute(u"SELECT id, name, amount FROM big ORDER BY id"_s);
            qint64 rows = 0;
            Currency total;
            while (cursor->fetch(row)) {
                if (rows == 0)
                    QVERIFY(cacheSize() != u"1234"_s);
                QCOMPARE(row[0].intValue(), ++rows);
                total += row[2].currencyValue();
            }
            QCOMPARE(rows, qint64(BigRows));
            QCOMPARE(row.at(1).stringValue(), u"Satır %1"_s.arg(BigRows));
            QCOMPARE(total, Currency::fromInt(qint64(BigRows) * (BigRows + 1) / 2 / 100));
        }
        try {
            backend->execute(u"SELECT SUM(Borc) AS Toplam FROM CEKKART"_s);
            QFAIL("the statement ran");
        } catch (const Err &error) {
            QCOMPARE(error.number(), ErrNo::CommandFailed);
            QVERIFY(error.description().contains(u"no such table: CEKKART"_s));
        }
        QCOMPARE(cacheSize(), u"1234"_s);
    }

    // The driver's own errors, and the login record a SQL Server gets from FreeTDS.
    void freeTds_data()
    {
        QTest::addColumn<int>("server");  // 0 refuses the login, 1 accepts and never answers, 2 a closed port
        QTest::addColumn<QStringList>("login");  // user, password, database
        QTest::addColumn<qint32>("number");
        QTest::addColumn<QString>("text");
        const QStringList sa{u"sa"_s, u"pw"_s, u"DB"_s};
        QTest::newRow("refused, Turkish") << 0 << QStringList{u"ayşe"_s, u"şifre İı"_s, u"NRV_DEMO_2026"_s}
                                          << ErrNo::LoginFailed << u"Login failed for user 'ayşe'."_s;
        QTest::newRow("refused, braces and equals") << 0 << QStringList{u"{u}="_s, u"p}w{=}"_s, u"D}}"_s}
                                                    << ErrNo::LoginFailed << u"Login failed for user '{u}='."_s;
        QTest::newRow("a silent server times out") << 1 << sa << ErrNo::OpenFailed
                                                   << u"[FreeTDS][SQL Server]Timeout expired"_s;
        QTest::newRow("closed port") << 2 << sa << ErrNo::OpenFailed << u"[FreeTDS][SQL Server]Unable to connect"_s;
    }
    void freeTds()
    {
#ifdef Q_OS_WIN
        QSKIP("FreeTDS is the driver on Linux");
#endif
        QFETCH(int, server);
        QFETCH(QStringList, login);
        QFETCH(QString, text);
        qunsetenv("ZELVAN_ODBC_DRIVER");
        qunsetenv("ZELVAN_ODBC_OPTIONS");
        RefusingServer refusing;
        QTcpServer silent;  // the kernel completes the handshake; nothing ever reads or answers
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        const quint16 port = server == 0 ? refusing.listen() : silent.serverPort();
        if (server == 2)
            silent.close();
        Connection connection;
        try {
            connection.open(u"Provider=SQLOLEDB.1;Persist Security Info=False;User ID=%1;Password=%2;"
                            u"Initial Catalog=%3;Data Source=127.0.0.1,%4"_s.arg(login[0], login[1], login[2]).arg(port));
            QFAIL("the login was accepted");
        } catch (const Err &error) {
            QTEST(error.number(), "number");
            QVERIFY2(error.description().contains(text), qPrintable(error.description()));
        }
        QVERIFY(!connection.isOpen());
        if (server == 0) {
            QVERIFY(refusing.wait(60000));
            QCOMPARE(refusing.seen, login);
        }
    }
};

QTEST_GUILESS_MAIN(TestOdbcBackend)
#include "tst_odbcbackend.moc"
