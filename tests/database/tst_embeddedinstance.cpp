#include "database/recordset.h"
#include "support/errcheck.h"
#include "support/testinstance.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace zelvan;
using namespace zelvan::database;
using namespace Qt::Literals::StringLiterals;

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
            u"INSERT INTO T VALUES (1, 200, -300, 70000, 5000000000, 876543210987.654, 12.5, 3, 0.1, '2026-03-01 14:05:09', "
            u"'Şişli', 7), (0, 0, 0, 0, 0, 0.0001, -7, 1.23456, -2.5, '2026-03-02', '', 'metin')"_s, u"INSERT INTO T DEFAULT VALUES"_s,
            u"CREATE TABLE C(v MONEY)"_s, u"WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM n WHERE x<1000000) INSERT INTO C SELECT 0.01 FROM n"_s});
        QVERIFY(QFile(QDir(m_instance.path()).filePath(u"Bos.sqlite"_s)).open(QIODevice::WriteOnly));
        m_digest = m_instance.digest();
    }

    // The rows, each field as type:text, or the error's number and text. The login and the databases match
    // without regard to case.
    void queries_data()
    {
        QTest::addColumn<QString>("user");  // user|password|database
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("result");
        const auto row = [](const char *name, const QString &sql, const QString &result,
                            const QString &login = u"ZeLvAn|parola|firma"_s) { QTest::newRow(name) << login << sql << result; };
        row("a later row of the login never counts", {}, u"80040e4d Login failed for user 'ZELVAN'."_s, u"ZELVAN|ikinci|FIRMA"_s);
        row("unknown login beats missing database", {}, u"80040e4d Login failed for user 'yok'."_s, u"yok||YOK"_s);
        row("empty file", {}, u"80004005 dosya boş"_s, u"zelvan|parola|Bos"_s);
        row("every type; the last row all NULL", u"SELECT * FROM Turler.dbo.T ORDER BY rowid"_s,
            u"Boolean:True Byte:200 Integer:-300 Long:70000 Decimal:5000000000 Currency:876543210987.654 Decimal:12.5 Decimal:3 "
            u"Double:0.1 Date:01.03.2026 14:05:09 String:Şişli Long:7|Boolean:False Byte:0 Integer:0 Long:0 Decimal:0 Currency:0.0001 "
            u"Decimal:-7 Decimal:1.2346 Double:-2.5 Date:02.03.2026 String: String:metin|"_s + QStringList(12, u"Null"_s).join(u' '));
        // SQL Server's types of aggregates; sums exact where doubles drift.
        row("aggregates", u"SELECT SUM(m) as Toplam, SUM(d), SUM(d4), SUM(ti), MAX(si), COUNT(s), AVG(f), MAX(dt), COUNT(*) FROM Turler.dbo.T"_s,
            u"Currency:876543210987.6541 Decimal:5.5 Decimal:4.2346 Long:200 Integer:0 Long:2 Double:-1.2 Date:02.03.2026 Long:3"_s);
        row("a million cents", u"SELECT SUM(v) as Toplam FROM Turler.dbo.C"_s, u"Currency:10000"_s);
        row("sum of no rows is NULL", u"SELECT SUM(m) as Toplam FROM Turler.dbo.T WHERE 1=0"_s, u"Null"_s);
        row("two other databases", u"SELECT s.sysfrm_nm, k.CARR FROM Defination_DB.dbo.sysfrmlng s, defination_db.dbo.Kullanici k "
                                   u"WHERE k.Firma_ID=s.sysfrm_ID"_s, u"String:Deneme Ticaret A.Ş. Boolean:True"_s);
        row("missing table", u"SELECT SUM(Borc) as Toplam FROM Firma.dbo.CEKKARTX"_s, u"80040e37 Invalid object name 'Firma.dbo.CEKKARTX'."_s);
        row("missing column", u"SELECT Yok FROM CB"_s, u"80040e14 Invalid column name 'Yok'."_s);
        row("missing database in a query", u"SELECT * FROM YokDB.dbo.T"_s,
            u"80040e14 Database 'YokDB' does not exist. Make sure that the name is entered correctly."_s);
        row("a write is refused", u"DELETE FROM CB"_s, u"80040e14 Bu program veritabanına yazmaz."_s);
    }
    void queries()
    {
        QFETCH(QString, user);
        QFETCH(QString, sql);
        QFETCH(QString, result);
        auto connection = std::make_shared<Connection>();
        Recordset rs;
        QStringList rows;
        try {
            connection->open(m_instance.connectionString(user.section(u'|', 2), user.section(u'|', 0, 0), user.section(u'|', 1, 1)));
            rs.setActiveConnection(connection); rs.setSource(sql); rs.open();
            QCOMPARE(test::errNumberOf([&] { rs.field(u"yok"_s); }), runtime::ErrNo::ItemNotFound);
            QCOMPARE(rs.fieldIndex(rs.fieldName(0).toUpper()), 0);
            for (; !rs.eof(); rs.moveNext()) {
                if (rows.size() == 1)  // counts the rows already passed too
                    QCOMPARE(rs.recordCount(), result.count(u'|') + 1);
                QStringList values;
                for (int c = 0; c < rs.fieldCount(); ++c)
                    values.append(rs.field(c).isNull() ? u"Null"_s : rs.field(c).typeName() + u':' + rs.field(c).toString());
                rows.append(values.join(u' '));
            }
            QCOMPARE(rows.join(u'|'), result);
            QCOMPARE(test::errNumberOf([&] { rs.field(0); }), runtime::ErrNo::NoCurrentRecord);
            rs.close();
            QCOMPARE(test::errNumberOf([&] { rs.field(0); }), runtime::ErrNo::ObjectClosed);
        } catch (const runtime::Err &e) {
            QCOMPARE(QString::number(quint32(e.number()), 16), result.section(u' ', 0, 0));
            QVERIFY2(e.description().contains(result.section(u' ', 1)), qPrintable(e.description()));
            QVERIFY(!connection->isOpen() || rs.state() == Recordset::StateClosed);
        }
    }

    // Nothing the tests did, the refused write included, changed a file.
    void cleanupTestCase()
    {
        QCOMPARE(m_instance.digest(), m_digest);
    }
};

QTEST_GUILESS_MAIN(TestEmbeddedInstance)
#include "tst_embeddedinstance.moc"
