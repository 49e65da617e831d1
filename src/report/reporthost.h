#pragma once

#include "report/activereport1.h"
#include "report/reportidentity.h"
#include "report/reportvalues.h"
#include "report/stockvaluation.h"
#include "reportengine/rowtable.h"

#include <QHash>
#include <QPointer>

#include <memory>

namespace zelvan::database {
class Recordset;
} // namespace zelvan::database

namespace zelvan::program {
class Program;
} // namespace zelvan::program

namespace zelvan::reportengine {
class ReportViewer;
class RowsWindow;
} // namespace zelvan::reportengine

namespace zelvan::report {

// The report object of the run: created on first use, computed once, then
// shown in the viewer or written to the outputs the command line asked for.
// The rows behind the figures are read afterwards, on the same connection:
// in the viewer when the user opens a figure or saves the workbook.
class ReportHost
{
public:
    ReportHost();
    ~ReportHost();

    void show(program::Program &program);

    const ActiveReport1 *report() const { return m_report.get(); }
    const ReportValues &values() const { return m_values; }
    const ItemValuations &valuations() const { return m_valuations; }
    reportengine::ReportViewer *viewer() const { return m_viewer.get(); }
    // The window of a figure's rows that the viewer opened, if it is still open.
    reportengine::RowsWindow *rowsWindow(const QString &field) const;

    // The figures computed again on the same connection, shown in the open
    // viewer (F5). A failed query shows its messages; the figures shown stay.
    void refresh(program::Program &program);

private:
    void format(program::Program &program, ReportValues &values, ItemValuations &valuations);
    // Why a headless run could not write its outputs: the exit code, and the
    // message for the user (empty when it was shown already).
    struct OutputFailure
    {
        int exitCode = 0;
        QString message;
    };
    void writeOutputs(program::Program &program);
    OutputFailure writeFiles(program::Program &program);
    void openRows(program::Program &program, const QString &field);
    void saveWorkbook(program::Program &program, const QString &path);

    std::unique_ptr<ActiveReport1> m_report;
    ReportValues m_values;
    ReportIdentity m_identity;
    ItemValuations m_valuations;
    reportengine::CellFormats m_cellFormats;
    std::shared_ptr<database::Recordset> m_stockList;
    QHash<QString, QPointer<reportengine::RowsWindow>> m_rowsWindows;
    std::unique_ptr<reportengine::ReportViewer> m_viewer;
    bool m_formatted = false;
};

} // namespace zelvan::report
