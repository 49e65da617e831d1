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

// The amount fields in the page's order; their names are the page's, checked there.
const QStringList AmountFields = ActiveReport1::amountFieldNames();

// "TYPE:value" as the column is declared.
Variant parsed(const QString &typed) { return test::typedValue(typed.section(u':', 0, 0), typed.section(u':', 1)); }

// The page's texts for `values` at 05.12.2026 `time`; separators as in ",.", date and time as in "dd.MM.yyyy|HH:mm:ss".
ActiveReport1 filled(ReportValues values, QTime time, const QString &separators = u",."_s,
                     const QString &pictures = u"dd.MM.yyyy|HH:mm:ss"_s)
{
    values.setValue(u"tarih"_s, Variant::date(platform::oleDateFrom(QDate(2026, 12, 5))));
    values.setValue(u"saat"_s, Variant::date(platform::oleDateFrom(QDate(1899, 12, 30), time)));
    ActiveReport1 report;
    fillPageTexts(report, values, WorkstationFormats{separators.left(1), separators.mid(1), pictures.section(u'|', 0, 0),
                                                     pictures.section(u'|', 1)});
    return report;
}

} // namespace

class TestReportOutput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // An amount of each type as the page shows it and as the JSON output writes it.
    void amountTexts_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("plain");
        QTest::newRow("negative, half away from zero") << u"MONEY:-1234.565"_s << u"-1.234,57"_s << u"-1234.565"_s;
        QTest::newRow("Integer 0") << u"SMALLINT:0"_s << u"0,00"_s << u"0"_s;
        QTest::newRow("Long") << u"INT:-1234567"_s << u"-1.234.567,00"_s << u"-1234567"_s;
        QTest::newRow("Currency, largest") << u"MONEY:922337203685477.5807"_s << u"922.337.203.685.477,58"_s << u"922337203685477.5807"_s;
        QTest::newRow("Decimal beyond Currency") << u"DECIMAL:-12345678901234567890.125"_s << u"-12.345.678.901.234.567.890,13"_s
                                                << u"-12345678901234567890.125"_s;
        QTest::newRow("Double from its decimal form") << u"FLOAT:2.675"_s << u"2,68"_s << u"2.675"_s;
        QTest::newRow("Double, small") << u"FLOAT:1.5e-7"_s << u"0,00"_s << u"0.00000015"_s;
        QTest::newRow("Double beyond Decimal") << u"FLOAT:1e30"_s << u"1.000.000.000.000.000.000.000.000.000.000,00"_s
                                              << u"1000000000000000000000000000000"_s;
    }

    void amountTexts()
    {
        QFETCH(QString, value);
        ReportValues values;
        values.setValue(AmountFields.last(), parsed(value));
        QTEST(filled(values, QTime(0, 0)).page().fieldText(AmountFields.last()), "text");
        QTEST(zelvan::plainDecimal(parsed(value)), "plain");
    }

    // Every field's page text under "fields", every amount as plain decimal text under "values".
    void json()
    {
        ReportValues values;
        for (int i = 0; i < AmountFields.size(); ++i)
            values.setValue(AmountFields[i], parsed(u"MONEY:"_s + QString::number(i + 1) + u"000.5"_s));
        const ActiveReport1 report = filled(values, QTime(9, 5, 0));

        QJsonParseError error;
        const QJsonObject object = QJsonDocument::fromJson(reportJson(report, values), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(object.keys(), (QStringList{u"fields"_s, u"title"_s, u"values"_s}));
        QCOMPARE(object.value(u"title"_s).toString(), u"ZELVAN RAPORU"_s);
        const QJsonObject fields = object.value(u"fields"_s).toObject();
        const QJsonObject amounts = object.value(u"values"_s).toObject();
        const auto sorted = [](QStringList names) { names.sort(); return names; };
        QCOMPARE(amounts.keys(), sorted(AmountFields));
        QCOMPARE(fields.keys(), sorted(AmountFields + QStringList{u"saat"_s, u"tarih"_s}));
        QCOMPARE(fields.value(u"tarih"_s).toString() + u' ' + fields.value(u"saat"_s).toString(), u"05.12.2026 09:05:00"_s);
        for (int i = 0; i < AmountFields.size(); ++i) {
            QCOMPARE(fields.value(AmountFields[i]).toString(), u"%1.000,50"_s.arg(i + 1));
            QCOMPARE(amounts.value(AmountFields[i]).toString(), QString::number(i + 1) + u"000.5"_s);
        }

        // The workstation's own separators and pictures, 12-hour clock included.
        const ActiveReport1 other = filled(values, QTime(14, 30, 15), u".,"_s, u"d/M/yy|h:mm:ss tt"_s);
        QCOMPARE(other.page().fieldText(u"tarih"_s) + u'|' + other.page().fieldText(u"saat"_s) + u'|' + other.page().fieldText(AmountFields[1]),
                 u"5/12/26|2:30:15 ÖS|2,000.50"_s);
    }
};

QTEST_GUILESS_MAIN(TestReportOutput)
#include "tst_reportoutput.moc"
