#include "platform/selectlist.h"
#include "platform/sqlservertypes.h"

#include <QTest>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

class TestSelectList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hints_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");  // function:qualifier:column per item
        QTest::newRow("blanks") << u"SELECT  SUM(Hesaba_Gececek_Tutar) as  Toplam FROM POSHAREKET "_s
                                << u"SUM::Hesaba_Gececek_Tutar"_s;
        QTest::newRow("qualified, lower case") << u"select sum(t.Kalan) toplam from SB t"_s << u"SUM:t:Kalan"_s;
        QTest::newRow("count star, min") << u"SELECT COUNT(*), MIN([Tarih]) AS ilk FROM STOKHAREKET"_s
                                         << u"COUNT::*! MIN::Tarih"_s;
        QTest::newRow("a column named *") << u"SELECT SUM(t.\"*\"), MAX([*]) FROM T"_s << u"SUM:t:* MAX::*"_s;
        QTest::newRow("expression is no hint") << u"SELECT SUM(a*b) AS x, SUM(a) + 1 FROM T"_s << u":: ::"_s;
        QTest::newRow("comma inside a call") << u"SELECT COALESCE(SUM(a), 0), MAX(b) FROM T"_s << u":: MAX::b"_s;
        QTest::newRow("FROM inside a literal") << u"SELECT SUM(a) AS 'x FROM y' FROM T"_s << u"::"_s;
        QTest::newRow("empty delimited names") << u"SELECT SUM(t.\"\"), MAX([]) FROM T"_s << u":: ::"_s;
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
    void declaredTypes_data()
    {
        QTest::addColumn<QString>("declared");
        QTest::addColumn<QString>("function");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("scale");
        QTest::newRow("smallmoney sum") << u"smallmoney"_s << u"SUM"_s << int(SqlServerType::Money) << 0;
        QTest::newRow("decimal scale") << u"DECIMAL(18, 2)"_s << QString() << int(SqlServerType::Decimal) << 2;
        QTest::newRow("numeric sum keeps scale") << u"numeric(10,4)"_s << u"SUM"_s << int(SqlServerType::Decimal) << 4;
        QTest::newRow("tinyint summed is int") << u"TINYINT"_s << u"SUM"_s << int(SqlServerType::Int) << 0;
        QTest::newRow("smallint max stays") << u"SMALLINT"_s << u"MAX"_s << int(SqlServerType::SmallInt) << 0;
        QTest::newRow("count of text") << u"NVARCHAR(50)"_s << u"COUNT"_s << int(SqlServerType::Int) << 0;
        QTest::newRow("float") << u"FLOAT"_s << u"AVG"_s << int(SqlServerType::Float) << 0;
        QTest::newRow("none") << QString() << QString() << int(SqlServerType::Unknown) << 0;
    }
    void declaredTypes()
    {
        QFETCH(QString, declared);
        QFETCH(QString, function);
        SqlServerType type = SqlServerType::fromDeclared(declared);
        if (!function.isEmpty())
            type = type.aggregated(function);
        QTEST(int(type.kind), "kind");
        QTEST(type.scale, "scale");
    }
};

QTEST_GUILESS_MAIN(TestSelectList)
#include "tst_selectlist.moc"
