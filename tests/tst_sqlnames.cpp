#include "platform/sqlnames.h"

#include <QTest>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

class TestSqlNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rewrite_data();
    void rewrite();
    void originalNames();
};

void TestSqlNames::rewrite_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("databases");

    QTest::newRow("other database") << u"SELECT CARR FROM Defination_DB.dbo.Kullanici WHERE Firma_ID=1"_s
                                    << u"SELECT CARR FROM \"defination_db\".Kullanici WHERE Firma_ID=1"_s
                                    << QStringList{u"Defination_DB"_s};
    QTest::newRow("current database, any case") << u"SELECT * FROM firma.DBO.CB"_s << u"SELECT * FROM main.CB"_s
                                                 << QStringList();
    QTest::newRow("two-dot shorthand") << u"SELECT * FROM Defination_DB..sysfrmlng"_s
                                       << u"SELECT * FROM \"defination_db\".sysfrmlng"_s
                                       << QStringList{u"Defination_DB"_s};
    QTest::newRow("brackets") << u"SELECT * FROM [Defination_DB].[dbo].[Kullanici]"_s
                              << u"SELECT * FROM \"defination_db\".[Kullanici]"_s << QStringList{u"Defination_DB"_s};
    QTest::newRow("dbo alone") << u"SELECT dbo.CB.Bakiye FROM dbo.CB"_s << u"SELECT CB.Bakiye FROM CB"_s
                               << QStringList();
    QTest::newRow("two-part names untouched") << u"SELECT STOKKART.Stok_ID FROM STOKKART,SB WHERE STOKKART.Stok_ID=SB.Stok_ID"_s
                                              << u"SELECT STOKKART.Stok_ID FROM STOKKART,SB WHERE STOKKART.Stok_ID=SB.Stok_ID"_s
                                              << QStringList();
    QTest::newRow("doubled quote in literal") << u"SELECT 'it''s A.dbo.B' FROM A.dbo.B"_s
                                              << u"SELECT 'it''s A.dbo.B' FROM \"a\".B"_s << QStringList{u"A"_s};
    QTest::newRow("comments untouched") << u"SELECT 1 -- A.dbo.B\nFROM C /* D.dbo.E */"_s
                                        << u"SELECT 1 -- A.dbo.B\nFROM C /* D.dbo.E */"_s << QStringList();
    QTest::newRow("same database twice") << u"SELECT * FROM A.dbo.T1, a.dbo.T2"_s
                                         << u"SELECT * FROM \"a\".T1, \"a\".T2"_s << QStringList{u"A"_s};
    QTest::newRow("quote in database name") << u"SELECT * FROM [we\"ird].dbo.T"_s
                                            << u"SELECT * FROM \"we\"\"ird\".T"_s << QStringList{u"we\"ird"_s};
    QTest::newRow("unterminated literal") << u"SELECT 'A.dbo.B"_s << u"SELECT 'A.dbo.B"_s << QStringList();
    // A quote that a rewritten name brings in must not close one left open before it.
    QTest::newRow("unterminated quoted name") << u"SELECT \"x, '' FROM A..B"_s << u"SELECT \"x, '' FROM A..B"_s
                                              << QStringList();
    QTest::newRow("unterminated bracket") << u"SELECT [x FROM A.dbo.B"_s << u"SELECT [x FROM A.dbo.B"_s << QStringList();
    QTest::newRow("member after a dot") << u"SELECT x.A.dbo.B"_s << u"SELECT x.A.dbo.B"_s << QStringList();
}

void TestSqlNames::rewrite()
{
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    QFETCH(QStringList, databases);
    const ThreePartRewrite result = rewriteThreePartNames(sql, u"FIRMA");
    QCOMPARE(result.sql, expected);
    QCOMPARE(result.databases, databases);
}

void TestSqlNames::originalNames()
{
    const ThreePartRewrite result = rewriteThreePartNames(u"SELECT * FROM Defination_DB.dbo.Kullanici, FIRMA.dbo.CB", u"firma");
    QCOMPARE(result.originalName(u"defination_db.Kullanici"_s), u"Defination_DB.dbo.Kullanici"_s);
    QCOMPARE(result.originalName(u"main.CB"_s), u"FIRMA.dbo.CB"_s);
    QCOMPARE(result.originalName(u"XYZ"_s), u"XYZ"_s);
}

QTEST_GUILESS_MAIN(TestSqlNames)
#include "tst_sqlnames.moc"
