#include "platform/connection.h"
#include "platform/err.h"
#include "platform/recordset.h"
#include "support/errcheck.h"
#include "support/testinstance.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace zelvan;
using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

class TestEmbeddedInstance : public QObject
{
    Q_OBJECT

    test::TestInstance m_instance;

    std::shared_ptr<Connection> open(const QString &database = u"FIRMA"_s)
    {
        auto connection = std::make_shared<Connection>();
        connection->open(m_instance.connectionString(database, u"zelvan"_s, u"parola"_s));
        return connection;
    }

private Q_SLOTS:
    void initTestCase()
    {
        test::addStandardDatabases(m_instance);
        m_instance.addLogin(u"ZELVAN"_s, u"ikinci"_s);  // a later row with the same name never counts
        m_instance.createDatabase(u"Turler"_s, {
            u"CREATE TABLE T(b BIT, ti TINYINT, si SMALLINT, i INT, bi BIGINT, m MONEY, d DECIMAL(18,2), "
            u"d4 NUMERIC(10,4), f FLOAT, dt DATETIME, s NVARCHAR(20), untyped)"_s,
            u"INSERT INTO T VALUES (1, 200, -300, 70000, 5000000000, 1234.5678, 12.5, 3, 0.1, '2026-03-01 14:05:09', "
            u"'Şişli', 7)"_s,
            u"INSERT INTO T VALUES (0, 0, 0, 0, 0, -0.01, -7, 1.23456, -2.5, '2026-03-02', '', 'metin')"_s,
            u"INSERT INTO T VALUES (NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)"_s,
        });
        m_instance.createDatabase(u"Cents"_s, {u"CREATE TABLE C(v MONEY)"_s,
                                               u"WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM n "
                                               u"WHERE x<1000000) INSERT INTO C SELECT 0.01 FROM n"_s});
        for (const auto &[name, bytes] : {std::pair{u"Bos.sqlite"_s, QByteArray()}, {u"Bozuk.sqlite"_s, QByteArray(8192, 'x')}}) {
            QFile file(QDir(m_instance.path()).filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
    }

    void openFailures_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("database");
        QTest::addColumn<qint32>("number");
        QTest::addColumn<QString>("text");

        QTest::newRow("wrong password") << u"zelvan"_s << u"PAROLA"_s << u"FIRMA"_s << ErrNo::LoginFailed
                                        << u"Login failed for user 'zelvan'."_s;
        QTest::newRow("a later row of the login never counts") << u"ZELVAN"_s << u"ikinci"_s << u"FIRMA"_s
                                                               << ErrNo::LoginFailed << u"Login failed for user 'ZELVAN'."_s;
        QTest::newRow("unknown login beats missing database") << u"yok"_s << u""_s << u"YOK"_s << ErrNo::LoginFailed
                                                              << u"Login failed for user 'yok'."_s;
        QTest::newRow("missing database") << u"zelvan"_s << u"parola"_s << u"YOK"_s << ErrNo::OpenFailed
                                          << u"Cannot open database \"YOK\" requested by the login. The login failed."_s;
        QTest::newRow("empty file") << u"zelvan"_s << u"parola"_s << u"Bos"_s << ErrNo::OpenFailed << u"dosya boş"_s;
        QTest::newRow("not a database") << u"zelvan"_s << u"parola"_s << u"Bozuk"_s << ErrNo::OpenFailed
                                        << u"file is not a database"_s;
    }
    void openFailures()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, database);
        QFETCH(QString, text);
        Connection connection;
        try {
            connection.open(m_instance.connectionString(database, user, password));
            QFAIL("the open should fail");
        } catch (const Err &e) {
            QTEST(e.number(), "number");
            QVERIFY2(e.description().contains(text), qPrintable(e.description()));
        }
        QVERIFY(!connection.isOpen());
    }

    // Each column's type and text, row by row; the last row is all NULL.
    void types()
    {
        Recordset rs;
        rs.setActiveConnection(open(u"Turler"_s));
        rs.setSource(u"SELECT * FROM T ORDER BY rowid"_s);
        rs.open();
        QStringList rows;
        for (; !rs.eof(); rs.moveNext()) {
            QStringList values;
            for (int c = 0; c < rs.fieldCount(); ++c) {
                const Variant &v = rs.field(c);
                values.append(v.isNull() ? u"Null"_s : v.typeName() + u':' + v.toString());
            }
            rows.append(values.join(u' '));
        }
        QCOMPARE(rows, (QStringList{
            u"Boolean:True Byte:200 Integer:-300 Long:70000 Decimal:5000000000 Currency:1234.5678 Decimal:12.5 "
            u"Decimal:3 Double:0.1 Date:01.03.2026 14:05:09 String:Şişli Long:7"_s,
            u"Boolean:False Byte:0 Integer:0 Long:0 Decimal:0 Currency:-0.01 Decimal:-7 Decimal:1.2346 Double:-2.5 "
            u"Date:02.03.2026 String: String:metin"_s,
            QStringList(12, u"Null"_s).join(u' ')}));
    }

    void aggregatesTakeSqlServerTypes_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("value");  // type:text

        QTest::newRow("sum money") << u"SELECT SUM(m) as Toplam FROM T"_s << u"Currency:1234.5578"_s;
        QTest::newRow("sum decimal") << u"SELECT SUM(d) AS Toplam FROM T"_s << u"Decimal:5.5"_s;
        QTest::newRow("sum int") << u"SELECT SUM(i) Toplam FROM T"_s << u"Long:70000"_s;
        QTest::newRow("sum float") << u"SELECT SUM(f) as Toplam FROM T"_s << u"Double:-2.4"_s;
        QTest::newRow("sum of no rows is NULL") << u"SELECT SUM(m) as Toplam FROM T WHERE 1=0"_s << u"Null"_s;
        QTest::newRow("count") << u"SELECT COUNT(*) FROM T"_s << u"Long:3"_s;
        QTest::newRow("max datetime") << u"SELECT MAX(dt) FROM T"_s << u"Date:02.03.2026"_s;
        QTest::newRow("a million cents sum exactly") << u"SELECT SUM(v) as Toplam FROM Cents.dbo.C"_s
                                                     << u"Currency:10000"_s;
    }
    void aggregatesTakeSqlServerTypes()
    {
        QFETCH(QString, sql);
        Recordset rs;
        rs.setActiveConnection(open(u"Turler"_s));
        rs.setSource(sql);
        rs.open();
        const Variant &value = rs.field(0);
        QTEST(value.isNull() ? u"Null"_s : value.typeName() + u':' + value.toString(), "value");
    }

    // Database and login names match without regard to case.
    void threePartNamesReachOtherDatabases()
    {
        Recordset rs;
        auto connection = std::make_shared<Connection>();
        connection->open(m_instance.connectionString(u"firma"_s, u"ZeLvAn"_s, u"parola"_s));
        rs.setActiveConnection(connection);
        rs.setSource(u"SELECT sysfrmlng.sysfrm_nm, k.CARR FROM Defination_DB.dbo.sysfrmlng, defination_db.dbo.Kullanici k "
                     u"WHERE k.Firma_ID=sysfrmlng.sysfrm_ID AND 'x.dbo.y'<>''"_s);
        rs.open();
        QCOMPARE(rs.field(u"sysfrm_nm"_s).toString(), u"Deneme Ticaret A.Ş."_s);
        QCOMPARE(rs.field(u"CARR"_s).typeName(), u"Boolean"_s);
        rs.setSource(u"SELECT COUNT(*) AS n FROM FIRMA.dbo.CEKKART"_s);  // the current database by its own name
        rs.open();
        QCOMPARE(rs.field(u"n"_s).toString(), u"0"_s);
    }

    void queryErrors_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing table") << u"SELECT SUM(Borc) as Toplam FROM CEKKARTX"_s
                                       << u"Invalid object name 'CEKKARTX'."_s;
        QTest::newRow("missing table elsewhere") << u"SELECT * FROM Defination_DB.dbo.Yok"_s
                                                 << u"Invalid object name 'Defination_DB.dbo.Yok'."_s;
        QTest::newRow("missing column") << u"SELECT Yok FROM CB"_s << u"Invalid column name 'Yok'."_s;
        QTest::newRow("missing database")
            << u"SELECT * FROM YokDB.dbo.T"_s
            << u"Database 'YokDB' does not exist. Make sure that the name is entered correctly."_s;
        QTest::newRow("a write is refused") << u"DELETE FROM CB"_s << u"Bu program veritabanına yazmaz."_s;
    }
    void queryErrors()
    {
        QFETCH(QString, sql);
        QFETCH(QString, text);
        Recordset rs;
        rs.setActiveConnection(open());
        rs.setSource(sql);
        try {
            rs.open();
            QFAIL("the query should fail");
        } catch (const Err &e) {
            QVERIFY2(e.description().contains(text), qPrintable(e.description()));
        }
        QCOMPARE(rs.state(), int(Recordset::StateClosed));
    }

    void recordsetMovesAndCounts()
    {
        Recordset rs;
        QCOMPARE(test::errNumberOf([&] { rs.eof(); }), ErrNo::ObjectClosed);
        rs.setActiveConnection(open(u"Turler"_s));
        rs.setSource(u"SELECT i FROM T ORDER BY rowid"_s);
        rs.open();
        QCOMPARE(rs.fieldCount(), 1);
        QCOMPARE(rs.fieldName(0), u"i"_s);
        QCOMPARE(test::errNumberOf([&] { rs.field(u"yok"_s); }), ErrNo::ItemNotFound);
        rs.moveNext();
        QCOMPARE(rs.recordCount(), qint64(3));  // counts the rows already passed too
        QCOMPARE(rs.field(u"I"_s).toString(), u"0"_s);
        rs.moveNext();
        rs.moveNext();
        QVERIFY(rs.eof());
        QCOMPARE(test::errNumberOf([&] { rs.field(u"i"_s); }), ErrNo::NoCurrentRecord);
        rs.setAbsolutePosition(0);
        QCOMPARE(rs.field(u"i"_s).toString(), u"0"_s);
        rs.close();
        QCOMPARE(test::errNumberOf([&] { rs.field(u"i"_s); }), ErrNo::ObjectClosed);
    }

    void instanceStaysByteIdentical()
    {
        const QByteArray before = m_instance.digest();
        {
            Recordset rs;
            rs.setActiveConnection(open());
            rs.setSource(u"SELECT * FROM Defination_DB.dbo.sysfrmlng"_s);
            rs.open();
            rs.recordCount();
            rs.setSource(u"SELECT SUM(Bakiye) as Toplam FROM CB"_s);
            rs.open();
        }
        QCOMPARE(m_instance.digest(), before);
        QCOMPARE(QDir(m_instance.path()).entryList(QDir::Files).filter(u"-journal"_s), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestEmbeddedInstance)
#include "tst_embeddedinstance.moc"
