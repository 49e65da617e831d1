#include "program/program.h"
#include "program/regionalsettings.h"
#include "report/activereport1.h"
#include "report/detailformat.h"
#include "report/reportoutput.h"
#include "report/reportvalues.h"
#include "support/fakedatabase.h"
#include "support/fakeservices.h"
#include "support/testinstance.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::report;
using namespace Qt::Literals::StringLiterals;
using runtime::Variant;

namespace {

const QList<ReportFigure> &Figures = reportFigures();

// One run of the handler on a fake database whose sums are all NULL. The stock list holds `items`, each
// "id:Giris Cikis Maliyet" with one movement.
struct Run
{
    explicit Run(const QStringList &items = {}) : program(fakes.services(), {})
    {
        program.vars.DbConnection = database.connect();
        for (const ReportFigure &figure : Figures)
            database.answer(figure.sql, test::sumResult(Variant::null()));
        test::FakeResult list{{u"Stok_ID"_s}, {}};
        for (const QString &item : items) {
            const QString id = item.section(u':', 0, 0);
            const QStringList m = item.section(u':', 1).split(u' ', Qt::SkipEmptyParts);
            list.rows.append({Variant::longInt(id.toInt())});
            database.answer(stockMovementSql(id), {{u"Stok_ID"_s, u"Giris"_s, u"Cikis"_s, u"Maliyet"_s},
                                                   {{Variant::longInt(0), test::typedValue(u"FLOAT"_s, m[0]),
                                                     test::typedValue(u"FLOAT"_s, m[1]), test::typedValue(u"MONEY"_s, m[2])}}});
        }
        database.answer(StockListSql, list);
    }
    int format()  // the exit code when the program ended, else -1
    try { Detail_Format(program, values, stockList); return -1; } catch (const platform::ProgramEnded &e) { return e.exitCode; }

    test::FakeServices fakes;
    test::FakeDatabase database;
    program::Program program;
    ReportValues values;
    std::shared_ptr<database::Recordset> stockList;
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

    // A run on three stock items, its statements in order. A refused one ends the run with exit 8 after its
    // messages, the figures before it set, the date and time read first.
    void run_data()
    {
        QStringList all;
        for (const ReportFigure &figure : Figures)
            all << (figure.sql.isEmpty()
                        ? QStringList{StockListSql, stockMovementSql(u"3"_s), stockMovementSql(u"1"_s), stockMovementSql(u"2"_s)}
                        : QStringList{figure.sql});
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<int>("figuresSet");
        QTest::newRow("none refused") << all << 16;
        QTest::newRow("stock list") << all.mid(0, 12) << 11;
        QTest::newRow("movements of the second item") << all.mid(0, 14) << 11;
        QTest::newRow("figure 16") << all << 15;
    }
    // Sums as their columns declare them ("n=TYPE:value" by figure number), the others NULL: signs dropped, NULL
    // as Integer 0, zero kept, types kept into the totals; the stock value (12) sums its items' values.
    void run()
    {
        QFETCH(QStringList, sent);
        QFETCH(int, figuresSet);
        Run run({u"3:2 0 10.5"_s, u"1:0 5 8"_s, u"2:3 0 0.3333"_s});
        for (const QString &sum : {u"1=MONEY:0"_s, u"2=INT:-2"_s, u"3=MONEY:-1500.25"_s, u"9=DECIMAL:-256.125"_s, u"10=FLOAT:0.5"_s,
                                   u"13=DECIMAL:0.00005"_s, u"14=MONEY:-200"_s}) {
            const QString value = sum.section(u'=', 1);
            run.database.answer(Figures[sum.section(u'=', 0, 0).toInt() - 1].sql,
                                test::sumResult(test::typedValue(value.section(u':', 0, 0), value.section(u':', 1))));
        }
        const bool refused = figuresSet < Figures.size();
        if (refused)
            run.database.refuse(sent.last());
        QCOMPARE(run.format(), refused ? 8 : -1);
        QCOMPARE(run.database.executed, sent);
        QVERIFY(run.values.contains(u"tarih"_s) && run.values.contains(u"saat"_s));
        for (int i = 0; i < Figures.size(); ++i)
            QCOMPARE(run.values.contains(Figures[i].field), i < figuresSet);
        QCOMPARE(run.fakes.messages.texts(), (refused ? QStringList{u"Unexpected statement"_s, sent.last()} : QStringList()));
        if (refused)
            return;
        // Both recordsets stay open: the shared one on the last figure, the list at its end.
        QVERIFY(run.program.vars.SharedRecordset->source() == Figures.last().sql && run.stockList->eof());
        QStringList shown;  // each figure, then both totals
        for (const ReportFigure &f : Figures + QList<ReportFigure>{{LeftTotalField, {}, false}, {RightTotalField, {}, true}})
            shown << run.values.value(f.field).typeName() + u' ' + run.values.value(f.field).toString();
        QCOMPARE(shown.join(u'|'), u"Currency 0|Long 2|Currency 1500.25|Integer 0|Integer 0|Integer 0|Integer 0|Integer 0|"
                                   u"Decimal 256.125|Double 0.5|Integer 0|Currency 21.9999|Decimal 0.00005|Currency 200|Integer 0|"
                                   u"Integer 0|Currency 1502.25|Decimal 478.62495"_s);
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
        run.program.vars.DbConnection = std::make_shared<database::Connection>();
        run.program.vars.DbConnection->open(instance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));
        QCOMPARE(run.format(), -1);
        ActiveReport1 report;
        fillPageTexts(report, run.values, program::readWorkstationFormats(run.program));
        QStringList shown;
        for (const QString &field : ActiveReport1::amountFieldNames() + QStringList{u"tarih"_s, u"saat"_s})
            shown << report.page().fieldText(field);
        QCOMPARE(shown.join(u'|'), u"1.000,00|500.000,50|150,25|40,00|11,00|350,50|7,00|10,11|2,50|9,00|9,00|30,00|125,55|200,00|"
                                   u"75,50|80,00|501.150,75|950,16|05.12.2026|14:30:15"_s);
    }
};

QTEST_GUILESS_MAIN(TestDetailFormat)
#include "tst_detailformat.moc"
