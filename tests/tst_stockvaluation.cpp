#include "platform/recordset.h"
#include "report/stockvaluation.h"
#include "support/fakedatabase.h"

#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

class TestStockValuation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Movements separated by ';': "In q at c" (Giris q, Cikis 0, Maliyet c), "Out q" (Giris 0, Cikis q,
    // a Maliyet of 99 that must never count), or "g c m" with N for NULL; `types` of Giris, Cikis, Maliyet.
    void value_data()
    {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QStringList>("types");
        QTest::addColumn<QString>("expected");

        const QStringList demo{u"FLOAT"_s, u"FLOAT"_s, u"MONEY"_s};
        for (const QStringList &types : {demo, QStringList{u"DECIMAL(18,4)"_s, u"DECIMAL(18,4)"_s, u"DECIMAL(18,6)"_s},
                                         QStringList{u"INT"_s, u"INT"_s, u"MONEY"_s}}) {
            const auto row = [&types](const char *name, const QString &rows, const QString &expected) {
                QTest::addRow("%s, %s", name, qPrintable(types[0])) << rows << types << expected;
            };
            row("receipts and sales", u"In 10 at 5; Out 4; In 6 at 7; Out 2"_s, u"60"_s);
            row("shortfall written off", u"Out 3; In 2 at 10; In 5 at 12"_s, u"60"_s);
            row("average rounded at each receipt", u"In 3 at 10; In 3 at 11; In 1 at 10"_s, u"73.0002"_s);
            row("more sold than received", u"In 10 at 5; Out 12"_s, u"0"_s);
            row("no rows", QString(), u"0"_s);
            row("sales before the first receipt", u"Out 2; In 5 at 10"_s, u"50.0001"_s);
        }
        QTest::newRow("NULL Giris changes nothing") << u"In 10 at 5; N 3 5"_s << demo << u"50"_s;
        QTest::newRow("NULL Cikis changes nothing") << u"In 10 at 5; 4 N 5; Out 2"_s << demo << u"40"_s;
        QTest::newRow("NULL Maliyet lowers the average") << u"In 10 at 5; 10 0 N; Out 10"_s << demo << u"25"_s;
        QTest::newRow("write-off without cost keeps the average") << u"In 10 at 5; Out 15; 2 0 N; Out 2; In 4 at 10"_s << demo << u"30"_s;
        QTest::newRow("a write-off's cost prices the next sale") << u"Out 2; In 2 at 10; Out 1; In 3 at 10"_s << demo << u"20"_s;
        QTest::newRow("net-zero row is no receipt") << u"Out 2; 4 4 99; In 5 at 10"_s << demo << u"50.0001"_s;
        QTest::newRow("both columns, net incoming") << u"In 10 at 5; 5 2 8"_s << demo << u"73.9999"_s;
        QTest::newRow("result rounds half to even") << u"In 1.5 at 1.0003"_s << demo << u"1.5004"_s;
        // quantity + Giris is stored before Cikis is taken off: 10.0001, not 10.
        QTest::newRow("quantity + Giris - Cikis in that order") << u"In 10 at 5; 0.00006 0.00004 5"_s << demo << u"50.0005"_s;
    }

    void value()
    {
        QFETCH(QString, rows);
        QFETCH(QStringList, types);
        test::FakeResult movements{{u"Stok_ID"_s, u"Giris"_s, u"Cikis"_s, u"Maliyet"_s}, {}};
        for (const QString &row : rows.split(u';', Qt::SkipEmptyParts)) {
            QStringList w = row.split(u' ', Qt::SkipEmptyParts);
            if (w[0] == u"In" || w[0] == u"Out")
                w = w[0] == u"In" ? QStringList{w[1], u"0"_s, w[3]} : QStringList{u"0"_s, w[1], u"99"_s};
            movements.rows.append({platform::Variant::longInt(42), test::typedValue(types[0], w[0]),
                                   test::typedValue(types[1], w[1]), test::typedValue(types[2], w[2])});
        }
        test::FakeDatabase database;
        database.answer(u"movements"_s, movements);
        platform::Recordset rs;
        rs.setActiveConnection(database.connect());
        rs.setSource(u"movements"_s);
        rs.open();
        QTEST(StockItemValue(rs).toString(), "expected");
        QVERIFY(rs.eof() && rs.state() == int(platform::Recordset::StateOpen));
    }
};

QTEST_GUILESS_MAIN(TestStockValuation)
#include "tst_stockvaluation.moc"
