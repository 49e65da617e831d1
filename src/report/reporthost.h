#pragma once

#include "report/activereport1.h"
#include "report/reportidentity.h"
#include "report/reportvalues.h"

#include <memory>

namespace zelvan::database {
class Recordset;
} // namespace zelvan::database

namespace zelvan::program {
class Program;
} // namespace zelvan::program

namespace zelvan::reportengine {
class ReportViewer;
} // namespace zelvan::reportengine

namespace zelvan::report {

// The report object of the run: created on first use, computed once, then
// shown in the viewer or written to the outputs the command line asked for.
class ReportHost
{
public:
    ReportHost();
    ~ReportHost();

    void show(program::Program &program);

    const ActiveReport1 *report() const { return m_report.get(); }
    const ReportValues &values() const { return m_values; }
    reportengine::ReportViewer *viewer() const { return m_viewer.get(); }

    // The figures computed again on the same connection, shown in the open
    // viewer (F5). A failed query shows its messages; the figures shown stay.
    void refresh(program::Program &program);

private:
    void format(program::Program &program, ReportValues &values);
    void writeOutputs(program::Program &program);

    std::unique_ptr<ActiveReport1> m_report;
    ReportValues m_values;
    ReportIdentity m_identity;
    std::shared_ptr<database::Recordset> m_stockList;
    std::unique_ptr<reportengine::ReportViewer> m_viewer;
    bool m_formatted = false;
};

} // namespace zelvan::report
