#include "database/embedded/selectlist.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::database;
using namespace Qt::Literals::StringLiterals;

namespace zelvan::database {
bool operator==(const SelectItemHint &a, const SelectItemHint &b)
{
    return a.function == b.function && a.qualifier == b.qualifier && a.column == b.column && a.allRows == b.allRows;
}
// For failure messages: "SUM(t.Kalan)", "COUNT(*)", "()" for no aggregate.
char *toString(const SelectItemHint &hint)
{
    const QString argument = hint.qualifier.isEmpty() ? hint.column : hint.qualifier + u'.' + hint.column;
    return qstrdup(qPrintable(hint.function + u'(' + argument + (hint.allRows ? u" all rows)"_s : u")"_s)));
}
} // namespace zelvan::database

namespace {
SelectItemHint hint(const QString &function, const QString &qualifier, const QString &column, bool allRows = false)
{
    return {function, qualifier, column, allRows};
}
const SelectItemHint None;
} // namespace

Q_DECLARE_METATYPE(QList<zelvan::database::SelectItemHint>)

class TestSelectList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hints_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QList<SelectItemHint>>("hints");
        QTest::newRow("blanks, qualified, lower case, count star, brackets")
            << u"select  sum(t.Kalan) as  toplam, COUNT(*), MIN([Tarih]) AS ilk FROM SB t "_s
            << QList{hint(u"SUM"_s, u"t"_s, u"Kalan"_s), hint(u"COUNT"_s, {}, u"*"_s, true), hint(u"MIN"_s, {}, u"Tarih"_s)};
        QTest::newRow("expressions, a comma inside a call, empty delimited names")
            << u"SELECT SUM(a*b) AS x, SUM(a) + 1, COALESCE(SUM(a), 0), MAX(b), SUM(t.\"\"), MAX([]) FROM T"_s
            << QList{None, None, None, hint(u"MAX"_s, {}, u"b"_s), None, None};
    }
    void hints()
    {
        QFETCH(QString, sql);
        QFETCH(QList<SelectItemHint>, hints);
        const QList<SelectItemHint> actual = selectItemHints(sql);
        QCOMPARE(actual.size(), hints.size());
        for (qsizetype i = 0; i < hints.size(); ++i)
            QCOMPARE(actual[i], hints[i]);
    }
};

QTEST_GUILESS_MAIN(TestSelectList)
#include "tst_selectlist.moc"
