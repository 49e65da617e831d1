#include "platform/connection.h"
#include "platform/recordset.h"
#include "report/detailformat.h"
#include "report/reportvalues.h"
#include "report/stockvaluation.h"
#include "startup/program.h"
#include "support/fakeservices.h"
#include "support/testinstance.h"

#include <QMap>
#include <QRandomGenerator>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;
using platform::Recordset;
using platform::Variant;

namespace {

QString pick(QRandomGenerator &random, const QStringList &choices)
{
    return choices.at(random.bounded(int(choices.size())));
}

// Random stock on the standard instance's company database: items with and
// without movements, items missing from STOKKART or SB or with nothing left,
// NULLs in every movement column, and many rows that tie on (Tarih, Cikis),
// entered in random order so that no key gives the reading order.
void addRandomStock(test::TestInstance &instance, quint32 seed, int items, bool withIndex)
{
    QRandomGenerator random(seed);
    QStringList cards;
    QStringList remaining;
    QStringList movements;
    for (int item = 1; item <= items; ++item) {
        if (random.bounded(20) != 0)
            cards << u"(%1, 'Mal %1')"_s.arg(item);
        if (random.bounded(10) != 0)
            remaining << u"(%1, %2)"_s.arg(item).arg(pick(random, {u"5"_s, u"12.5"_s, u"0"_s, u"-3"_s, u"NULL"_s, u"1"_s}));
        const int count = int(random.bounded(14));
        for (int m = 0; m < count; ++m) {
            const bool receipt = random.bounded(100) < 45;
            const QString amount = pick(random, {u"1"_s, u"2"_s, u"3"_s, u"2.5"_s, u"7"_s, u"0.00006"_s, u"10"_s});
            QString giris = receipt ? amount : u"0"_s;
            QString cikis = receipt ? u"0"_s : amount;
            if (random.bounded(12) == 0)
                giris = u"NULL"_s;
            if (random.bounded(12) == 0)
                cikis = u"NULL"_s;
            if (random.bounded(10) == 0)  // both columns moved
                giris = u"4"_s;
            const QString cost = random.bounded(8) == 0
                ? u"NULL"_s
                : pick(random, {u"10"_s, u"12.3456"_s, u"7.5"_s, u"99.9999"_s, u"0.0001"_s});
            const QString day = u"'2026-03-0%1 00:00:00'"_s.arg(1 + random.bounded(4));
            movements << u"(%1, %2, %3, %4, %5)"_s.arg(item).arg(day, giris, cikis, cost);
        }
    }
    // Rows of items that no card lists must never count.
    movements << u"(%1, '2026-03-01 00:00:00', 5, 0, 10)"_s.arg(items + 1);
    for (qsizetype i = movements.size() - 1; i > 0; --i)
        movements.swapItemsAt(i, random.bounded(i + 1));

    QStringList statements;
    if (!withIndex)
        statements << u"DROP INDEX IX_STOKHAREKET"_s;
    if (!cards.isEmpty())
        statements << u"INSERT INTO STOKKART VALUES "_s + cards.join(u',');
    if (!remaining.isEmpty())
        statements << u"INSERT INTO SB VALUES "_s + remaining.join(u',');
    statements << u"INSERT INTO STOKHAREKET (Stok_ID, Tarih, Giris, Cikis, Maliyet) VALUES "_s + movements.join(u',');
    instance.run(u"FIRMA"_s, statements);
}

std::shared_ptr<platform::Connection> connectTo(const test::TestInstance &instance)
{
    auto connection = std::make_shared<platform::Connection>();
    connection->open(instance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));
    return connection;
}

struct Report
{
    explicit Report(const test::TestInstance &instance, bool onePass)
        : program(fakes.services(), options(onePass))
    {
        program.vars.DbConnection = connectTo(instance);
        Detail_Format(program, values, stockList);
    }
    static platform::CommandLine options(bool onePass)
    {
        platform::CommandLine line;
        line.stockOnePass = onePass;
        return line;
    }

    test::FakeServices fakes;
    Program program;
    ReportValues values;
    std::shared_ptr<Recordset> stockList;
};

void openOn(const std::shared_ptr<platform::Connection> &connection, Recordset &rs, const QString &sql)
{
    rs.setActiveConnection(connection);
    rs.setSource(sql);
    rs.open();
}

} // namespace

class TestStockOnePass : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameFigures_data();
    void sameFigures();
};

void TestStockOnePass::sameFigures_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("items");
    QTest::addColumn<bool>("withIndex");

    for (const quint32 seed : {1u, 2u, 3u, 4u}) {
        for (const bool withIndex : {true, false}) {
            const int items = 40 + int(seed) * 60;
            QTest::addRow("seed %u, %d items, %s", seed, items, withIndex ? "index" : "no index")
                << seed << items << withIndex;
        }
    }
    QTest::newRow("no stock at all") << 9u << 0 << true;
}

void TestStockOnePass::sameFigures()
{
    QFETCH(quint32, seed);
    QFETCH(int, items);
    QFETCH(bool, withIndex);

    test::TestInstance instance;
    test::addStandardDatabases(instance);
    addRandomStock(instance, seed, items, withIndex);

    // Item by item: each item's group of the one query against its own query.
    const auto connection = connectTo(instance);
    Recordset all;
    openOn(connection, all, StockOnePassSql);
    const MovementColumns columns = MovementColumns::of(all, true);
    QMap<qint64, qint64> onePass;  // Stok_ID -> value, ten-thousandths
    while (!all.eof()) {
        const qint64 id = all.field(columns.item).toLong();
        QVERIFY2(!onePass.contains(id), "an item's rows must come together");
        onePass.insert(id, valueItemMovements(all, columns).raw());
    }
    Recordset list;
    openOn(connection, list, StockListSql);
    int listed = 0;
    while (!list.eof()) {
        const QString id = list.field(u"Stok_ID"_s).toString();
        Recordset movements;
        openOn(connection, movements, stockMovementSql(id));
        const bool moved = !movements.eof();
        QCOMPARE(onePass.contains(id.toLongLong()), moved);
        QCOMPARE(onePass.value(id.toLongLong()), StockItemValue(movements).raw());
        onePass.remove(id.toLongLong());
        list.moveNext();
        ++listed;
    }
    QVERIFY2(onePass.isEmpty(), "the one query holds only items of the list");
    QCOMPARE(listed > 0, items > 0);

    // The whole report: every value, type included.
    const Report perItem(instance, false);
    const Report single(instance, true);
    QStringList fields{LeftTotalField, RightTotalField};
    for (const ReportFigure &figure : reportFigures())
        fields << figure.field;
    for (const QString &field : std::as_const(fields)) {
        const Variant &a = perItem.values.value(field);
        const Variant &b = single.values.value(field);
        QCOMPARE(b.typeName(), a.typeName());
        QCOMPARE(b.toString(), a.toString());
    }
    QVERIFY(single.fakes.messages.shown.isEmpty());
}

QTEST_GUILESS_MAIN(TestStockOnePass)
#include "tst_stockonepass.moc"
