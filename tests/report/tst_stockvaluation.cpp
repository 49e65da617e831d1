#include "database/recordset.h"
#include "report/stockvaluation.h"
#include "support/fakedatabase.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::report;
using namespace Qt::Literals::StringLiterals;

class TestStockValuation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Movements separated by ';': "In q at c" (Giris q, Cikis 0, Maliyet c), "Out q" (Giris 0, Cikis q,
    // a Maliyet of 99 that must never count), or "g c m" with N for NULL; before a ':' the types of
    // Giris, Cikis and Maliyet when not those of the demo company.
    void value_data()
    {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("expected");
        // The worked examples, with the demo company's types, exact ones and whole numbers.
        for (const QString &types : {u"FLOAT FLOAT MONEY"_s, u"DECIMAL(18,4) DECIMAL(18,4) DECIMAL(18,6)"_s, u"INT INT MONEY"_s}) {
            QTest::addRow("receipts and sales, %s", qPrintable(types)) << types + u":In 10 at 5; Out 4; In 6 at 7; Out 2"_s << u"60"_s;
            QTest::addRow("shortfall written off, %s", qPrintable(types)) << types + u":Out 3; In 2 at 10; In 5 at 12"_s << u"60"_s;
            QTest::addRow("average rounded per receipt, %s", qPrintable(types)) << types + u":In 3 at 10; In 3 at 11; In 1 at 10"_s << u"73.0002"_s;
            QTest::addRow("more sold than received, %s", qPrintable(types)) << types + u":In 10 at 5; Out 12"_s << u"0"_s;
            QTest::addRow("no rows, %s", qPrintable(types)) << types + u':' << u"0"_s;
        }
        QTest::newRow("NULL Giris or Cikis changes nothing") << u"In 10 at 5; N 3 5; 4 N 5; Out 2"_s << u"40"_s;
        // Without a cost a receipt lowers the average, and a write-off keeps it (2.5 prices the sale after it).
        QTest::newRow("NULL Maliyet") << u"In 10 at 5; 10 0 N; Out 10; Out 15; 2 0 N; Out 2; In 4 at 10"_s << u"35"_s;
        QTest::newRow("a write-off's cost prices the next sale") << u"Out 2; In 2 at 10; Out 1; In 3 at 10"_s << u"20"_s;
        // Sales before the first receipt cost nothing; the receipt's cost is spread over what remains.
        QTest::newRow("sales before the first receipt, a net-zero row between") << u"Out 2; 4 4 99; In 5 at 10"_s << u"50.0001"_s;
        QTest::newRow("both columns, net incoming") << u"In 10 at 5; 5 2 8"_s << u"73.9999"_s;
        // quantity + Giris is stored before Cikis is taken off: 10.0001, not 10.
        QTest::newRow("quantity + Giris - Cikis in that order") << u"In 10 at 5; 0.00006 0.00004 5"_s << u"50.0005"_s;
    }

    void value()
    {
        QFETCH(QString, rows);
        const QStringList types = (rows.contains(u':') ? rows.section(u':', 0, 0) : u"FLOAT FLOAT MONEY"_s).split(u' ');
        test::FakeResult movements{{u"Giris"_s, u"Cikis"_s, u"Maliyet"_s}, {}};
        for (const QString &row : rows.section(u':', -1).split(u';', Qt::SkipEmptyParts)) {
            QStringList w = row.split(u' ', Qt::SkipEmptyParts);
            w = w[0] == u"In" ? QStringList{w[1], u"0"_s, w[3]} : w[0] == u"Out" ? QStringList{u"0"_s, w[1], u"99"_s} : w;
            movements.rows.append({test::typedValue(types[0], w[0]), test::typedValue(types[1], w[1]), test::typedValue(types[2], w[2])});
        }
        test::FakeDatabase database;
        database.answer({}, movements);
        database::Recordset rs;  // opened on the empty statement, which the movements answer
        rs.setActiveConnection(database.connect()); rs.open();
        QTEST(StockItemValue(rs).toString(), "expected");
        QVERIFY(rs.eof() && rs.state() == int(database::Recordset::StateOpen));  // read to its end, left open
    }
};

QTEST_GUILESS_MAIN(TestStockValuation)
#include "tst_stockvaluation.moc"
