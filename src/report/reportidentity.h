#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

namespace zelvan::program {
struct Degiskenler;
} // namespace zelvan::program

namespace zelvan::reportengine {
struct ReportPage;
} // namespace zelvan::reportengine

namespace zelvan::report {

class ReportValues;

// Whose report it is and when it was made: the company's settings row as
// start-up read it, and the moment the page's date and time were taken. The
// page itself shows none of it; the window, the print job, the PDF, the
// suggested file names and the JSON carry it.
struct ReportIdentity
{
    QString companyName;  // empty: not known
    QString companyCode;
    QString database;
    QDate fiscalYearStart;  // invalid: not known
    QDate fiscalYearEnd;
    QDateTime generated;

    static ReportIdentity of(const program::Degiskenler &vars, const ReportValues &values);

    // "ZELVAN RAPORU - Demo Ticaret A.Ş. (DT01)"; the caption alone without a company.
    QString title(const QString &caption) const;
    // "ZELVAN RAPORU DT01 2026-12-06", with what a file name may not hold replaced.
    QString fileBaseName(const QString &caption) const;
    // Puts the above on the page's description, for the viewer and the PDF.
    void describe(reportengine::ReportPage &page) const;

    // ,"company":{...},"generated":"YYYY-MM-DDTHH:MM:SS" to follow the JSON's values.
    QByteArray jsonMembers() const;
};

} // namespace zelvan::report
