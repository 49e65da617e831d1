#include "platform/connection.h"
#include "platform/recordset.h"
#include "report/detailformat.h"
#include "report/reportvalues.h"
#include "startup/program.h"
#include "support/fakeservices.h"
#include "support/testinstance.h"

#include <QRandomGenerator>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

namespace {

// Random stock on the standard company database: items missing from STOKKART or SB or with nothing
// left, NULLs in every movement column, many rows that tie on (Tarih, Cikis), entered in random order.
QStringList randomStock(quint32 seed, int items)
{
    QRandomGenerator random(seed);
    const auto pick = [&random](const QStringList &choices) { return choices.at(random.bounded(int(choices.size()))); };
    QStringList cards{u"(0, 'Yok')"_s};
    QStringList remaining{u"(0, 0)"_s};
    // Rows of an item that no card lists never count.
    QStringList movements{u"(%1, '2026-03-01 00:00:00', 5, 0, 10)"_s.arg(items + 1)};
    for (int item = 1; item <= items; ++item) {
        if (random.bounded(20) != 0)
            cards << u"(%1, 'Mal %1')"_s.arg(item);
        if (random.bounded(10) != 0)
            remaining << u"(%1, %2)"_s.arg(item).arg(pick({u"5"_s, u"12.5"_s, u"0"_s, u"-3"_s, u"NULL"_s, u"1"_s}));
        for (int m = int(random.bounded(14)); m > 0; --m) {
            const bool receipt = random.bounded(100) < 45;
            const QString amount = pick({u"1"_s, u"2"_s, u"3"_s, u"2.5"_s, u"7"_s, u"0.00006"_s, u"10"_s});
            QString giris = random.bounded(10) == 0 ? u"4"_s : receipt ? amount : u"0"_s;   // sometimes both moved
            const QString cikis = random.bounded(12) == 0 ? u"NULL"_s : receipt ? u"0"_s : amount;
            giris = random.bounded(12) == 0 ? u"NULL"_s : giris;
            const QString cost = random.bounded(8) == 0 ? u"NULL"_s : pick({u"10"_s, u"12.3456"_s, u"7.5"_s, u"99.9999"_s, u"0.0001"_s});
            movements << u"(%1, '2026-03-0%2 00:00:00', %3, %4, %5)"_s.arg(item).arg(1 + random.bounded(4)).arg(giris, cikis, cost);
        }
    }
    for (qsizetype i = movements.size() - 1; i > 0; --i)
        movements.swapItemsAt(i, random.bounded(i + 1));
    return {u"INSERT INTO STOKKART VALUES "_s + cards.join(u','), u"INSERT INTO SB VALUES "_s + remaining.join(u','),
            u"INSERT INTO STOKHAREKET (Stok_ID, Tarih, Giris, Cikis, Maliyet) VALUES "_s + movements.join(u',')};
}

} // namespace

class TestStockOnePass : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameFigures_data()
    {
        QTest::addColumn<quint32>("seed");   // odd seeds without the movements' index
        QTest::addColumn<int>("items");
        for (const quint32 seed : {1u, 2u, 3u, 4u})
            QTest::addRow("seed %u", seed) << seed << 40 + int(seed) * 60;
        QTest::newRow("no stock at all") << 9u << 0;
    }

    // Every figure, type included, of a run with one query per item and of a run with the one query.
    void sameFigures()
    {
        QFETCH(quint32, seed);
        QFETCH(int, items);
        test::TestInstance instance;
        test::addStandardDatabases(instance);
        instance.run(u"FIRMA"_s, (seed % 2 ? QStringList{u"DROP INDEX IX_STOKHAREKET"_s} : QStringList()) + randomStock(seed, items));
        QStringList fields{LeftTotalField, RightTotalField}, figures[2];
        for (const ReportFigure &figure : reportFigures())
            fields << figure.field;
        for (const bool single : {false, true}) {
            test::FakeServices fakes;
            platform::CommandLine line;
            line.stockOnePass = single;
            Program program(fakes.services(), line);
            program.vars.DbConnection = std::make_shared<platform::Connection>();
            program.vars.DbConnection->open(instance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));
            ReportValues values;
            std::shared_ptr<platform::Recordset> stockList;
            Detail_Format(program, values, stockList);
            for (const QString &field : std::as_const(fields))
                figures[single] << values.value(field).typeName() + u' ' + values.value(field).toString();
            QVERIFY(fakes.messages.shown.isEmpty());
        }
        QCOMPARE(figures[1], figures[0]);
        QCOMPARE(figures[0].at(fields.indexOf(StockField)) == u"Currency 0", items == 0);
    }
};

QTEST_GUILESS_MAIN(TestStockOnePass)
#include "tst_stockonepass.moc"
