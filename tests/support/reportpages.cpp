#include "support/reportpages.h"

#include "report/activereport1.h"

using namespace Qt::Literals::StringLiterals;

namespace zelvan::test {

platform::ReportPage filledReportPage(const QString &amountText)
{
    ActiveReport1 report;
    for (const QString &name : ActiveReport1::amountFieldNames())
        report.page().setFieldText(name, amountText);
    report.page().setFieldText(u"tarih"_s, u"05.12.2026"_s);
    report.page().setFieldText(u"saat"_s, u"14:30:15"_s);
    return report.page();
}

} // namespace zelvan::test
