#include "platform/recordset.h"
#include "report/stockvaluation.h"
#include "support/fakedatabase.h"

#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

namespace {

// Movements in short form, separated by ';': "In q at c" (Giris q, Cikis 0,
// Maliyet c), "Out q" (Giris 0, Cikis q, a Maliyet of 99 that must never
// count), or three values "g c m" with N for NULL. `types` names the column
// types of Giris, Cikis and Maliyet.
test::FakeResult movements(const QString &rows, const QStringList &types)
{
    test::FakeResult result{{u"Stok_ID"_s, u"Giris"_s, u"Cikis"_s, u"Maliyet"_s}, {}};
    for (const QString &row : rows.split(u';', Qt::SkipEmptyParts)) {
        QStringList words = row.split(u' ', Qt::SkipEmptyParts);
        if (words.value(0) == u"In")
            words = {words[1], u"0"_s, words[3]};
        else if (words.value(0) == u"Out")
            words = {u"0"_s, words[1], u"99"_s};
        result.rows.append({platform::Variant::longInt(42), test::typedValue(types[0], words[0]),
                            test::typedValue(types[1], words[1]), test::typedValue(types[2], words[2])});
    }
    return result;
}

} // namespace

class TestStockValuation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void value_data();
    void value();
};

void TestStockValuation::value_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QStringList>("types");
    QTest::addColumn<QString>("expected");

    const QList<QStringList> typeSets = {{u"FLOAT"_s, u"FLOAT"_s, u"MONEY"_s},
                                         {u"DECIMAL(18,4)"_s, u"DECIMAL(18,4)"_s, u"DECIMAL(18,6)"_s},
                                         {u"INT"_s, u"INT"_s, u"MONEY"_s}};
    const struct
    {
        const char *name;
        QString rows;
        QString expected;
    } examples[] = {
        {"receipts and sales", u"In 10 at 5; Out 4; In 6 at 7; Out 2"_s, u"60"_s},
        {"shortfall written off", u"Out 3; In 2 at 10; In 5 at 12"_s, u"60"_s},
        {"average rounded at each receipt", u"In 3 at 10; In 3 at 11; In 1 at 10"_s, u"73.0002"_s},
        {"more sold than received", u"In 10 at 5; Out 12"_s, u"0"_s},
        {"nothing received", u"Out 5"_s, u"0"_s},
        {"no rows", QString(), u"0"_s},
        {"sales before the first receipt", u"Out 2; In 5 at 10"_s, u"50.0001"_s},
    };
    for (const QStringList &types : typeSets) {
        for (const auto &e : examples)
            QTest::addRow("%s, %s", e.name, qPrintable(types[0])) << e.rows << types << e.expected;
    }

    const QStringList demo = typeSets[0];
    QTest::newRow("NULL Giris changes nothing") << u"In 10 at 5; N 3 5"_s << demo << u"50"_s;
    QTest::newRow("NULL Cikis changes nothing") << u"In 10 at 5; 4 N 5; Out 2"_s << demo << u"40"_s;
    QTest::newRow("NULL Maliyet lowers the average") << u"In 10 at 5; 10 0 N; Out 10"_s << demo << u"25"_s;
    QTest::newRow("NULL Maliyet on a written-off receipt") << u"Out 5; 2 0 N"_s << demo << u"0"_s;
    QTest::newRow("write-off without cost keeps the average")
        << u"In 10 at 5; Out 15; 2 0 N; Out 2; In 4 at 10"_s << demo << u"30"_s;
    QTest::newRow("stock restarts from zero after a write-off") << u"Out 2; In 1 at 10; In 1 at 10"_s << demo << u"10"_s;
    QTest::newRow("net-zero row is no receipt") << u"Out 2; 4 4 99; In 5 at 10"_s << demo << u"50.0001"_s;
    QTest::newRow("both columns, net incoming") << u"In 10 at 5; 5 2 8"_s << demo << u"73.9999"_s;
    QTest::newRow("both columns, net outgoing") << u"In 10 at 5; 1 4 99"_s << demo << u"35"_s;
    QTest::newRow("fractional quantities") << u"In 2.5 at 4.1; Out 0.3"_s << demo << u"9.02"_s;
    QTest::newRow("result rounds half to even") << u"In 1.5 at 1.0003"_s << demo << u"1.5004"_s;
    QTest::newRow("result rounds half to even, DECIMAL") << u"In 1.5 at 1.0003"_s << typeSets[1] << u"1.5004"_s;
    // quantity + Giris is stored before Cikis is taken off: 10.0001, not 10.
    QTest::newRow("quantity + Giris - Cikis in that order") << u"In 10 at 5; 0.00006 0.00004 5"_s << demo
                                                           << u"50.0005"_s;
}

void TestStockValuation::value()
{
    QFETCH(QString, rows);
    QFETCH(QStringList, types);
    QFETCH(QString, expected);

    test::FakeDatabase database;
    database.answer(u"movements"_s, movements(rows, types));
    platform::Recordset rs;
    rs.setActiveConnection(database.connect());
    rs.setSource(u"movements"_s);
    rs.open();

    QCOMPARE(StockItemValue(rs).toString(), expected);
    QVERIFY(rs.eof());
    QCOMPARE(rs.state(), int(platform::Recordset::StateOpen));
}

QTEST_GUILESS_MAIN(TestStockValuation)
#include "tst_stockvaluation.moc"
