#include "platform/recordset.h"
#include "report/activereport1.h"
#include "report/detailformat.h"
#include "report/reportoutput.h"
#include "report/reportvalues.h"
#include "startup/program.h"
#include "startup/regionalsettings.h"
#include "support/fakedatabase.h"
#include "support/fakeservices.h"
#include "support/testinstance.h"

#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;
using platform::Variant;

namespace {

const QList<ReportFigure> &Figures = reportFigures();

// "Currency 12.5": a value's type and amount together.
QString describe(const Variant &value) { return value.typeName() + u' ' + value.toString(); }

// Notes how many statements had run when the date and the time were read.
struct WatchingClock : test::FixedClock
{
    explicit WatchingClock(const QStringList &log) : log(log) {}
    QDate currentDate() override { dateRead = int(log.size()); return date; }
    QTime currentTime() override { timeRead = int(log.size()); return time; }
    const QStringList &log;
    int dateRead = -1, timeRead = -1;
};

// One run of the handler on a fake database whose sums are all NULL and whose stock list is empty.
struct Run
{
    Run() : clock(database.executed), program([this] { auto s = fakes.services(); s.clock = &clock; return s; }(), {})
    {
        program.vars.DbConnection = database.connect();
        for (const ReportFigure &figure : Figures)
            database.answer(figure.sql, test::sumResult(Variant::null()));
        stock({});
    }
    // Items "id" without movements or "id:Giris Cikis Maliyet" with one movement.
    void stock(const QStringList &items)
    {
        test::FakeResult list{{u"Stok_ID"_s}, {}};
        for (const QString &item : items) {
            const QString id = item.section(u':', 0, 0);
            const QStringList m = item.section(u':', 1).split(u' ', Qt::SkipEmptyParts);
            list.rows.append({Variant::longInt(id.toInt())});
            test::FakeResult movements{{u"Stok_ID"_s, u"Giris"_s, u"Cikis"_s, u"Maliyet"_s}, {}};
            if (!m.isEmpty())
                movements.rows.append({Variant::longInt(0), test::typedValue(u"FLOAT"_s, m[0]),
                                       test::typedValue(u"FLOAT"_s, m[1]), test::typedValue(u"MONEY"_s, m[2])});
            database.answer(stockMovementSql(id), movements);
        }
        database.answer(StockListSql, list);
    }
    // The exit code when the program ended, else -1.
    int format()
    try {
        Detail_Format(program, values, stockList);
        return -1;
    } catch (const platform::ProgramEnded &ended) {
        return ended.exitCode;
    }

    test::FakeServices fakes;
    test::FakeDatabase database;
    WatchingClock clock;
    Program program;
    ReportValues values;
    std::shared_ptr<platform::Recordset> stockList;
};

} // namespace

class TestDetailFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The statements go to the company's server letter for letter, blanks included.
    void queryTexts()
    {
        const QStringList expected{
            u"kesilen_Cekler SELECT SUM(Borc) as Toplam FROM CEKKART WHERE Durum='Kendi Çekimiz'"_s,
            u"Verilen_Senetler SELECT SUM(Borc) as Toplam FROM SENETKART WHERE Durum='Kendi Senedimiz'"_s,
            u"Acık_hesaptan_Alacaklılar SELECT SUM(Bakiye) as Toplam FROM CB WHERE  Bakiye<0"_s,
            u"porfoydeki_cekler SELECT SUM(Alacak) as Toplam FROM CEKKART WHERE Durum='Portföyde'"_s,
            u"porfoydeki_senetler SELECT SUM(Alacak) as Toplam FROM SENETKART WHERE Durum='Portföyde'"_s,
            u"bankadaki_cekler SELECT SUM(Alacak) as Toplam  FROM CEKKART WHERE Durum='Bankada Tahsilde' OR "
            u"Durum='Bankada Teminatta'"_s,
            u"bankadaki_senetler SELECT SUM(Alacak) as Toplam  FROM SENETKART WHERE Durum='Bankada Tahsilde' OR "
            u"Durum='Bankada Teminatta'"_s,
            u"parcalı_ceklerın_kalanları SELECT SUM(Kalan) as Toplam FROM CEKPARCALISONUC "_s,
            u"Parcalı_senetlerin_klalanları SELECT SUM(Kalan) as Toplam FROM SENETPARCALISONUC"_s,
            u"Karsılıksız_cekler SELECT SUM(Alacak) as Toplam FROM CEKKART WHERE Durum='Karşılıksız'"_s,
            u"Karsılıksız_senetler SELECT SUM(Alacak) as Toplam FROM SENETKART WHERE Durum='Karşılıksız'"_s,
            u"toplam_Stok_degeri "_s,
            u"hesaba_aktarılmamıs_pos_toplamı SELECT SUM(Hesaba_Gececek_Tutar) as  Toplam FROM POSHAREKET WHERE "
            u"Hesaba_Aktarildi=0"_s,
            u"banaka_bakiyeleri_toplamı SELECT  SUM(Bakiye) as Toplam FROM BB WHERE Hesap_ID>0"_s,
            u"Kasa_bakiyeleri_toplamı SELECT  SUM(Bakiye) as Toplam FROM KB "_s,
            u"acık_hesaptakı_boırclar SELECT SUM(Bakiye) as Toplam FROM CB WHERE  Bakiye>0"_s};
        QStringList actual;
        for (const ReportFigure &figure : Figures)
            actual.append(figure.field + u' ' + figure.sql);
        QCOMPARE(actual, expected);
        QCOMPARE(StockListSql, u"SELECT STOKKART.Stok_ID FROM STOKKART,SB WHERE STOKKART.Stok_ID=SB.Stok_ID AND SB.Kalan>0"_s);
        QCOMPARE(stockMovementSql(u"-7"_s),
                 u"SELECT STOKKART.Stok_ID, STOKHAREKET.Giris, STOKHAREKET.Cikis,STOKHAREKET.Maliyet FROM STOKHAREKET,"
                 u"STOKKART WHERE STOKHAREKET.Stok_ID=STOKKART.Stok_ID AND STOKKART.Stok_ID=-7 ORDER BY Tarih,Cikis"_s);
    }

    void queriesInOrder_data()
    {
        // Statements of a run on two stock items, in order; a refused one ends the run with exit 8.
        QStringList all;
        for (const ReportFigure &figure : Figures)
            all << (figure.sql.isEmpty() ? QStringList{StockListSql, stockMovementSql(u"5"_s), stockMovementSql(u"6"_s)}
                                         : QStringList{figure.sql});
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("figuresSet");   // figure fields written before the end

        QTest::newRow("none refused") << all << -1 << 16;
        QTest::newRow("stock list") << all.mid(0, 12) << 8 << 11;
        QTest::newRow("movements of an item") << all.mid(0, 13) << 8 << 11;
        QTest::newRow("figure 16") << all << 8 << 15;
    }

    void queriesInOrder()
    {
        QFETCH(QStringList, sent);
        QFETCH(int, exitCode);
        QFETCH(int, figuresSet);

        Run run;
        run.stock({u"5"_s, u"6"_s});
        if (exitCode == 8)
            run.database.refuse(sent.last());

        QCOMPARE(run.format(), exitCode);
        QCOMPARE(run.database.executed, sent);
        QCOMPARE((QList<int>{run.clock.dateRead, run.clock.timeRead}), (QList<int>{0, 0}));
        for (int i = 0; i < Figures.size(); ++i)
            QCOMPARE(run.values.contains(Figures[i].field), i < figuresSet);
        QCOMPARE(run.fakes.messages.texts(), (exitCode == 8 ? QStringList{u"Unexpected statement"_s, sent.last()} : QStringList()));
        if (exitCode == 8)
            return;
        // Both recordsets stay open: the shared one on the last figure, the list at its end.
        QCOMPARE(run.program.vars.SharedRecordset->source(), Figures.last().sql);
        QVERIFY(run.stockList->eof());
    }

    void figures_data()
    {
        // Sums by figure number, "n=TYPE:value" as the column is declared, the others NULL; the stock
        // value (12) comes from the items of `stock`. `shown` lists the figures that are not Integer 0.
        QTest::addColumn<QStringList>("stock");
        QTest::addColumn<QStringList>("sums");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");

        QTest::newRow("signs dropped, zero no NULL, types kept") << QStringList()
            << QStringList{u"1=MONEY:0"_s, u"2=INT:-2"_s, u"3=MONEY:-1500.25"_s, u"9=DECIMAL:-256.125"_s, u"13=FLOAT:0.5"_s,
                           u"14=MONEY:-200"_s}
            << QStringList{u"1=Currency 0"_s, u"2=Long 2"_s, u"3=Currency 1500.25"_s, u"9=Decimal 256.125"_s,
                           u"12=Currency 0"_s, u"13=Double 0.5"_s, u"14=Currency 200"_s}
            << u"Currency 1502.25"_s << u"Decimal 456.625"_s;
        QTest::newRow("stock value sums the items' values")
            << QStringList{u"3:2 0 10.5"_s, u"1:0 5 8"_s, u"2:3 0 0.3333"_s} << QStringList{u"13=DECIMAL:0.00005"_s}
            << QStringList{u"12=Currency 21.9999"_s, u"13=Decimal 0.00005"_s} << u"Integer 0"_s << u"Decimal 21.99995"_s;
    }

    void figures()
    {
        QFETCH(QStringList, stock);
        QFETCH(QStringList, sums);
        QFETCH(QStringList, shown);

        Run run;
        run.stock(stock);
        for (const QString &sum : sums) {
            const QString value = sum.section(u'=', 1);
            run.database.answer(Figures[sum.section(u'=', 0, 0).toInt() - 1].sql,
                                test::sumResult(test::typedValue(value.section(u':', 0, 0), value.section(u':', 1))));
        }
        QCOMPARE(run.format(), -1);
        for (int n = 1; n <= Figures.size(); ++n) {
            const QStringList entry = shown.filter(QRegularExpression(u"^%1="_s.arg(n)));
            QCOMPARE(describe(run.values.value(Figures[n - 1].field)), entry.isEmpty() ? u"Integer 0"_s : entry[0].section(u'=', 1));
        }
        QTEST(describe(run.values.value(LeftTotalField)), "left");
        QTEST(describe(run.values.value(RightTotalField)), "right");
    }

    // The page's texts on a crafted instance: statuses in another case or with a trailing blank count
    // nowhere; item 1's receipt and sale share a date.
    void instanceFigures()
    {
        test::TestInstance instance;
        test::addStandardDatabases(instance);
        instance.run(u"FIRMA"_s, u"INSERT INTO CEKKART VALUES (1, 1000, 3, 'Kendi Çekimiz'), (2, 10, 20, 'Tahsil Edildi'), (3, 10, 20, "
            u"'portföyde'), (4, 10, 20, 'Portföyde '), (5, 10, 20, NULL), (6, 0, 40, 'Portföyde'), (7, 0, 100, 'Bankada Tahsilde'), "
            u"(8, 0, 250.5, 'Bankada Teminatta'), (9, 0, 9, 'Karşılıksız'); INSERT INTO SENETKART VALUES (1, 500000.5, 4, "
            u"'Kendi Senedimiz'), (2, 1, 9, 'Karşılıksız'), (3, 5, 5, 'Kendi Çekimiz'), (4, 0, 7, 'Bankada Teminatta'), (5, 0, 11, "
            u"'Portföyde'); INSERT INTO CB VALUES (1, -100.25), (2, -50), (3, 80); INSERT INTO BB VALUES (0, 999), (-1, 5), (1, -300), "
            u"(2, 100); INSERT INTO KB VALUES (1, -75.5); INSERT INTO POSHAREKET VALUES (1, 120, 0), (2, 80, 1), (3, 5.55, 0); "
            u"INSERT INTO CEKPARCALISONUC VALUES (1, 10.10), (2, 0.01); INSERT INTO SENETPARCALISONUC VALUES (1, 2.5); INSERT INTO "
            u"STOKKART VALUES (1, 'Vida'), (2, 'Somun'); INSERT INTO SB VALUES (1, 6), (2, 0); INSERT INTO STOKHAREKET VALUES "
            u"(1, 1, '2026-02-01 00:00:00', 0, 4, NULL), (2, 1, '2026-02-01 00:00:00', 10, 0, 5), (3, 2, '2026-01-01 00:00:00', 3, 0, 7)"_s
                                      .split(u';'));
        Run run;
        run.program.vars.DbConnection = std::make_shared<platform::Connection>();
        run.program.vars.DbConnection->open(instance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));
        QCOMPARE(run.format(), -1);
        QVERIFY(run.fakes.messages.shown.isEmpty());
        ActiveReport1 report;
        fillPageTexts(report, run.values, readWorkstationFormats(run.program));
        QStringList shown;
        for (const QString &field : ActiveReport1::amountFieldNames() + QStringList{u"tarih"_s, u"saat"_s})
            shown << report.page().fieldText(field);
        QCOMPARE(shown.join(u'|'), u"1.000,00|500.000,50|150,25|40,00|11,00|350,50|7,00|10,11|2,50|9,00|9,00|30,00|125,55|200,00|"
                                   u"75,50|80,00|501.150,75|950,16|05.12.2026|14:30:15"_s);
    }
};

QTEST_GUILESS_MAIN(TestDetailFormat)
#include "tst_detailformat.moc"
