#include "report/reporthost.h"

#include "database/recordset.h"
#include "platform/endnow.h"
#include "platform/messageboxes.h"
#include "program/exitcodes.h"
#include "program/program.h"
#include "program/regionalsettings.h"
#include "report/detailformat.h"
#include "report/reportoutput.h"
#include "reportengine/reportexport.h"
#include "reportengine/reportviewer.h"
#include "runtime/err.h"

#include <QCoreApplication>

#include <cstdio>

namespace zelvan::report {

ReportHost::ReportHost() = default;
ReportHost::~ReportHost() = default;

namespace {

// Ending "at once" while the viewer is open means giving up the refresh only:
// the figures shown stay, and so does the window.
class RefreshEnd : public platform::EndNow
{
public:
    [[noreturn]] void endNow(int exitCode) override { throw platform::ProgramEnded{exitCode}; }
};

} // namespace

void ReportHost::format(program::Program &program, ReportValues &values)
{
    try {
        Detail_Format(program, values, m_stockList);
    } catch (const runtime::Err &e) {
        // An overflow, or text where a number belongs: no page with a wrong figure.
        program.msgBox(QStringLiteral(u"Rapor hazırlanamadı: ") + e.description(), platform::MsgBox::Critical);
        program.end(program::ExitCode::ReportQuery);
    }
    fillPageTexts(*m_report, values, program::readWorkstationFormats(program));
    m_identity = ReportIdentity::of(program.vars, values);
    m_identity.describe(m_report->page());
}

void ReportHost::refresh(program::Program &program)
{
    platform::EndNow *programEnd = program.services.exit;
    RefreshEnd refreshEnd;
    program.services.exit = &refreshEnd;
    ReportValues values;
    try {
        format(program, values);
        m_values = values;
    } catch (const platform::ProgramEnded &) {
        // The messages were shown; the page keeps the figures it had.
    }
    program.services.exit = programEnd;
    m_viewer->setPage(m_report->page());
}

void ReportHost::show(program::Program &program)
{
    if (!m_report)
        m_report = std::make_unique<ActiveReport1>();

    // The Detail section is formatted once per report object.
    if (!m_formatted) {
        m_formatted = true;
        format(program, m_values);
    }

    if (program.options.headless()) {
        writeOutputs(program);
        return;
    }
    m_viewer = std::make_unique<reportengine::ReportViewer>(m_report->page(), program.services.messages);
    m_viewer->rememberIn(program.services.registry);
    QObject::connect(m_viewer.get(), &reportengine::ReportViewer::closed, [] { QCoreApplication::exit(0); });
    QObject::connect(m_viewer.get(), &reportengine::ReportViewer::refreshRequested, m_viewer.get(),
                     [this, &program] { refresh(program); });
    // For timing the viewer: the run ends as if the user closed the window once it shows the page.
    if (qEnvironmentVariable("ZELVAN_VIEWER_EXIT_AFTER_SHOW") == u"1")
        QObject::connect(m_viewer.get(), &reportengine::ReportViewer::pageShown, m_viewer.get(), &QWidget::close);
    m_viewer->show();
}

void ReportHost::writeOutputs(program::Program &program)
{
    const auto fail = [&program](const QString &error) {
        program.msgBox(error, platform::MsgBox::Critical);
        program.end(program::ExitCode::Other);
    };
    QString error;
    if (!program.options.pdfPath.isEmpty() && !reportengine::writePdf(m_report->page(), program.options.pdfPath, &error))
        fail(error);
    if (!program.options.pngPath.isEmpty() && !reportengine::writePng(m_report->page(), program.options.pngPath, &error))
        fail(error);
    if (program.options.json) {
        const QByteArray json = reportJson(*m_report, m_values, m_identity) + '\n';
        if (std::fwrite(json.constData(), 1, size_t(json.size()), stdout) != size_t(json.size()) || std::fflush(stdout) != 0)
            fail(QStringLiteral(u"JSON çıktısı yazılamadı."));
    }
}

} // namespace zelvan::report
