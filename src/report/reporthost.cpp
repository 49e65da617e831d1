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

void ReportHost::show(program::Program &program)
{
    if (!m_report)
        m_report = std::make_unique<ActiveReport1>();

    // The Detail section is formatted once per report object.
    if (!m_formatted) {
        m_formatted = true;
        try {
            Detail_Format(program, m_values, m_stockList);
        } catch (const runtime::Err &e) {
            // An overflow, or text where a number belongs: no page with a wrong figure.
            program.msgBox(QStringLiteral(u"Rapor hazırlanamadı: ") + e.description(), platform::MsgBox::Critical);
            program.end(program::ExitCode::ReportQuery);
        }
        fillPageTexts(*m_report, m_values, program::readWorkstationFormats(program));
        m_identity = ReportIdentity::of(program.vars, m_values);
        m_identity.describe(m_report->page());
    }

    if (program.options.headless()) {
        writeOutputs(program);
        return;
    }
    m_viewer = std::make_unique<reportengine::ReportViewer>(m_report->page(), program.services.messages);
    QObject::connect(m_viewer.get(), &reportengine::ReportViewer::closed, [] { QCoreApplication::exit(0); });
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
