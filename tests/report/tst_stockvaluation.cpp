#include "database/recordset.h"
#include "report/stockvaluation.h"
#include "support/fakedatabase.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::report;
using namespace Qt::Literals::StringLiterals;

namespace {

// One movement row as text of its column's type; "N" is NULL.
struct Movement
{
    const char *giris;
    const char *cikis;
    const char *maliyet;
};
using Movements = QList<Movement>;

Movement in(const char *quantity, const char *cost) { return {quantity, "0", cost}; }
// A sale's Maliyet of 99 must never count.
Movement out(const char *quantity) { return {"0", quantity, "99"}; }

const QStringList DemoTypes{u"FLOAT"_s, u"FLOAT"_s, u"MONEY"_s};  // Giris, Cikis and Maliyet of the demo company

} // namespace

class TestStockValuation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void value_data()
    {
        QTest::addColumn<QStringList>("types");
        QTest::addColumn<Movements>("movements");
        QTest::addColumn<QString>("expected");
        // The worked examples, with the demo company's types, exact ones and whole numbers.
        const QList<QStringList> typeSets{DemoTypes, {u"DECIMAL(18,4)"_s, u"DECIMAL(18,4)"_s, u"DECIMAL(18,6)"_s}, {u"INT"_s, u"INT"_s, u"MONEY"_s}};
        for (const QStringList &types : typeSets) {
            const QByteArray name = types.join(u' ').toUtf8();
            QTest::addRow("receipts and sales, %s", name.data()) << types << Movements{in("10", "5"), out("4"), in("6", "7"), out("2")} << u"60"_s;
            QTest::addRow("shortfall written off, %s", name.data()) << types << Movements{out("3"), in("2", "10"), in("5", "12")} << u"60"_s;
            QTest::addRow("average rounded per receipt, %s", name.data()) << types << Movements{in("3", "10"), in("3", "11"), in("1", "10")} << u"73.0002"_s;
            QTest::addRow("more sold than received, %s", name.data()) << types << Movements{in("10", "5"), out("12")} << u"0"_s;
            QTest::addRow("no rows, %s", name.data()) << types << Movements{} << u"0"_s;
        }
        QTest::newRow("NULL Giris or Cikis changes nothing") << DemoTypes << Movements{in("10", "5"), {"N", "3", "5"}, {"4", "N", "5"}, out("2")} << u"40"_s;
        // Without a cost a receipt lowers the average, and a write-off keeps it (2.5 prices the sale after it).
        QTest::newRow("NULL Maliyet") << DemoTypes << Movements{in("10", "5"), in("10", "N"), out("10"), out("15"), in("2", "N"), out("2"), in("4", "10")} << u"35"_s;
        QTest::newRow("a write-off's cost prices the next sale") << DemoTypes << Movements{out("2"), in("2", "10"), out("1"), in("3", "10")} << u"20"_s;
        // Sales before the first receipt cost nothing; the receipt's cost is spread over what remains.
        QTest::newRow("sales before the first receipt, a net-zero row between") << DemoTypes << Movements{out("2"), {"4", "4", "99"}, in("5", "10")} << u"50.0001"_s;
        QTest::newRow("both columns, net incoming") << DemoTypes << Movements{in("10", "5"), {"5", "2", "8"}} << u"73.9999"_s;
        // quantity + Giris is stored before Cikis is taken off: 10.0001, not 10.
        QTest::newRow("quantity + Giris - Cikis in that order") << DemoTypes << Movements{in("10", "5"), {"0.00006", "0.00004", "5"}} << u"50.0005"_s;
    }

    void value()
    {
        QFETCH(QStringList, types);
        QFETCH(Movements, movements);
        test::FakeResult rows{{u"Giris"_s, u"Cikis"_s, u"Maliyet"_s}, {}};
        for (const Movement &m : movements)
            rows.rows.append({test::typedValue(types[0], QString::fromLatin1(m.giris)), test::typedValue(types[1], QString::fromLatin1(m.cikis)),
                              test::typedValue(types[2], QString::fromLatin1(m.maliyet))});
        test::FakeDatabase database;
        database.answer({}, rows);
        database::Recordset rs;  // opened on the empty statement, which the movements answer
        rs.setActiveConnection(database.connect());
        rs.open();
        QTEST(StockItemValue(rs).toString(), "expected");
        // Read to its end, left open.
        QVERIFY(rs.eof());
        QCOMPARE(rs.state(), int(database::Recordset::StateOpen));
    }
};

QTEST_GUILESS_MAIN(TestStockValuation)
#include "tst_stockvaluation.moc"
