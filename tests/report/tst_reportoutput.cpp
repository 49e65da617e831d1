#include "program/regionalsettings.h"
#include "report/activereport1.h"
#include "report/reportoutput.h"
#include "report/reportvalues.h"
#include "support/fakedatabase.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::report;
using namespace Qt::Literals::StringLiterals;
using runtime::Variant;

class TestReportOutput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The JSON output, byte for byte: every field's page text under "fields" in the page's order, every
    // amount as plain decimal text under "values"; an amount of each type; then the workstation's own
    // separators and pictures, 12-hour clock included.
    void json()
    {
        const QStringList names = ActiveReport1::amountFieldNames();
        QStringList rows{                                      // TYPE:value|page text|plain text
            u"MONEY:-1234.565|-1.234,57|-1234.565"_s,          // half away from zero on the page
            u"SMALLINT:0|0,00|0"_s,
            u"INT:-1234567|-1.234.567,00|-1234567"_s,
            u"MONEY:922337203685477.5807|922.337.203.685.477,58|922337203685477.5807"_s,
            u"DECIMAL:-12345678901234567890.125|-12.345.678.901.234.567.890,13|-12345678901234567890.125"_s,
            u"FLOAT:2.675|2,68|2.675"_s,                       // a Double from its decimal form
            u"FLOAT:1.5e-7|0,00|0.00000015"_s,
            u"FLOAT:1e30|1.000.000.000.000.000.000.000.000.000.000,00|1000000000000000000000000000000"_s};
        for (int i = rows.size(); i < names.size(); ++i)
            rows << u"MONEY:%1.5|%2.000,50|%1.5"_s.arg(i * 1000).arg(i);
        ReportValues values;
        values.setValue(u"tarih"_s, Variant::date(runtime::oleDateFrom(QDate(2026, 12, 5))));
        values.setValue(u"saat"_s, Variant::date(runtime::oleDateFrom(QDate(1899, 12, 30), QTime(21, 5, 9))));
        QString fields, plain;
        for (int i = 0; i < names.size(); ++i) {
            const QString typed = rows[i].section(u'|', 0, 0);
            values.setValue(names[i], test::typedValue(typed.section(u':', 0, 0), typed.section(u':', 1)));
            fields += u"\"%1\":\"%2\","_s.arg(names[i], rows[i].section(u'|', 1, 1));
            plain += u"\"%1\":\"%2\","_s.arg(names[i], rows[i].section(u'|', 2));
        }
        ActiveReport1 report;
        fillPageTexts(report, values, {u","_s, u"."_s, u"dd.MM.yyyy"_s, u"HH:mm:ss"_s});
        QCOMPARE(QString::fromUtf8(reportJson(report, values)), u"{\"title\":\"ZELVAN RAPORU\",\"fields\":{"_s + fields
                     + u"\"tarih\":\"05.12.2026\",\"saat\":\"21:05:09\"},\"values\":{"_s + plain.chopped(1) + u"}}"_s);

        fillPageTexts(report, values, {u"."_s, u","_s, u"d/M/yy"_s, u"h:mm:ss tt"_s});
        QCOMPARE(report.page().fieldText(u"tarih"_s) + u'|' + report.page().fieldText(u"saat"_s) + u'|' + report.page().fieldText(names[0]),
                 u"5/12/26|9:05:09 ÖS|-1,234.57"_s);
    }
};

QTEST_GUILESS_MAIN(TestReportOutput)
#include "tst_reportoutput.moc"
