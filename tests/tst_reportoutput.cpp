#include "report/activereport1.h"
#include "report/reportoutput.h"
#include "report/reportvalues.h"
#include "startup/regionalsettings.h"
#include "support/fakedatabase.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;
using platform::Variant;

namespace {

// The amount fields as the JSON output names them: the three debts, the
// thirteen receivables and holdings, the two totals.
const QStringList AmountFields = {
    u"kesilen_Cekler"_s, u"Verilen_Senetler"_s, u"Acık_hesaptan_Alacaklılar"_s, u"porfoydeki_cekler"_s,
    u"porfoydeki_senetler"_s, u"bankadaki_cekler"_s, u"bankadaki_senetler"_s, u"parcalı_ceklerın_kalanları"_s,
    u"Parcalı_senetlerin_klalanları"_s, u"Karsılıksız_cekler"_s, u"Karsılıksız_senetler"_s, u"toplam_Stok_degeri"_s,
    u"hesaba_aktarılmamıs_pos_toplamı"_s, u"banaka_bakiyeleri_toplamı"_s, u"Kasa_bakiyeleri_toplamı"_s,
    u"acık_hesaptakı_boırclar"_s, u"sirketin_genel_borçları_toplamı"_s, u"sirketin_genel_alacakları_toplamı"_s,
};

Variant parsed(const QString &typed)
{
    return test::typedValue(typed.section(u':', 0, 0), typed.section(u':', 1));
}

WorkstationFormats formats(const QString &decimal, const QString &thousands, const QString &date = u"dd.MM.yyyy"_s,
                           const QString &time = u"HH:mm:ss"_s)
{
    return WorkstationFormats{decimal, thousands, date, time};
}

} // namespace

class TestReportOutput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void amountTexts_data();
    void amountTexts();
    void everyAmountFieldIsFilled();
    void dateAndTimePictures_data();
    void dateAndTimePictures();
    void plainDecimal_data();
    void plainDecimal();
    void json();
};

void TestReportOutput::amountTexts_data()
{
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("thousands");
    QTest::addColumn<QString>("value");   // TYPE:value as the column is declared
    QTest::addColumn<QString>("text");

    QTest::newRow("million, Turkish") << u","_s << u"."_s << u"MONEY:1500000"_s << u"1.500.000,00"_s;
    QTest::newRow("million, English") << u"."_s << u","_s << u"MONEY:1500000"_s << u"1,500,000.00"_s;
    QTest::newRow("negative, Turkish") << u","_s << u"."_s << u"MONEY:-1234.565"_s << u"-1.234,57"_s;
    QTest::newRow("negative, English") << u"."_s << u","_s << u"MONEY:-1234.565"_s << u"-1,234.57"_s;
    QTest::newRow("Integer 0") << u","_s << u"."_s << u"SMALLINT:0"_s << u"0,00"_s;
    QTest::newRow("rounds to zero without sign") << u","_s << u"."_s << u"MONEY:-0.004"_s << u"0,00"_s;
    QTest::newRow("carry into a new group") << u","_s << u"."_s << u"MONEY:999.995"_s << u"1.000,00"_s;
    QTest::newRow("Long") << u","_s << u"."_s << u"INT:-1234567"_s << u"-1.234.567,00"_s;
    QTest::newRow("Double from its decimal form") << u","_s << u"."_s << u"FLOAT:2.675"_s << u"2,68"_s;
    QTest::newRow("Decimal beyond Currency") << u","_s << u"."_s << u"DECIMAL:12345678901234567890.125"_s
                                            << u"12.345.678.901.234.567.890,13"_s;
}

void TestReportOutput::amountTexts()
{
    QFETCH(QString, decimal);
    QFETCH(QString, thousands);
    QFETCH(QString, value);
    QFETCH(QString, text);

    ReportValues values;
    values.setValue(u"sirketin_genel_alacakları_toplamı"_s, parsed(value));
    ActiveReport1 report;
    fillPageTexts(report, values, formats(decimal, thousands));
    QCOMPARE(report.page().fieldText(u"sirketin_genel_alacakları_toplamı"_s), text);
}

void TestReportOutput::everyAmountFieldIsFilled()
{
    ReportValues values;
    for (int i = 0; i < AmountFields.size(); ++i)
        values.setValue(AmountFields[i], Variant::longInt(1000 * (i + 1)));
    ActiveReport1 report;
    fillPageTexts(report, values, formats(u","_s, u"."_s));
    for (int i = 0; i < AmountFields.size(); ++i)
        QCOMPARE(report.page().fieldText(AmountFields[i]), u"%1.000,00"_s.arg(i + 1));
}

void TestReportOutput::dateAndTimePictures_data()
{
    QTest::addColumn<QString>("datePicture");
    QTest::addColumn<QString>("timePicture");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");

    QTest::newRow("required forms") << u"dd.MM.yyyy"_s << u"HH:mm:ss"_s << u"05.12.2026"_s << u"14:30:15"_s;
    QTest::newRow("short forms, 12-hour clock") << u"d/M/yy"_s << u"h:mm:ss tt"_s << u"5/12/26"_s << u"2:30:15 ÖS"_s;
    QTest::newRow("ISO order") << u"yyyy-MM-dd"_s << u"HH:mm"_s << u"2026-12-05"_s << u"14:30"_s;
}

void TestReportOutput::dateAndTimePictures()
{
    QFETCH(QString, datePicture);
    QFETCH(QString, timePicture);
    QFETCH(QString, date);
    QFETCH(QString, time);

    ReportValues values;
    values.setValue(u"tarih"_s, Variant::date(platform::oleDateFrom(QDate(2026, 12, 5))));
    values.setValue(u"saat"_s, Variant::date(platform::oleDateFrom(QDate(1899, 12, 30), QTime(14, 30, 15))));
    ActiveReport1 report;
    fillPageTexts(report, values, formats(u","_s, u"."_s, datePicture, timePicture));
    QCOMPARE(report.page().fieldText(u"tarih"_s), date);
    QCOMPARE(report.page().fieldText(u"saat"_s), time);
}

void TestReportOutput::plainDecimal_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("Currency") << u"MONEY:1500000.25"_s << u"1500000.25"_s;
    QTest::newRow("Currency, smallest negative") << u"MONEY:-0.0001"_s << u"-0.0001"_s;
    QTest::newRow("Currency, largest") << u"MONEY:922337203685477.5807"_s << u"922337203685477.5807"_s;
    QTest::newRow("Decimal") << u"DECIMAL:-12345678901234567890.125"_s << u"-12345678901234567890.125"_s;
    QTest::newRow("Long") << u"INT:-42"_s << u"-42"_s;
    QTest::newRow("Integer 0") << u"SMALLINT:0"_s << u"0"_s;
    QTest::newRow("Double, large") << u"FLOAT:1e20"_s << u"100000000000000000000"_s;
    QTest::newRow("Double, small") << u"FLOAT:1.5e-7"_s << u"0.00000015"_s;
    QTest::newRow("Double, shortest form") << u"FLOAT:0.1"_s << u"0.1"_s;
    QTest::newRow("Double beyond Decimal") << u"FLOAT:1e30"_s << u"1000000000000000000000000000000"_s;
}

void TestReportOutput::plainDecimal()
{
    QFETCH(QString, value);
    QFETCH(QString, text);
    QCOMPARE(zelvan::plainDecimal(parsed(value)), text);
}

void TestReportOutput::json()
{
    ReportValues values;
    values.setValue(u"tarih"_s, Variant::date(platform::oleDateFrom(QDate(2026, 12, 5))));
    values.setValue(u"saat"_s, Variant::date(platform::oleDateFrom(QDate(1899, 12, 30), QTime(9, 5, 0))));
    for (int i = 0; i < AmountFields.size(); ++i)
        values.setValue(AmountFields[i], parsed(u"MONEY:%1.5"_s.arg(1234 * i)));
    ActiveReport1 report;
    fillPageTexts(report, values, formats(u","_s, u"."_s));

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(reportJson(report, values), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonObject object = document.object();
    QCOMPARE(object.keys(), (QStringList{u"fields"_s, u"title"_s, u"values"_s}));
    QCOMPARE(object.value(u"title"_s).toString(), u"ZELVAN RAPORU"_s);

    const QJsonObject fields = object.value(u"fields"_s).toObject();
    QStringList fieldNames = AmountFields + QStringList{u"tarih"_s, u"saat"_s};
    fieldNames.sort();
    QCOMPARE(fields.keys(), fieldNames);
    QCOMPARE(fields.value(u"tarih"_s).toString(), u"05.12.2026"_s);
    QCOMPARE(fields.value(u"saat"_s).toString(), u"09:05:00"_s);
    QCOMPARE(fields.value(u"porfoydeki_cekler"_s).toString(), u"3.702,50"_s);

    const QJsonObject amounts = object.value(u"values"_s).toObject();
    QStringList amountNames = AmountFields;
    amountNames.sort();
    QCOMPARE(amounts.keys(), amountNames);
    for (int i = 0; i < AmountFields.size(); ++i) {
        QCOMPARE(fields.value(AmountFields[i]).toString(), report.page().fieldText(AmountFields[i]));
        QVERIFY(amounts.value(AmountFields[i]).isString());
        QCOMPARE(amounts.value(AmountFields[i]).toString(), u"%1.5"_s.arg(1234 * i));
    }
}

QTEST_GUILESS_MAIN(TestReportOutput)
#include "tst_reportoutput.moc"
