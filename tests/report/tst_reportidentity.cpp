#include "program/degiskenler.h"
#include "report/reportidentity.h"
#include "report/reportvalues.h"
#include "reportengine/reportlayout.h"
#include "runtime/dates.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::report;
using namespace Qt::Literals::StringLiterals;
using runtime::Variant;

namespace {

// The page's date and time as a run took them.
ReportValues ranAt(const QTime &time)
{
    ReportValues values;
    values.setValue(u"tarih"_s, Variant::date(runtime::oleDateFrom(QDate(2026, 12, 6))));
    values.setValue(u"saat"_s, Variant::date(runtime::oleDateFrom(QDate(1899, 12, 30), time)));
    return values;
}

} // namespace

class TestReportIdentity : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The company's name and code from its settings row; the date of the page's run.
    void titleAndFileName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("name and code") << u"Demo Ticaret A.Ş."_s << u"DT01"_s << u"ZELVAN RAPORU - Demo Ticaret A.Ş. (DT01)"_s
                                       << u"ZELVAN RAPORU DT01 2026-12-06.pdf"_s;
        QTest::newRow("no code") << u"Kaya Ltd."_s << QString() << u"ZELVAN RAPORU - Kaya Ltd."_s << u"ZELVAN RAPORU 2026-12-06.pdf"_s;
        QTest::newRow("neither") << QString() << QString() << u"ZELVAN RAPORU"_s << u"ZELVAN RAPORU 2026-12-06.pdf"_s;
        QTest::newRow("a code no file name may hold") << u"A/B"_s << u"A/B:1*"_s << u"ZELVAN RAPORU - A/B (A/B:1*)"_s
                                                       << u"ZELVAN RAPORU A_B_1_ 2026-12-06.pdf"_s;
    }
    void titleAndFileName()
    {
        QFETCH(QString, name);
        QFETCH(QString, code);
        program::Degiskenler vars;
        vars.sysfrm_nm = name;
        vars.sysfrm_kd = code;
        reportengine::ReportPage page;
        page.caption = u"ZELVAN RAPORU"_s;
        ReportIdentity::of(vars, ranAt(QTime(9, 5, 0))).describe(page);
        QTEST(page.title(), "title");
        QTEST(page.suggestedFileName(u"pdf"_s), "fileName");
    }

    // Missing values are null; the run's date and time as one local date-time.
    void json_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QDateTime>("yearEnd");
        QTest::addColumn<QString>("members");
        QTest::newRow("whole row") << u"Demo \"Ticaret\""_s << QDateTime(QDate(2026, 12, 31), QTime())
                                   << u",\"company\":{\"name\":\"Demo \\\"Ticaret\\\"\",\"code\":\"DT01\",\"database\":\"NRV_DEMO_2026\","
                                      u"\"fiscalYearStart\":\"2026-01-01\",\"fiscalYearEnd\":\"2026-12-31\"},\"generated\":\"2026-12-06T21:05:09\""_s;
        QTest::newRow("no name, no year end") << QString() << QDateTime()
                                              << u",\"company\":{\"name\":null,\"code\":\"DT01\",\"database\":\"NRV_DEMO_2026\","
                                                 u"\"fiscalYearStart\":\"2026-01-01\",\"fiscalYearEnd\":null},\"generated\":\"2026-12-06T21:05:09\""_s;
    }
    void json()
    {
        QFETCH(QString, name);
        QFETCH(QDateTime, yearEnd);
        program::Degiskenler vars;
        vars.sysfrm_nm = name;
        vars.sysfrm_kd = u"DT01"_s;
        vars.DatabaseName = u"NRV_DEMO_2026"_s;
        vars.Mali_Yil_Baslangic = QDateTime(QDate(2026, 1, 1), QTime());
        vars.Mali_Yil_Bitis = yearEnd;
        QTEST(QString::fromUtf8(ReportIdentity::of(vars, ranAt(QTime(21, 5, 9))).jsonMembers()), "members");
    }
};

QTEST_GUILESS_MAIN(TestReportIdentity)
#include "tst_reportidentity.moc"
