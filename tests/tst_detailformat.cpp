#include "platform/messageboxes.h"
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

// Figure fields in the order they are computed, with their queries; the
// stock value has none.
const QList<std::pair<QString, QString>> Figures = {
    {u"kesilen_Cekler"_s, u"SELECT SUM(Borc) as Toplam FROM CEKKART WHERE Durum='Kendi Çekimiz'"_s},
    {u"Verilen_Senetler"_s, u"SELECT SUM(Borc) as Toplam FROM SENETKART WHERE Durum='Kendi Senedimiz'"_s},
    {u"Acık_hesaptan_Alacaklılar"_s, u"SELECT SUM(Bakiye) as Toplam FROM CB WHERE  Bakiye<0"_s},
    {u"porfoydeki_cekler"_s, u"SELECT SUM(Alacak) as Toplam FROM CEKKART WHERE Durum='Portföyde'"_s},
    {u"porfoydeki_senetler"_s, u"SELECT SUM(Alacak) as Toplam FROM SENETKART WHERE Durum='Portföyde'"_s},
    {u"bankadaki_cekler"_s,
     u"SELECT SUM(Alacak) as Toplam  FROM CEKKART WHERE Durum='Bankada Tahsilde' OR Durum='Bankada Teminatta'"_s},
    {u"bankadaki_senetler"_s,
     u"SELECT SUM(Alacak) as Toplam  FROM SENETKART WHERE Durum='Bankada Tahsilde' OR Durum='Bankada Teminatta'"_s},
    {u"parcalı_ceklerın_kalanları"_s, u"SELECT SUM(Kalan) as Toplam FROM CEKPARCALISONUC "_s},
    {u"Parcalı_senetlerin_klalanları"_s, u"SELECT SUM(Kalan) as Toplam FROM SENETPARCALISONUC"_s},
    {u"Karsılıksız_cekler"_s, u"SELECT SUM(Alacak) as Toplam FROM CEKKART WHERE Durum='Karşılıksız'"_s},
    {u"Karsılıksız_senetler"_s, u"SELECT SUM(Alacak) as Toplam FROM SENETKART WHERE Durum='Karşılıksız'"_s},
    {u"toplam_Stok_degeri"_s, QString()},
    {u"hesaba_aktarılmamıs_pos_toplamı"_s,
     u"SELECT SUM(Hesaba_Gececek_Tutar) as  Toplam FROM POSHAREKET WHERE Hesaba_Aktarildi=0"_s},
    {u"banaka_bakiyeleri_toplamı"_s, u"SELECT  SUM(Bakiye) as Toplam FROM BB WHERE Hesap_ID>0"_s},
    {u"Kasa_bakiyeleri_toplamı"_s, u"SELECT  SUM(Bakiye) as Toplam FROM KB "_s},
    {u"acık_hesaptakı_boırclar"_s, u"SELECT SUM(Bakiye) as Toplam FROM CB WHERE  Bakiye>0"_s},
};
const QString StockList = u"SELECT STOKKART.Stok_ID FROM STOKKART,SB WHERE STOKKART.Stok_ID=SB.Stok_ID AND SB.Kalan>0"_s;
const QString LeftTotal = u"sirketin_genel_borçları_toplamı"_s;
const QString RightTotal = u"sirketin_genel_alacakları_toplamı"_s;

QString movementsOf(const QString &id)
{
    return u"SELECT STOKKART.Stok_ID, STOKHAREKET.Giris, STOKHAREKET.Cikis,STOKHAREKET.Maliyet FROM STOKHAREKET,"
           u"STOKKART WHERE STOKHAREKET.Stok_ID=STOKKART.Stok_ID AND STOKKART.Stok_ID="_s + id + u" ORDER BY Tarih,Cikis"_s;
}

// The statements of a run whose stock list holds `items`, in order.
QStringList expectedStatements(const QStringList &items)
{
    QStringList statements;
    for (const auto &[field, sql] : Figures) {
        if (!sql.isEmpty()) {
            statements << sql;
            continue;
        }
        statements << StockList;
        for (const QString &id : items)
            statements << movementsOf(id);
    }
    return statements;
}

// "Currency 12.5", "Integer 0": a value's type and amount together.
QString describe(const Variant &value)
{
    return value.typeName() + u' ' + value.toString();
}

// Remembers how many statements had run when the date and the time were read.
class WatchingClock : public test::FixedClock
{
public:
    explicit WatchingClock(const QStringList &log) : m_log(log) {}
    QDate currentDate() override
    {
        dateRead = int(m_log.size());
        return FixedClock::currentDate();
    }
    QTime currentTime() override
    {
        timeRead = int(m_log.size());
        return FixedClock::currentTime();
    }
    int dateRead = -1;
    int timeRead = -1;

private:
    const QStringList &m_log;
};

// One run of the handler on a fake database (or, with connect(), an instance).
struct Run
{
    Run() : clock(database.executed), program(services(), platform::CommandLine())
    {
        program.vars.DbConnection = database.connect();
        for (const auto &[field, sql] : Figures) {
            if (!sql.isEmpty())
                database.answer(sql, test::sumResult(Variant::null()));
        }
        database.answer(StockList, {{u"Stok_ID"_s}, {}});
    }
    platform::Services services()
    {
        platform::Services s = fakes.services();
        s.clock = &clock;
        return s;
    }
    void connect(const test::TestInstance &instance)
    {
        program.vars.DbConnection = std::make_shared<platform::Connection>();
        program.vars.DbConnection->open(instance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));
    }
    // The exit code when the program ended, else -1.
    int format()
    {
        try {
            Detail_Format(program, values, stockList);
        } catch (const platform::ProgramEnded &ended) {
            return ended.exitCode;
        }
        return -1;
    }
    // The page's texts as the workstation shows them.
    QString text(const QString &field)
    {
        ActiveReport1 report;
        fillPageTexts(report, values, readWorkstationFormats(program));
        return report.page().fieldText(field);
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
    void queriesInOrderAfterDateAndTime();
    void figures_data();
    void figures();
    void stockValueIsTheSumOfItemValues();
    void failedQueryEndsTheRun_data();
    void failedQueryEndsTheRun();
    void instanceFigures_data();
    void instanceFigures();
    void droppedTableOnInstance();
};

void TestDetailFormat::queriesInOrderAfterDateAndTime()
{
    Run run;
    test::FakeResult items{{u"Stok_ID"_s}, {{Variant::longInt(30)}, {Variant::longInt(1)}, {Variant::longInt(7)}}};
    run.database.answer(StockList, items);
    for (const QString &id : {u"30"_s, u"1"_s, u"7"_s})
        run.database.answer(movementsOf(id), {{u"Stok_ID"_s, u"Giris"_s, u"Cikis"_s, u"Maliyet"_s}, {}});

    QCOMPARE(run.format(), -1);
    QCOMPARE(run.database.executed, expectedStatements({u"30"_s, u"1"_s, u"7"_s}));
    QCOMPARE(run.clock.dateRead, 0);
    QCOMPARE(run.clock.timeRead, 0);
    QCOMPARE(run.values.value(u"tarih"_s).toDateTime(), QDateTime(QDate(2026, 12, 5), QTime(0, 0)));
    QCOMPARE(run.values.value(u"saat"_s).toDateTime(), QDateTime(QDate(1899, 12, 30), QTime(14, 30, 15)));
    QVERIFY(run.fakes.messages.shown.isEmpty());
    // Both recordsets stay open: the shared one on the last figure, the list at its end.
    QCOMPARE(run.program.vars.SharedRecordset->source(), Figures.last().second);
    QVERIFY(run.stockList->eof());
}

void TestDetailFormat::figures_data()
{
    // Sums by figure number (the stock value, 12, comes from an empty list):
    // "n=TYPE:value" with TYPE as the column is declared, or "n=N" for NULL.
    QTest::addColumn<QStringList>("sums");
    QTest::addColumn<QStringList>("shown");   // "n=Type value" for figures that are not Integer 0
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");

    QTest::newRow("every sum NULL") << QStringList() << QStringList{u"12=Currency 0"_s} << u"Integer 0"_s
                                    << u"Currency 0"_s;
    QTest::newRow("negative sums lose their sign")
        << QStringList{u"3=MONEY:-1500.25"_s, u"14=MONEY:-200"_s, u"15=MONEY:-0.5"_s}
        << QStringList{u"3=Currency 1500.25"_s, u"12=Currency 0"_s, u"14=Currency 200"_s, u"15=Currency 0.5"_s}
        << u"Currency 1500.25"_s << u"Currency 200.5"_s;
    QTest::newRow("zero sum is a value, not NULL")
        << QStringList{u"1=MONEY:0"_s, u"4=INT:0"_s}
        << QStringList{u"1=Currency 0"_s, u"4=Long 0"_s, u"12=Currency 0"_s} << u"Currency 0"_s << u"Currency 0"_s;
    QTest::newRow("Currency, Decimal, Long and Double mix")
        << QStringList{u"1=MONEY:100.1"_s, u"2=INT:-7"_s, u"8=MONEY:1.25"_s, u"9=DECIMAL:-2.125"_s,
                       u"13=FLOAT:0.5"_s, u"16=MONEY:10"_s}
        << QStringList{u"1=Currency 100.1"_s, u"2=Long 7"_s, u"8=Currency 1.25"_s, u"9=Decimal 2.125"_s,
                       u"12=Currency 0"_s, u"13=Double 0.5"_s, u"16=Currency 10"_s}
        << u"Currency 107.1"_s << u"Decimal 13.875"_s;
    QTest::newRow("left total has exactly three terms")
        << QStringList{u"1=MONEY:1"_s, u"2=MONEY:2"_s, u"3=MONEY:-4"_s, u"4=MONEY:8"_s, u"5=MONEY:16"_s,
                       u"6=MONEY:32"_s, u"7=MONEY:64"_s, u"8=MONEY:128"_s, u"9=DECIMAL:256"_s, u"10=MONEY:512"_s,
                       u"11=MONEY:1024"_s, u"13=MONEY:2048"_s, u"14=MONEY:4096"_s, u"15=MONEY:8192"_s,
                       u"16=MONEY:16384"_s}
        << QStringList{u"1=Currency 1"_s, u"2=Currency 2"_s, u"3=Currency 4"_s, u"4=Currency 8"_s,
                       u"5=Currency 16"_s, u"6=Currency 32"_s, u"7=Currency 64"_s, u"8=Currency 128"_s,
                       u"9=Decimal 256"_s, u"10=Currency 512"_s, u"11=Currency 1024"_s, u"12=Currency 0"_s,
                       u"13=Currency 2048"_s, u"14=Currency 4096"_s, u"15=Currency 8192"_s, u"16=Currency 16384"_s}
        << u"Currency 7"_s << u"Decimal 32760"_s;
}

void TestDetailFormat::figures()
{
    QFETCH(QStringList, sums);
    QFETCH(QStringList, shown);
    QFETCH(QString, left);
    QFETCH(QString, right);

    Run run;
    for (const QString &sum : sums) {
        const int number = sum.section(u'=', 0, 0).toInt();
        const QString value = sum.section(u'=', 1);
        run.database.answer(Figures[number - 1].second,
                            test::sumResult(test::typedValue(value.section(u':', 0, 0), value.section(u':', 1))));
    }
    QCOMPARE(run.format(), -1);

    for (int number = 1; number <= Figures.size(); ++number) {
        QString expected = u"Integer 0"_s;
        for (const QString &s : shown) {
            if (s.section(u'=', 0, 0).toInt() == number)
                expected = s.section(u'=', 1);
        }
        QCOMPARE(describe(run.values.value(Figures[number - 1].first)), expected);
    }
    QCOMPARE(describe(run.values.value(LeftTotal)), left);
    QCOMPARE(describe(run.values.value(RightTotal)), right);
}

void TestDetailFormat::stockValueIsTheSumOfItemValues()
{
    Run run;
    run.database.answer(StockList, {{u"Stok_ID"_s}, {{Variant::longInt(3)}, {Variant::longInt(1)}, {Variant::longInt(2)}}});
    const QStringList columns{u"Stok_ID"_s, u"Giris"_s, u"Cikis"_s, u"Maliyet"_s};
    const auto movement = [](double in, double out, const char *cost) {
        return std::vector<Variant>{Variant::longInt(0), Variant::dbl(in), Variant::dbl(out),
                                    test::typedValue(u"MONEY"_s, QString::fromLatin1(cost))};
    };
    run.database.answer(movementsOf(u"3"_s), {columns, {movement(2, 0, "10.5")}});
    run.database.answer(movementsOf(u"1"_s), {columns, {movement(0, 5, "8")}});
    run.database.answer(movementsOf(u"2"_s), {columns, {movement(3, 0, "0.3333")}});
    run.database.answer(Figures[12].second, test::sumResult(test::typedValue(u"DECIMAL"_s, u"0.00005"_s)));

    QCOMPARE(run.format(), -1);
    QCOMPARE(describe(run.values.value(u"toplam_Stok_degeri"_s)), u"Currency 21.9999"_s);
    QCOMPARE(describe(run.values.value(RightTotal)), u"Decimal 21.99995"_s);
    QCOMPARE(describe(run.values.value(LeftTotal)), u"Integer 0"_s);
    QCOMPARE(run.text(RightTotal), u"22,00"_s);
}

void TestDetailFormat::failedQueryEndsTheRun_data()
{
    QTest::addColumn<QString>("refused");
    QTest::addColumn<int>("figuresSet");   // figure fields written before the failure

    QTest::newRow("figure 1") << Figures[0].second << 0;
    QTest::newRow("figure 9") << Figures[8].second << 8;
    QTest::newRow("stock list") << StockList << 11;
    QTest::newRow("movements of an item") << movementsOf(u"5"_s) << 11;
    QTest::newRow("figure 16") << Figures[15].second << 15;
}

void TestDetailFormat::failedQueryEndsTheRun()
{
    QFETCH(QString, refused);
    QFETCH(int, figuresSet);

    Run run;
    run.database.answer(StockList, {{u"Stok_ID"_s}, {{Variant::longInt(5)}, {Variant::longInt(6)}}});
    run.database.answer(movementsOf(u"6"_s), {{u"Stok_ID"_s, u"Giris"_s, u"Cikis"_s, u"Maliyet"_s}, {}});
    if (refused != movementsOf(u"5"_s))
        run.database.answer(movementsOf(u"5"_s), {{u"Stok_ID"_s, u"Giris"_s, u"Cikis"_s, u"Maliyet"_s}, {}});
    run.database.refuse(refused);

    QCOMPARE(run.format(), 8);
    QCOMPARE(run.database.executed.last(), refused);
    QCOMPARE(run.fakes.messages.texts(), (QStringList{u"Unexpected statement"_s, refused}));
    for (const auto &shown : std::as_const(run.fakes.messages.shown))
        QCOMPARE(shown.style, platform::MsgBox::Critical);
    for (int i = 0; i < Figures.size(); ++i)
        QCOMPARE(run.values.contains(Figures[i].first), i < figuresSet);
}

void TestDetailFormat::instanceFigures_data()
{
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QStringList>("texts");   // "field=text"; every other amount shows 0,00

    QTest::newRow("empty tables") << QStringList() << QStringList();
    QTest::newRow("only negative CB balances")
        << QStringList{u"INSERT INTO CB VALUES (1, -100.25), (2, -50)"_s}
        << QStringList{u"Acık_hesaptan_Alacaklılar=150,25"_s, LeftTotal + u"=150,25"_s};
    QTest::newRow("statuses that count nowhere")
        << QStringList{u"INSERT INTO CEKKART VALUES (1, 10, 20, 'Tahsil Edildi'), (2, 10, 20, 'portföyde'), "
                       u"(3, 10, 20, 'Portföyde '), (4, 10, 20, NULL), (5, 10, 20, 'Kendi Çekimiz ')"_s,
                       u"INSERT INTO SENETKART VALUES (1, 5, 5, 'Ciro Edildi'), (2, 5, 5, 'Kendi Çekimiz')"_s}
        << QStringList();
    QTest::newRow("Bankada Teminatta counts with Bankada Tahsilde")
        << QStringList{u"INSERT INTO CEKKART VALUES (1, 0, 100, 'Bankada Tahsilde'), (2, 0, 250.5, 'Bankada Teminatta')"_s,
                       u"INSERT INTO SENETKART VALUES (1, 0, 7, 'Bankada Teminatta')"_s}
        << QStringList{u"bankadaki_cekler=350,50"_s, u"bankadaki_senetler=7,00"_s, RightTotal + u"=357,50"_s};
    QTest::newRow("own cheques and notes on the left")
        << QStringList{u"INSERT INTO CEKKART VALUES (1, 1000, 3, 'Kendi Çekimiz')"_s,
                       u"INSERT INTO SENETKART VALUES (1, 500000.5, 4, 'Kendi Senedimiz'), (2, 1, 9, 'Karşılıksız')"_s}
        << QStringList{u"kesilen_Cekler=1.000,00"_s, u"Verilen_Senetler=500.000,50"_s, u"Karsılıksız_senetler=9,00"_s,
                       LeftTotal + u"=501.000,50"_s, RightTotal + u"=9,00"_s};
    QTest::newRow("negative bank and cash totals")
        << QStringList{u"INSERT INTO BB VALUES (0, 999), (1, -300), (2, 100)"_s, u"INSERT INTO KB VALUES (1, -75.5)"_s}
        << QStringList{u"banaka_bakiyeleri_toplamı=200,00"_s, u"Kasa_bakiyeleri_toplamı=75,50"_s,
                       RightTotal + u"=275,50"_s};
    QTest::newRow("POS receipts not yet transferred")
        << QStringList{u"INSERT INTO POSHAREKET VALUES (1, 120, 0), (2, 80, 1), (3, 5.55, 0)"_s}
        << QStringList{u"hesaba_aktarılmamıs_pos_toplamı=125,55"_s, RightTotal + u"=125,55"_s};
    QTest::newRow("part-paid remainders")
        << QStringList{u"INSERT INTO CEKPARCALISONUC VALUES (1, 10.10), (2, 0.01)"_s,
                       u"INSERT INTO SENETPARCALISONUC VALUES (1, 2.5)"_s}
        << QStringList{u"parcalı_ceklerın_kalanları=10,11"_s, u"Parcalı_senetlerin_klalanları=2,50"_s,
                       RightTotal + u"=12,61"_s};
    // Item 1's receipt and sale share a date: the receipt comes first.
    QTest::newRow("stock of items with a remaining quantity")
        << QStringList{u"INSERT INTO STOKKART VALUES (1, 'Vida'), (2, 'Somun')"_s,
                       u"INSERT INTO SB VALUES (1, 6), (2, 0)"_s,
                       u"INSERT INTO STOKHAREKET VALUES (1, 1, '2026-02-01 00:00:00', 0, 4, NULL), "
                       u"(2, 1, '2026-02-01 00:00:00', 10, 0, 5), (3, 2, '2026-01-01 00:00:00', 3, 0, 7)"_s}
        << QStringList{u"toplam_Stok_degeri=30,00"_s, RightTotal + u"=30,00"_s};
}

void TestDetailFormat::instanceFigures()
{
    QFETCH(QStringList, statements);
    QFETCH(QStringList, texts);

    test::TestInstance instance;
    test::addStandardDatabases(instance);
    instance.run(u"FIRMA"_s, statements);
    Run run;
    run.connect(instance);
    QCOMPARE(run.format(), -1);
    QVERIFY(run.fakes.messages.shown.isEmpty());

    for (const QString &field : ActiveReport1::amountFieldNames()) {
        QString expected = u"0,00"_s;
        for (const QString &t : texts) {
            if (t.section(u'=', 0, 0) == field)
                expected = t.section(u'=', 1);
        }
        QCOMPARE(run.text(field), expected);
    }
    QCOMPARE(run.text(u"tarih"_s), u"05.12.2026"_s);
    QCOMPARE(run.text(u"saat"_s), u"14:30:15"_s);
}

void TestDetailFormat::droppedTableOnInstance()
{
    test::TestInstance instance;
    test::addStandardDatabases(instance);
    instance.run(u"FIRMA"_s, {u"DROP TABLE SENETPARCALISONUC"_s});
    Run run;
    run.connect(instance);
    QCOMPARE(run.format(), 8);
    const QString sql = Figures[8].second;
    QCOMPARE(run.fakes.messages.texts(), (QStringList{u"Invalid object name 'SENETPARCALISONUC'."_s, sql}));
    QCOMPARE(run.fakes.clipboard.text, sql);   // the last query sent
    QVERIFY(!run.values.contains(Figures[9].first));
}

QTEST_GUILESS_MAIN(TestDetailFormat)
#include "tst_detailformat.moc"
