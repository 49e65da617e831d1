#pragma once

#include "report/activereport1.h"


namespace zelvan::test {

// The report's page as Detail_Format leaves it: every amount field showing `amountText`, the date and the time.
inline reportengine::ReportPage filledReportPage(const QString &amountText)
{
    report::ActiveReport1 report;
    for (const QString &name : report::ActiveReport1::amountFieldNames())
        report.page().setFieldText(name, amountText);
    report.page().setFieldText(QStringLiteral("tarih"), QStringLiteral("05.12.2026"));
    report.page().setFieldText(QStringLiteral("saat"), QStringLiteral("14:30:15"));
    return report.page();
}

} // namespace zelvan::test
