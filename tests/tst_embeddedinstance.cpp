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

namespace {
QString typed(const Variant &v) { return v.isNull() ? u"Null"_s : v.typeName() + u':' + v.toString(); }
} // namespace

class TestEmbeddedInstance : public QObject
{
    Q_OBJECT

    test::TestInstance m_instance;
    QByteArray m_digest;

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
        m_digest = m_instance.digest();
    }

    // The first field's type and text, or the error's number and text. The login
    // and the databases match without regard to case.
    void queries_data()
    {
        QTest::addColumn<QString>("user");  // user|password|database
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("result");
        const auto row = [](const char *name, const QString &sql, const QString &result,
                            const QString &login = u"ZeLvAn|parola|firma"_s) {
            QTest::newRow(name) << login << sql << result;
        };
        row("wrong password", {}, u"80040e4d Login failed for user 'zelvan'."_s, u"zelvan|PAROLA|FIRMA"_s);
        row("a later row of the login never counts", {}, u"80040e4d Login failed for user 'ZELVAN'."_s,
            u"ZELVAN|ikinci|FIRMA"_s);
        row("unknown login beats missing database", {}, u"80040e4d Login failed for user 'yok'."_s, u"yok||YOK"_s);
        row("missing database", {},
            u"80004005 Cannot open database \"YOK\" requested by the login. The login failed."_s,
            u"zelvan|parola|YOK"_s);
        row("empty file", {}, u"80004005 dosya boş"_s, u"zelvan|parola|Bos"_s);
        row("not a database", {}, u"80004005 file is not a database"_s, u"zelvan|parola|Bozuk"_s);
        row("sum money", u"SELECT SUM(m) as Toplam FROM Turler.dbo.T"_s, u"Currency:1234.5578"_s);
        row("sum decimal", u"SELECT SUM(d) AS Toplam FROM Turler.dbo.T"_s, u"Decimal:5.5"_s);
        row("sum of no rows is NULL", u"SELECT SUM(m) as Toplam FROM Turler.dbo.T WHERE 1=0"_s, u"Null"_s);
        row("count", u"SELECT COUNT(*) FROM FIRMA.dbo.CEKKART"_s, u"Long:0"_s);
        row("max datetime", u"SELECT MAX(dt) FROM Turler.dbo.T"_s, u"Date:02.03.2026"_s);
        row("a million cents sum exactly", u"SELECT SUM(v) as Toplam FROM Cents.dbo.C"_s, u"Currency:10000"_s);
        row("two other databases", u"SELECT sysfrmlng.sysfrm_nm, k.CARR FROM Defination_DB.dbo.sysfrmlng, "
                                   u"defination_db.dbo.Kullanici k WHERE k.Firma_ID=sysfrmlng.sysfrm_ID AND 'x.dbo.y'<>''"_s,
            u"String:Deneme Ticaret A.Ş."_s);
        row("missing table", u"SELECT SUM(Borc) as Toplam FROM CEKKARTX"_s, u"80040e37 Invalid object name 'CEKKARTX'."_s);
        row("missing table elsewhere", u"SELECT * FROM Defination_DB.dbo.Yok"_s,
            u"80040e37 Invalid object name 'Defination_DB.dbo.Yok'."_s);
        row("missing column", u"SELECT Yok FROM CB"_s, u"80040e14 Invalid column name 'Yok'."_s);
        row("missing database in a query", u"SELECT * FROM YokDB.dbo.T"_s,
            u"80040e14 Database 'YokDB' does not exist. Make sure that the name is entered correctly."_s);
        row("a write is refused", u"DELETE FROM CB"_s, u"80040e14 Bu program veritabanına yazmaz."_s);
    }
    void queries()
    {
        QFETCH(QString, sql);
        QFETCH(QString, result);
        QFETCH(QString, user);
        const QStringList login = user.split(u'|');
        auto connection = std::make_shared<Connection>();
        Recordset rs;
        try {
            connection->open(m_instance.connectionString(login[2], login[0], login[1]));
            rs.setActiveConnection(connection);
            rs.setSource(sql);
            rs.open();
            QCOMPARE(typed(rs.field(0)), result);
        } catch (const Err &e) {
            QCOMPARE(QString::number(quint32(e.number()), 16), result.section(u' ', 0, 0));
            QVERIFY2(e.description().contains(result.section(u' ', 1)), qPrintable(e.description()));
            QVERIFY(!connection->isOpen() || rs.state() == Recordset::StateClosed);
        }
    }

    // Each column's type and text, row by row; the last row is all NULL.
    void typesAndMoves()
    {
        Recordset rs;
        QCOMPARE(test::errNumberOf([&] { rs.eof(); }), ErrNo::ObjectClosed);
        auto connection = std::make_shared<Connection>();
        connection->open(m_instance.connectionString(u"Turler"_s, u"zelvan"_s, u"parola"_s));
        rs.setActiveConnection(connection);
        rs.setSource(u"SELECT * FROM T ORDER BY rowid"_s);
        rs.open();
        QCOMPARE(test::errNumberOf([&] { rs.field(u"yok"_s); }), ErrNo::ItemNotFound);
        QStringList rows;
        for (; !rs.eof(); rs.moveNext()) {
            if (rows.size() == 1)
                QCOMPARE(rs.recordCount(), qint64(3));  // counts the rows already passed too
            QStringList values;
            for (int c = 0; c < rs.fieldCount(); ++c)
                values.append(typed(rs.field(c)));
            rows.append(values.join(u' '));
        }
        QCOMPARE(rows, (QStringList{
            u"Boolean:True Byte:200 Integer:-300 Long:70000 Decimal:5000000000 Currency:1234.5678 Decimal:12.5 "
            u"Decimal:3 Double:0.1 Date:01.03.2026 14:05:09 String:Şişli Long:7"_s,
            u"Boolean:False Byte:0 Integer:0 Long:0 Decimal:0 Currency:-0.01 Decimal:-7 Decimal:1.2346 Double:-2.5 "
            u"Date:02.03.2026 String: String:metin"_s,
            QStringList(12, u"Null"_s).join(u' ')}));
        QCOMPARE(test::errNumberOf([&] { rs.field(u"i"_s); }), ErrNo::NoCurrentRecord);
        rs.setAbsolutePosition(0);
        QCOMPARE(rs.field(u"I"_s).toString(), u"0"_s);
        rs.close();
        QCOMPARE(test::errNumberOf([&] { rs.field(u"i"_s); }), ErrNo::ObjectClosed);
    }

    // Nothing the tests did, the refused write included, changed a file.
    void cleanupTestCase()
    {
        QCOMPARE(m_instance.digest(), m_digest);
        QCOMPARE(QDir(m_instance.path()).entryList(QDir::Files).filter(u"-journal"_s), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestEmbeddedInstance)
#include "tst_embeddedinstance.moc"
