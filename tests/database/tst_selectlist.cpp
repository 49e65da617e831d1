#include "database/embedded/selectlist.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::database;
using namespace Qt::Literals::StringLiterals;

class TestSelectList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hints_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");  // function:qualifier:column per item, '!' for a bare *
        QTest::newRow("blanks, qualified, lower case, count star, brackets")
            << u"select  sum(t.Kalan) as  toplam, COUNT(*), MIN([Tarih]) AS ilk FROM SB t "_s << u"SUM:t:Kalan COUNT::*! MIN::Tarih"_s;
        QTest::newRow("columns named *, FROM inside a literal")
            << u"SELECT SUM(t.\"*\"), SUM(a) AS 'x FROM y', MAX([*]) FROM T"_s << u"SUM:t:* :: MAX::*"_s;
        QTest::newRow("expressions, a comma inside a call, empty delimited names")
            << u"SELECT SUM(a*b) AS x, SUM(a) + 1, COALESCE(SUM(a), 0), MAX(b), SUM(t.\"\"), MAX([]) FROM T"_s
            << u":: :: :: MAX::b :: ::"_s;
        QTest::newRow("not a select") << u"UPDATE T SET a=1"_s << QString();
    }
    void hints()
    {
        QFETCH(QString, sql);
        QStringList actual;
        for (const SelectItemHint &hint : selectItemHints(sql))
            actual.append(hint.function + u':' + hint.qualifier + u':' + hint.column + (hint.allRows ? u"!"_s : QString()));
        QTEST(actual.join(u' '), "expected");
    }
};

QTEST_GUILESS_MAIN(TestSelectList)
#include "tst_selectlist.moc"
