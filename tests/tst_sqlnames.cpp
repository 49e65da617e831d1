#include "platform/sqlnames.h"

#include <QTest>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

class TestSqlNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rewrite_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");  // empty: unchanged
        QTest::addColumn<QString>("databases");  // the other databases named, joined by '|'
        const auto row = [](const char *name, const char16_t *sql, const char16_t *expected, const char16_t *databases) {
            QTest::newRow(name) << QString::fromUtf16(sql) << QString::fromUtf16(expected) << QString::fromUtf16(databases);
        };
        row("other database", u"SELECT CARR FROM Defination_DB.dbo.Kullanici WHERE Firma_ID=1",
            u"SELECT CARR FROM \"defination_db\".Kullanici WHERE Firma_ID=1", u"Defination_DB");
        row("current database, any case", u"SELECT * FROM firma.DBO.CB", u"SELECT * FROM main.CB", u"");
        row("two-dot shorthand, same database twice", u"SELECT * FROM A..T1, a.dbo.T2",
            u"SELECT * FROM \"a\".T1, \"a\".T2", u"A");
        row("brackets", u"SELECT * FROM [Defination_DB].[dbo].[Kullanici]",
            u"SELECT * FROM \"defination_db\".[Kullanici]", u"Defination_DB");
        row("dbo alone", u"SELECT dbo.CB.Bakiye FROM dbo.CB", u"SELECT CB.Bakiye FROM CB", u"");
        row("two-part names untouched", u"SELECT STOKKART.Stok_ID FROM STOKKART,SB WHERE STOKKART.Stok_ID=SB.Stok_ID",
            u"", u"");
        row("doubled quote in literal", u"SELECT 'it''s A.dbo.B' FROM A.dbo.B", u"SELECT 'it''s A.dbo.B' FROM \"a\".B",
            u"A");
        row("comments untouched", u"SELECT 1 -- A.dbo.B\nFROM C /* D.dbo.E */", u"", u"");
        row("quote in database name", u"SELECT * FROM [we\"ird].dbo.T", u"SELECT * FROM \"we\"\"ird\".T", u"we\"ird");
        row("unterminated literal", u"SELECT 'A.dbo.B", u"", u"");
        // A quote that a rewritten name brings in must not close one left open before it.
        row("unterminated quoted name", u"SELECT \"x, '' FROM A..B", u"", u"");
        row("unterminated bracket", u"SELECT [x FROM A.dbo.B", u"", u"");
        row("member after a dot", u"SELECT x.A.dbo.B", u"", u"");
    }
    void rewrite()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        const ThreePartRewrite result = rewriteThreePartNames(sql, u"FIRMA");
        QCOMPARE(result.sql, expected.isEmpty() ? sql : expected);
        QTEST(result.databases.join(u'|'), "databases");
    }

    void originalNames()
    {
        const ThreePartRewrite result = rewriteThreePartNames(u"SELECT * FROM Defination_DB.dbo.Kullanici, FIRMA.dbo.CB",
                                                              u"firma");
        QCOMPARE(result.originalName(u"defination_db.Kullanici"_s), u"Defination_DB.dbo.Kullanici"_s);
        QCOMPARE(result.originalName(u"main.CB"_s), u"FIRMA.dbo.CB"_s);
        QCOMPARE(result.originalName(u"XYZ"_s), u"XYZ"_s);
    }
};

QTEST_GUILESS_MAIN(TestSqlNames)
#include "tst_sqlnames.moc"
