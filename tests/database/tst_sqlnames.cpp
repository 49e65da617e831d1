#include "database/embedded/sqlnames.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::database;
using namespace Qt::Literals::StringLiterals;

class TestSqlNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The company database is FIRMA. Literals, comments and an unterminated quoted name are never rewritten: the
    // fuzz corpus replay (tst_fuzzregressions) checks that of every input.
    void rewrite_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("rewritten");
        QTest::addColumn<QStringList>("otherDatabases");
        QTest::newRow("other database") << u"SELECT CARR FROM Defination_DB.dbo.Kullanici"_s
                                        << u"SELECT CARR FROM \"defination_db\".Kullanici"_s << QStringList{u"Defination_DB"_s};
        QTest::newRow("dbo alone, current database in any case") << u"SELECT dbo.CB.Bakiye FROM dbo.CB, firma.DBO.KB"_s
                                                                  << u"SELECT CB.Bakiye FROM CB, main.KB"_s << QStringList();
        QTest::newRow("two-dot shorthand, same database twice") << u"SELECT * FROM A..T1, a.dbo.T2"_s
                                                                 << u"SELECT * FROM \"a\".T1, \"a\".T2"_s << QStringList{u"A"_s};
        QTest::newRow("brackets, quote in database name")
            << u"SELECT * FROM [Defination_DB].[dbo].[Kullanici], [we\"ird].dbo.T"_s
            << u"SELECT * FROM \"defination_db\".[Kullanici], \"we\"\"ird\".T"_s << QStringList{u"Defination_DB"_s, u"we\"ird"_s};
        const QString untouched = u"SELECT x.A.dbo.B, STOKKART.Stok_ID FROM STOKKART,SB -- A.dbo.B\n"
                                  u"WHERE STOKKART.Stok_ID=SB.Stok_ID /* D.dbo.E */"_s;
        QTest::newRow("two-part names, comments, member after a dot") << untouched << untouched << QStringList();
    }
    void rewrite()
    {
        QFETCH(QString, sql);
        const ThreePartRewrite result = rewriteThreePartNames(sql, u"FIRMA");
        QTEST(result.sql, "rewritten");
        QTEST(result.databases, "otherDatabases");
    }
};

QTEST_GUILESS_MAIN(TestSqlNames)
#include "tst_sqlnames.moc"
