#include "database/embedded/sqlnames.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::database;
using namespace Qt::Literals::StringLiterals;

class TestSqlNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The rewritten text (none: unchanged), then the other databases named, joined by '|'.
    void rewrite_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char16_t *sql, const char16_t *expected = u"") {
            QTest::newRow(name) << QString::fromUtf16(sql) << QString::fromUtf16(*expected ? expected : sql);
        };
        row("other database", u"SELECT CARR FROM Defination_DB.dbo.Kullanici", u"SELECT CARR FROM \"defination_db\".Kullanici|Defination_DB");
        row("dbo alone, current database in any case", u"SELECT dbo.CB.Bakiye FROM dbo.CB, firma.DBO.KB",
            u"SELECT CB.Bakiye FROM CB, main.KB");
        row("two-dot shorthand, same database twice", u"SELECT * FROM A..T1, a.dbo.T2", u"SELECT * FROM \"a\".T1, \"a\".T2|A");
        row("brackets, quote in database name", u"SELECT * FROM [Defination_DB].[dbo].[Kullanici], [we\"ird].dbo.T",
            u"SELECT * FROM \"defination_db\".[Kullanici], \"we\"\"ird\".T|Defination_DB|we\"ird");
        row("doubled quote in literal", u"SELECT 'it''s A.dbo.B' FROM A.dbo.B", u"SELECT 'it''s A.dbo.B' FROM \"a\".B|A");
        row("two-part names, comments, member after a dot",
            u"SELECT x.A.dbo.B, STOKKART.Stok_ID FROM STOKKART,SB -- A.dbo.B\nWHERE STOKKART.Stok_ID=SB.Stok_ID /* D.dbo.E */");
        row("unterminated literal", u"SELECT 'A.dbo.B");
        // A quote that a rewritten name brings in must not close one left open before it.
        row("unterminated quoted name", u"SELECT \"x, '' FROM A..B");
        row("unterminated bracket", u"SELECT [x FROM A.dbo.B");
    }
    void rewrite()
    {
        QFETCH(QString, sql);
        const ThreePartRewrite result = rewriteThreePartNames(sql, u"FIRMA");
        QTEST((QStringList{result.sql} + result.databases).join(u'|'), "expected");
    }
};

QTEST_GUILESS_MAIN(TestSqlNames)
#include "tst_sqlnames.moc"
