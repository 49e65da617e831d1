#include "platform/connection.h"
#include "platform/err.h"
#include "platform/recordset.h"
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

private Q_SLOTS:
    void initTestCase();
    void openFailures_data();
    void openFailures();
    void loginNameIgnoresCaseFirstRowCounts();
    void types_data();
    void types();
    void aggregatesTakeSqlServerTypes_data();
    void aggregatesTakeSqlServerTypes();
    void millionCentsSumExactly();
    void threePartNamesReachOtherDatabases();
    void queryErrors_data();
    void queryErrors();
    void recordsetMovesAndCounts();
    void instanceStaysByteIdentical();

private:
    std::shared_ptr<Connection> open(const QString &database = u"FIRMA"_s);
    Variant single(const QString &sql);

    test::TestInstance m_instance;
};

void TestEmbeddedInstance::initTestCase()
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
                                           u"WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM n WHERE x<1000000) "
                                           u"INSERT INTO C SELECT 0.01 FROM n"_s});
    QFile empty(QDir(m_instance.path()).filePath(u"Bos.sqlite"_s));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    QFile garbage(QDir(m_instance.path()).filePath(u"Bozuk.sqlite"_s));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(8192, 'x'));
    garbage.close();
}

std::shared_ptr<Connection> TestEmbeddedInstance::open(const QString &database)
{
    auto connection = std::make_shared<Connection>();
    connection->open(m_instance.connectionString(database, u"zelvan"_s, u"parola"_s));
    return connection;
}

Variant TestEmbeddedInstance::single(const QString &sql)
{
    Recordset rs;
    rs.setActiveConnection(open(u"Turler"_s));
    rs.setSource(sql);
    rs.open();
    return rs.field(0);
}

void TestEmbeddedInstance::openFailures_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("database");
    QTest::addColumn<qint32>("number");
    QTest::addColumn<QString>("text");

    QTest::newRow("wrong password") << u"zelvan"_s << u"PAROLA"_s << u"FIRMA"_s << ErrNo::LoginFailed
                                    << u"Login failed for user 'zelvan'."_s;
    QTest::newRow("unknown login beats missing database") << u"yok"_s << u""_s << u"YOK"_s << ErrNo::LoginFailed
                                                          << u"Login failed for user 'yok'."_s;
    QTest::newRow("missing database") << u"zelvan"_s << u"parola"_s << u"YOK"_s << ErrNo::OpenFailed
                                      << u"Cannot open database \"YOK\" requested by the login. The login failed."_s;
    QTest::newRow("empty file") << u"zelvan"_s << u"parola"_s << u"Bos"_s << ErrNo::OpenFailed << u"dosya boş"_s;
    QTest::newRow("not a database") << u"zelvan"_s << u"parola"_s << u"Bozuk"_s << ErrNo::OpenFailed
                                    << u"file is not a database"_s;
}

void TestEmbeddedInstance::openFailures()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, database);
    QFETCH(qint32, number);
    QFETCH(QString, text);
    Connection connection;
    try {
        connection.open(m_instance.connectionString(database, user, password));
        QFAIL("the open should fail");
    } catch (const Err &e) {
        QCOMPARE(e.number(), number);
        QVERIFY2(e.description().contains(text), qPrintable(e.description()));
    }
    QVERIFY(!connection.isOpen());
}

void TestEmbeddedInstance::loginNameIgnoresCaseFirstRowCounts()
{
    Connection connection;
    connection.open(m_instance.connectionString(u"firma"_s, u"ZeLvAn"_s, u"parola"_s));
    QVERIFY(connection.isOpen());
    Connection second;
    QVERIFY_THROWS_EXCEPTION(Err, second.open(m_instance.connectionString(u"FIRMA"_s, u"ZELVAN"_s, u"ikinci"_s)));
}

void TestEmbeddedInstance::types_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QStringList>("typeNames");  // rows 1, 2, 3
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("bit") << u"b"_s << QStringList{u"Boolean"_s, u"Boolean"_s, u"Null"_s}
                         << QStringList{u"True"_s, u"False"_s};
    QTest::newRow("tinyint") << u"ti"_s << QStringList{u"Byte"_s, u"Byte"_s, u"Null"_s} << QStringList{u"200"_s, u"0"_s};
    QTest::newRow("smallint") << u"si"_s << QStringList{u"Integer"_s, u"Integer"_s, u"Null"_s}
                              << QStringList{u"-300"_s, u"0"_s};
    QTest::newRow("int") << u"i"_s << QStringList{u"Long"_s, u"Long"_s, u"Null"_s} << QStringList{u"70000"_s, u"0"_s};
    QTest::newRow("bigint") << u"bi"_s << QStringList{u"Decimal"_s, u"Decimal"_s, u"Null"_s}
                            << QStringList{u"5000000000"_s, u"0"_s};
    QTest::newRow("money") << u"m"_s << QStringList{u"Currency"_s, u"Currency"_s, u"Null"_s}
                           << QStringList{u"1234.5678"_s, u"-0.01"_s};
    QTest::newRow("decimal") << u"d"_s << QStringList{u"Decimal"_s, u"Decimal"_s, u"Null"_s}
                             << QStringList{u"12.5"_s, u"-7"_s};
    QTest::newRow("numeric scale 4") << u"d4"_s << QStringList{u"Decimal"_s, u"Decimal"_s, u"Null"_s}
                                     << QStringList{u"3"_s, u"1.2346"_s};
    QTest::newRow("float") << u"f"_s << QStringList{u"Double"_s, u"Double"_s, u"Null"_s}
                           << QStringList{u"0.1"_s, u"-2.5"_s};
    QTest::newRow("datetime") << u"dt"_s << QStringList{u"Date"_s, u"Date"_s, u"Null"_s}
                              << QStringList{u"01.03.2026 14:05:09"_s, u"02.03.2026"_s};
    QTest::newRow("nvarchar") << u"s"_s << QStringList{u"String"_s, u"String"_s, u"Null"_s}
                              << QStringList{u"Şişli"_s, QString()};
    QTest::newRow("no declared type") << u"untyped"_s << QStringList{u"Long"_s, u"String"_s, u"Null"_s}
                                      << QStringList{u"7"_s, u"metin"_s};
}

void TestEmbeddedInstance::types()
{
    QFETCH(QString, column);
    QFETCH(QStringList, typeNames);
    QFETCH(QStringList, texts);
    Recordset rs;
    rs.setActiveConnection(open(u"Turler"_s));
    rs.setSource(u"SELECT "_s + column + u" FROM T ORDER BY rowid"_s);
    rs.open();
    for (int row = 0; row < 3; ++row) {
        QVERIFY(!rs.eof());
        const Variant &value = rs.field(column.toUpper());  // names match without regard to case
        QCOMPARE(value.typeName(), typeNames[row]);
        if (row < 2)
            QCOMPARE(value.toString(), texts[row]);
        rs.moveNext();
    }
    QVERIFY(rs.eof());
}

void TestEmbeddedInstance::aggregatesTakeSqlServerTypes_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("typeName");
    QTest::addColumn<QString>("text");

    QTest::newRow("sum money") << u"SELECT SUM(m) as Toplam FROM T"_s << u"Currency"_s << u"1234.5578"_s;
    QTest::newRow("sum decimal") << u"SELECT SUM(d) AS Toplam FROM T"_s << u"Decimal"_s << u"5.5"_s;
    QTest::newRow("sum int") << u"SELECT SUM(i) Toplam FROM T"_s << u"Long"_s << u"70000"_s;
    QTest::newRow("sum float") << u"SELECT SUM(f) as Toplam FROM T"_s << u"Double"_s << u"-2.4"_s;
    QTest::newRow("sum of no rows is NULL") << u"SELECT SUM(m) as Toplam FROM T WHERE 1=0"_s << u"Null"_s << QString();
    QTest::newRow("sum of NULLs is NULL") << u"SELECT SUM(m) as Toplam FROM T WHERE m IS NULL"_s << u"Null"_s
                                          << QString();
    QTest::newRow("count") << u"SELECT COUNT(*) FROM T"_s << u"Long"_s << u"3"_s;
    QTest::newRow("max datetime") << u"SELECT MAX(dt) FROM T"_s << u"Date"_s << u"02.03.2026"_s;
}

void TestEmbeddedInstance::aggregatesTakeSqlServerTypes()
{
    QFETCH(QString, sql);
    const Variant value = single(sql);
    QTEST(value.typeName(), "typeName");
    if (!value.isNull())
        QTEST(value.toString(), "text");
}

void TestEmbeddedInstance::millionCentsSumExactly()
{
    Recordset rs;
    rs.setActiveConnection(open(u"Cents"_s));
    rs.setSource(u"SELECT SUM(v) as Toplam FROM C"_s);
    rs.open();
    const Variant total = rs.field(u"Toplam"_s);
    QCOMPARE(total.typeName(), u"Currency"_s);
    QCOMPARE(total.currencyValue().raw(), qint64(10000) * 10000);
}

void TestEmbeddedInstance::threePartNamesReachOtherDatabases()
{
    Recordset rs;
    rs.setActiveConnection(open());
    rs.setSource(u"SELECT sysfrmlng.sysfrm_nm, k.CARR FROM Defination_DB.dbo.sysfrmlng, defination_db.dbo.Kullanici k "
                 u"WHERE k.Firma_ID=sysfrmlng.sysfrm_ID AND 'x.dbo.y'<>''"_s);
    rs.open();
    QCOMPARE(rs.field(u"sysfrm_nm"_s).toString(), u"Deneme Ticaret A.Ş."_s);
    QCOMPARE(rs.field(u"CARR"_s).typeName(), u"Boolean"_s);

    rs.setSource(u"SELECT COUNT(*) AS n FROM FIRMA.dbo.CEKKART"_s);  // the current database by its own name
    rs.open();
    QCOMPARE(rs.field(u"n"_s).toString(), u"0"_s);
}

void TestEmbeddedInstance::queryErrors_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("text");
    QTest::newRow("missing table") << u"SELECT SUM(Borc) as Toplam FROM CEKKARTX"_s << u"Invalid object name 'CEKKARTX'."_s;
    QTest::newRow("missing table elsewhere") << u"SELECT * FROM Defination_DB.dbo.Yok"_s
                                             << u"Invalid object name 'Defination_DB.dbo.Yok'."_s;
    QTest::newRow("missing column") << u"SELECT Yok FROM CB"_s << u"Invalid column name 'Yok'."_s;
    QTest::newRow("missing database") << u"SELECT * FROM YokDB.dbo.T"_s
                                      << u"Database 'YokDB' does not exist. Make sure that the name is entered correctly."_s;
    QTest::newRow("a write is refused") << u"DELETE FROM CB"_s << u"Bu program veritabanına yazmaz."_s;
    QTest::newRow("apostrophe breaks the text") << u"SELECT * FROM CB WHERE x='O'Brien'"_s << u"syntax error"_s;
}

void TestEmbeddedInstance::queryErrors()
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

void TestEmbeddedInstance::recordsetMovesAndCounts()
{
    Recordset rs;
    QVERIFY_THROWS_EXCEPTION(Err, rs.eof());  // closed
    rs.setActiveConnection(open(u"Turler"_s));
    rs.setSource(u"SELECT i FROM T ORDER BY rowid"_s);
    rs.open();
    QCOMPARE(rs.fieldCount(), 1);
    QCOMPARE(rs.fieldName(0), u"i"_s);
    try {
        rs.field(u"yok"_s);
        QFAIL("an unknown column must fail");
    } catch (const Err &e) {
        QCOMPARE(e.number(), ErrNo::ItemNotFound);
    }
    rs.moveNext();
    QCOMPARE(rs.recordCount(), qint64(3));  // counts the rows already passed too
    QCOMPARE(rs.field(u"i"_s).toString(), u"0"_s);
    rs.moveNext();
    rs.moveNext();
    QVERIFY(rs.eof());
    try {
        rs.field(u"i"_s);
        QFAIL("no current row");
    } catch (const Err &e) {
        QCOMPARE(e.number(), ErrNo::NoCurrentRecord);
    }
    rs.setAbsolutePosition(0);
    QCOMPARE(rs.field(u"i"_s).toString(), u"0"_s);
    rs.close();
    try {
        rs.field(u"i"_s);
        QFAIL("closed");
    } catch (const Err &e) {
        QCOMPARE(e.number(), ErrNo::ObjectClosed);
    }
}

void TestEmbeddedInstance::instanceStaysByteIdentical()
{
    const QByteArray before = m_instance.digest();
    {
        auto connection = open();
        Recordset rs;
        rs.setActiveConnection(connection);
        rs.setSource(u"SELECT * FROM Defination_DB.dbo.sysfrmlng"_s);
        rs.open();
        rs.recordCount();
        rs.setSource(u"SELECT SUM(Bakiye) as Toplam FROM CB"_s);
        rs.open();
    }
    QCOMPARE(m_instance.digest(), before);
    QCOMPARE(QDir(m_instance.path()).entryList(QDir::Files).filter(u"-journal"_s), QStringList());
}

QTEST_GUILESS_MAIN(TestEmbeddedInstance)
#include "tst_embeddedinstance.moc"
