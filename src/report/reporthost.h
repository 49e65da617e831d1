#pragma once

#include "report/activereport1.h"
#include "report/reportvalues.h"

#include <memory>

namespace zelvan {

namespace platform {
class Recordset;
class ReportViewer;
}
class Program;

// The report object of the run: created on first use, computed once, then
// shown in the viewer or written to the outputs the command line asked for.
class ReportHost
{
public:
    ReportHost();
    ~ReportHost();

    void show(Program &program);

    const ActiveReport1 *report() const { return m_report.get(); }
    const ReportValues &values() const { return m_values; }
    platform::ReportViewer *viewer() const { return m_viewer.get(); }

private:
    void writeOutputs(Program &program);

    std::unique_ptr<ActiveReport1> m_report;
    ReportValues m_values;
    std::shared_ptr<platform::Recordset> m_stockList;
    std::unique_ptr<platform::ReportViewer> m_viewer;
    bool m_formatted = false;
};

} // namespace zelvan
