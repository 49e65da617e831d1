#include "program/program.h"
#include "program/regionalsettings.h"
#include "report/activereport1.h"
#include "report/detailformat.h"
#include "report/reportoutput.h"
#include "report/reportvalues.h"
#include "report/stockvaluation.h"
#include "support/fakeservices.h"
#include "support/testinstance.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::report;
using namespace Qt::Literals::StringLiterals;
using runtime::Variant;

namespace {

// One run of the handler on an instance's company FIRMA.
struct Run
{
    explicit Run(const QStringList &options = {}) : program(fakes.services(), program::CommandLine::parse(options)) {}
    int formatOn(const test::TestInstance &instance)  // the exit code when the program ended, else -1
    {
        program.vars.DbConnection = std::make_shared<database::Connection>();
        program.vars.DbConnection->open(instance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));
        return test::exitCodeOf([this] { Detail_Format(program, values, stockList, &valuations); });
    }

    test::FakeServices fakes;
    program::Program program;
    ReportValues values;
    ItemValuations valuations;
    std::shared_ptr<database::Recordset> stockList;  // the report's own list
};

// Each valued item as "id: quantity, unit cost, value", in id order.
QStringList valuationTexts(const ItemValuations &valuations)
{
    QStringList texts;
    for (auto it = valuations.cbegin(); it != valuations.cend(); ++it)
        texts << u"%1: %2, %3, %4"_s.arg(it.key(), it->quantity.toString(), it->unitCost.toString(), it->value.toString());
    texts.sort();
    return texts;
}

} // namespace

class TestDetailFormat : public QObject
{
    Q_OBJECT

    test::TestInstance m_instance;
    ActiveReport1 m_report;

private Q_SLOTS:
    // The crafted instance: statuses in another case or with a trailing blank count nowhere; item 1's receipt
    // and sale share a date, the receipt entered after the sale; item 2 has nothing left.
    void initTestCase()
    {
        test::addStandardDatabases(m_instance);
        m_instance.run(u"FIRMA"_s, {
            u"INSERT INTO CEKKART VALUES (1, 1000, 3, 'Kendi Çekimiz'), (2, 10, 20, 'Tahsil Edildi'), (3, 10, 20, 'portföyde')"_s,
            u"INSERT INTO CEKKART VALUES (4, 10, 20, 'Portföyde '), (5, 10, 20, NULL), (6, 0, 40, 'Portföyde')"_s,
            u"INSERT INTO CEKKART VALUES (7, 0, 100, 'Bankada Tahsilde'), (8, 0, 250.5, 'Bankada Teminatta'), (9, 0, 9, 'Karşılıksız')"_s,
            u"INSERT INTO SENETKART VALUES (1, 500000.5, 4, 'Kendi Senedimiz'), (2, 1, 9, 'Karşılıksız'), (3, 5, 5, 'Kendi Çekimiz')"_s,
            u"INSERT INTO SENETKART VALUES (4, 0, 7, 'Bankada Teminatta'), (5, 0, 11, 'Portföyde')"_s,
            u"INSERT INTO CB VALUES (1, -100.25), (2, -50), (3, 80)"_s,
            u"INSERT INTO BB VALUES (0, 999), (-1, 5), (1, -300), (2, 100)"_s,
            u"INSERT INTO KB VALUES (1, -75.5)"_s,
            u"INSERT INTO POSHAREKET VALUES (1, 120, 0), (2, 80, 1), (3, 5.55, 0)"_s,
            u"INSERT INTO CEKPARCALISONUC VALUES (1, 10.10), (2, 0.01)"_s,
            u"INSERT INTO SENETPARCALISONUC VALUES (1, 2.5)"_s,
            u"INSERT INTO STOKKART VALUES (1, 'Vida'), (2, 'Somun')"_s,
            u"INSERT INTO SB VALUES (1, 6), (2, 0)"_s,
            u"INSERT INTO STOKHAREKET VALUES (1, 1, '2026-02-01 00:00:00', 0, 4, NULL), (2, 1, '2026-02-01 00:00:00', 10, 0, 5)"_s,
            u"INSERT INTO STOKHAREKET VALUES (3, 2, '2026-01-01 00:00:00', 3, 0, 7)"_s,
        });
        Run run;
        QCOMPARE(run.formatOn(m_instance), -1);
        fillPageTexts(m_report, run.values, {u","_s, u"."_s, u"dd.MM.yyyy"_s, u"HH:mm:ss"_s});
    }

    // Each figure's statement on the crafted instance, the totals, the date and the time, as the page shows them.
    void pageText_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("shown");
        QTest::newRow("kesilen_Cekler") << u"kesilen_Cekler"_s << u"1.000,00"_s;
        QTest::newRow("Verilen_Senetler") << u"Verilen_Senetler"_s << u"500.000,50"_s;
        QTest::newRow("Acık_hesaptan_Alacaklılar") << u"Acık_hesaptan_Alacaklılar"_s << u"150,25"_s;
        QTest::newRow("porfoydeki_cekler") << u"porfoydeki_cekler"_s << u"40,00"_s;
        QTest::newRow("porfoydeki_senetler") << u"porfoydeki_senetler"_s << u"11,00"_s;
        QTest::newRow("bankadaki_cekler") << u"bankadaki_cekler"_s << u"350,50"_s;
        QTest::newRow("bankadaki_senetler") << u"bankadaki_senetler"_s << u"7,00"_s;
        QTest::newRow("parcalı_ceklerın_kalanları") << u"parcalı_ceklerın_kalanları"_s << u"10,11"_s;
        QTest::newRow("Parcalı_senetlerin_klalanları") << u"Parcalı_senetlerin_klalanları"_s << u"2,50"_s;
        QTest::newRow("Karsılıksız_cekler") << u"Karsılıksız_cekler"_s << u"9,00"_s;
        QTest::newRow("Karsılıksız_senetler") << u"Karsılıksız_senetler"_s << u"9,00"_s;
        QTest::newRow("toplam_Stok_degeri") << u"toplam_Stok_degeri"_s << u"30,00"_s;
        QTest::newRow("hesaba_aktarılmamıs_pos_toplamı") << u"hesaba_aktarılmamıs_pos_toplamı"_s << u"125,55"_s;
        QTest::newRow("banaka_bakiyeleri_toplamı") << u"banaka_bakiyeleri_toplamı"_s << u"200,00"_s;
        QTest::newRow("Kasa_bakiyeleri_toplamı") << u"Kasa_bakiyeleri_toplamı"_s << u"75,50"_s;
        QTest::newRow("acık_hesaptakı_boırclar") << u"acık_hesaptakı_boırclar"_s << u"80,00"_s;
        QTest::newRow("left total") << LeftTotalField << u"501.150,75"_s;
        QTest::newRow("right total") << RightTotalField << u"950,16"_s;
        QTest::newRow("tarih") << u"tarih"_s << u"05.12.2026"_s;
        QTest::newRow("saat") << u"saat"_s << u"14:30:15"_s;
    }
    void pageText()
    {
        QFETCH(QString, field);
        QTEST(m_report.page().fieldText(field), "shown");
    }

    void stockOnePass_data()
    {
        QTest::addColumn<quint32>("seed");  // odd seeds without the movements' index; 0: no stock at all;
                                            // from 3 on, no keys on STOKKART and SB, and items listed twice
        for (const quint32 seed : {1u, 2u, 3u, 4u, 0u})
            QTest::addRow("seed %u", seed) << seed;
    }
    // The stock value, type included, of a run with one query per item and of a run with the one query, on stock
    // spread by a hash h of the row number: items missing from STOKKART or SB or with nothing left, NULLs in every
    // movement column, rows moving both ways, many that tie on (Tarih, Cikis), entered out of order; items that
    // the stock list names more than once (two SB rows in stock, two cards).
    void stockOnePass()
    {
        QFETCH(quint32, seed);
        const int items = int(seed) * 70;
        test::TestInstance instance;
        test::addStandardDatabases(instance);
        const QString n = u"WITH RECURSIVE n(x) AS (SELECT 0 UNION ALL SELECT x + 1 FROM n WHERE x < %1) INSERT INTO "_s;
        QStringList setUp;
        if (seed % 2)
            setUp << u"DROP INDEX IX_STOKHAREKET"_s;
        if (seed >= 3)
            setUp << u"DROP TABLE STOKKART"_s << u"CREATE TABLE STOKKART(Stok_ID INT, Stok_Adi NVARCHAR(100))"_s
                  << u"DROP TABLE SB"_s << u"CREATE TABLE SB(Stok_ID INT, Kalan FLOAT)"_s;
        instance.run(u"FIRMA"_s, setUp + QStringList{
            n.arg(items) + u"STOKKART SELECT x, 'Mal ' || x FROM n WHERE x % 19 <> 5"_s,
            n.arg(items) + u"SB SELECT x, NULLIF(x % 6 - 2, 3) * 2.5 FROM n WHERE x % 11 <> 4"_s,
            // Item items + 1 has no card; the rows of an item that no card lists never count.
            n.arg(items * 7) + u"STOKHAREKET (Stok_ID, Tarih, Giris, Cikis, Maliyet) SELECT h % %1, '2026-03-0' || (h / 3 % 4 + 1), "
                u"CASE WHEN h / 7 % 12 = 0 THEN NULL WHEN h / 11 % 10 = 0 THEN 4 WHEN r THEN a ELSE 0 END, CASE WHEN h / 13 % 12 = 0 "
                u"THEN NULL WHEN r THEN 0 ELSE a END, CASE h / 17 % 8 WHEN 0 THEN NULL WHEN 1 THEN 12.3456 WHEN 2 THEN 7.5 WHEN 3 THEN "
                u"99.9999 WHEN 4 THEN 0.0001 ELSE 10 END FROM (SELECT h, h / 19 % 100 < 45 AS r, CASE h / 23 % 7 WHEN 0 THEN 2 WHEN 1 "
                u"THEN 3 WHEN 2 THEN 2.5 WHEN 3 THEN 7 WHEN 4 THEN 0.00006 WHEN 5 THEN 10 ELSE 1 END AS a FROM (SELECT (x * 2654435761 "
                u"+ %2) % 4294967291 AS h FROM n)) ORDER BY h % 9973"_s.arg(items + 2).arg(seed * 40503)});
        if (seed >= 3)
            instance.run(u"FIRMA"_s, {n.arg(items) + u"STOKKART SELECT x, 'Eş ' || x FROM n WHERE x % 13 = 2 AND x % 19 <> 5"_s,
                                      n.arg(items) + u"SB SELECT x, x % 4 + 1 FROM n WHERE x % 7 = 1"_s});
        Run perItem;
        Run onePass({u"--stock-one-pass"_s});
        QCOMPARE(perItem.formatOn(instance), -1);
        QCOMPARE(onePass.formatOn(instance), -1);
        const Variant expected = perItem.values.value(StockField);
        const Variant actual = onePass.values.value(StockField);
        QCOMPARE(actual.typeName(), expected.typeName());
        QCOMPARE(actual.toString(), expected.toString());
        QCOMPARE(expected.toString() == u"0", seed == 0);
        // What the rows behind the stock show: every listed item, valued alike.
        QCOMPARE(valuationTexts(onePass.valuations), valuationTexts(perItem.valuations));
    }
};

QTEST_GUILESS_MAIN(TestDetailFormat)
#include "tst_detailformat.moc"
