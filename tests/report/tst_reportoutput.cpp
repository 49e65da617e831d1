#include "program/degiskenler.h"
#include "program/regionalsettings.h"
#include "report/activereport1.h"
#include "report/reportidentity.h"
#include "report/reportoutput.h"
#include "report/reportvalues.h"
#include "support/fakedatabase.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::report;
using namespace Qt::Literals::StringLiterals;
using runtime::Variant;

namespace {

struct Amount
{
    QString column;  // the type its column declares
    QString value;
    QString page;    // the page's text
    QString plain;   // the text under "values"
};

} // namespace

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
        QList<Amount> amounts{
            {u"MONEY"_s, u"-1234.565"_s, u"-1.234,57"_s, u"-1234.565"_s},  // half away from zero on the page
            {u"SMALLINT"_s, u"0"_s, u"0,00"_s, u"0"_s},
            {u"INT"_s, u"-1234567"_s, u"-1.234.567,00"_s, u"-1234567"_s},
            {u"MONEY"_s, u"922337203685477.5807"_s, u"922.337.203.685.477,58"_s, u"922337203685477.5807"_s},
            {u"DECIMAL"_s, u"-12345678901234567890.125"_s, u"-12.345.678.901.234.567.890,13"_s, u"-12345678901234567890.125"_s},
            {u"FLOAT"_s, u"2.675"_s, u"2,68"_s, u"2.675"_s},  // a Double from its decimal form
            {u"FLOAT"_s, u"1.5e-7"_s, u"0,00"_s, u"0.00000015"_s},
            {u"FLOAT"_s, u"1e30"_s, u"1.000.000.000.000.000.000.000.000.000.000,00"_s, u"1000000000000000000000000000000"_s},
        };
        for (int i = amounts.size(); i < names.size(); ++i)
            amounts.append({u"MONEY"_s, u"%1.5"_s.arg(i * 1000), u"%1.000,50"_s.arg(i), u"%1.5"_s.arg(i * 1000)});
        ReportValues values;
        values.setValue(u"tarih"_s, Variant::date(runtime::oleDateFrom(QDate(2026, 12, 5))));
        values.setValue(u"saat"_s, Variant::date(runtime::oleDateFrom(QDate(1899, 12, 30), QTime(21, 5, 9))));
        QString fields;
        QString plain;
        for (int i = 0; i < names.size(); ++i) {
            values.setValue(names[i], test::typedValue(amounts[i].column, amounts[i].value));
            fields += u"\"%1\":\"%2\","_s.arg(names[i], amounts[i].page);
            plain += u"\"%1\":\"%2\","_s.arg(names[i], amounts[i].plain);
        }
        ActiveReport1 report;
        fillPageTexts(report, values, {u","_s, u"."_s, u"dd.MM.yyyy"_s, u"HH:mm:ss"_s});
        program::Degiskenler vars;
        vars.sysfrm_kd = u"DT"_s;
        const ReportIdentity identity = ReportIdentity::of(vars, values);
        QCOMPARE(QString::fromUtf8(reportJson(report, values, identity)), u"{\"title\":\"ZELVAN RAPORU\",\"fields\":{"_s + fields
                     + u"\"tarih\":\"05.12.2026\",\"saat\":\"21:05:09\"},\"values\":{"_s + plain.chopped(1) + u'}'
                     + QString::fromUtf8(identity.jsonMembers()) + u'}');

        fillPageTexts(report, values, {u"."_s, u","_s, u"d/M/yy"_s, u"h:mm:ss tt"_s});
        QCOMPARE(report.page().fieldText(u"tarih"_s), u"5/12/26"_s);
        QCOMPARE(report.page().fieldText(u"saat"_s), u"9:05:09 ÖS"_s);
        QCOMPARE(report.page().fieldText(names[0]), u"-1,234.57"_s);
    }
};

QTEST_GUILESS_MAIN(TestReportOutput)
#include "tst_reportoutput.moc"
