#pragma once

#include "reportengine/reportlayout.h"

#include <QString>
#include <QStringList>

namespace zelvan::report {

// The report "ZELVAN RAPORU": one page setting the company's debts (left
// column) against what it holds or is owed (right column), each closed by a
// total, with the date and time of the run underneath. The layout is fixed;
// Detail_Format only fills the fields' texts.
class ActiveReport1
{
public:
    ActiveReport1();

    reportengine::ReportPage &page() { return m_page; }
    const reportengine::ReportPage &page() const { return m_page; }

    // The output format of every amount field.
    static QString amountFormat();
    // The 16 figures and the two totals, in page order: left column, right
    // column, left total, right total.
    static QStringList amountFieldNames();
    // The caption that the page shows beside one of the 16 figures; empty for
    // any other field.
    static QString figureCaption(const QString &field);
    // `tarih` and `saat`.
    static QStringList dateTimeFieldNames();

    // The report's stored layout, every field empty.
    static reportengine::ReportPage layout();

private:
    reportengine::ReportPage m_page;
};

} // namespace zelvan::report
