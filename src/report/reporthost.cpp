#include "report/reporthost.h"

#include "database/recordset.h"
#include "platform/endnow.h"
#include "platform/messageboxes.h"
#include "program/exitcodes.h"
#include "program/program.h"
#include "program/regionalsettings.h"
#include "report/detailformat.h"
#include "report/figurerows.h"
#include "report/reportoutput.h"
#include "reportengine/reportexport.h"
#include "reportengine/reportviewer.h"
#include "reportengine/rowswindow.h"
#include "reportengine/workbookexport.h"
#include "runtime/err.h"

#include <QCoreApplication>
#include <QTemporaryFile>

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

void ReportHost::format(program::Program &program, ReportValues &values, ItemValuations &valuations)
{
    try {
        Detail_Format(program, values, m_stockList, &valuations);
    } catch (const runtime::Err &e) {
        // An overflow, or text where a number belongs: no page with a wrong figure.
        program.msgBox(QStringLiteral(u"Rapor hazırlanamadı: ") + e.description(), platform::MsgBox::Critical);
        program.end(program::ExitCode::ReportQuery);
    }
    const program::WorkstationFormats formats = program::readWorkstationFormats(program);
    fillPageTexts(*m_report, values, formats);
    m_cellFormats = cellFormats(formats);
    m_identity = ReportIdentity::of(program.vars, values);
    m_identity.describe(m_report->page());
}

void ReportHost::refresh(program::Program &program)
{
    platform::EndNow *programEnd = program.services.exit;
    RefreshEnd refreshEnd;
    program.services.exit = &refreshEnd;
    ReportValues values;
    ItemValuations valuations;
    try {
        format(program, values, valuations);
        m_values = values;
        m_valuations = std::move(valuations);
        // Their rows belong to the figures that were: a double-click reads them anew.
        for (const QPointer<reportengine::RowsWindow> &window : std::as_const(m_rowsWindows))
            delete window.data();
        m_rowsWindows.clear();
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
        format(program, m_values, m_valuations);
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
    QObject::connect(m_viewer.get(), &reportengine::ReportViewer::linkActivated, m_viewer.get(),
                     [this, &program](const QString &field) { openRows(program, field); });
    m_viewer->setWorkbookWriter([this, &program](const QString &path) { saveWorkbook(program, path); });
    // For timing the viewer: the run ends as if the user closed the window once it shows the page.
    if (qEnvironmentVariable("ZELVAN_VIEWER_EXIT_AFTER_SHOW") == u"1")
        QObject::connect(m_viewer.get(), &reportengine::ReportViewer::pageShown, m_viewer.get(), &QWidget::close);
    m_viewer->show();
}

namespace {

const QString RowsUnreadable = QStringLiteral(u"Ayrıntı satırları okunamadı: ");

// Copies what was written to `from` to standard output.
bool copyToStdout(QIODevice &from)
{
    if (!from.seek(0))
        return false;
    char piece[65536];
    qint64 read = 0;
    while ((read = from.read(piece, sizeof piece)) > 0) {
        if (std::fwrite(piece, 1, size_t(read), stdout) != size_t(read))
            return false;
    }
    return read == 0;
}

} // namespace

void ReportHost::writeOutputs(program::Program &program)
{
    // The temporary files are gone once writeFiles returns: ending the run
    // at once runs no destructor.
    const OutputFailure failure = writeFiles(program);
    if (failure.exitCode == 0)
        return;
    if (!failure.message.isEmpty())
        program.msgBox(failure.message, platform::MsgBox::Critical);
    program.end(failure.exitCode);
}

// The rows are read first: the JSON's into a temporary file, the workbook's
// into its own, so that a query that fails leaves no file and no JSON behind.
ReportHost::OutputFailure ReportHost::writeFiles(program::Program &program)
{
    const program::CommandLine &options = program.options;
    const OutputFailure jsonFailed{program::ExitCode::Other, QStringLiteral(u"JSON çıktısı yazılamadı.")};
    QTemporaryFile details;
    QString error;
    try {
        if (options.details) {
            if (!details.open())
                return jsonFailed;
            if (!writeJsonDetails(details, reportFigureRows(program, m_values, &m_valuations)))
                return {program::ExitCode::ReportQuery, QString()};
            if (!details.flush())
                return jsonFailed;
        }
        if (!options.xlsxPath.isEmpty()) {
            const auto figures = reportFigureRows(program, m_values, &m_valuations);
            QList<reportengine::RowSource *> sources;
            for (const auto &figure : figures)
                sources << figure.get();
            switch (reportengine::writeWorkbook(options.xlsxPath, pageSheet(*m_report, m_values), sources, &error)) {
            case reportengine::WorkbookResult::Written:
                break;
            case reportengine::WorkbookResult::RowsUnread:
                return {program::ExitCode::ReportQuery, QString()};
            case reportengine::WorkbookResult::Failed:
                return {program::ExitCode::Other, error};
            }
        }
    } catch (const runtime::Err &e) {
        return {program::ExitCode::ReportQuery, RowsUnreadable + e.description()};
    }
    if (!options.pdfPath.isEmpty() && !reportengine::writePdf(m_report->page(), options.pdfPath, &error))
        return {program::ExitCode::Other, error};
    if (!options.pngPath.isEmpty() && !reportengine::writePng(m_report->page(), options.pngPath, &error))
        return {program::ExitCode::Other, error};
    if (options.json) {
        QByteArray json = reportJson(*m_report, m_values, m_identity);
        if (options.details)
            json.chop(1);  // the object goes on with its details
        if (std::fwrite(json.constData(), 1, size_t(json.size()), stdout) != size_t(json.size())
            || (options.details && (!copyToStdout(details) || std::fputc('}', stdout) == EOF))
            || std::fputc('\n', stdout) == EOF || std::fflush(stdout) != 0)
            return jsonFailed;
    }
    return {};
}

reportengine::RowsWindow *ReportHost::rowsWindow(const QString &field) const
{
    return m_rowsWindows.value(field);
}

void ReportHost::openRows(program::Program &program, const QString &field)
{
    if (reportengine::RowsWindow *open = m_rowsWindows.value(field)) {
        open->raise();
        open->activateWindow();
        return;
    }
    const auto figure = figureRowsOf(program, field, m_values, &m_valuations);
    if (!figure)
        return;
    std::optional<reportengine::RowTable> table;
    try {
        table = reportengine::RowTable::read(*figure);
    } catch (const runtime::Err &e) {
        program.msgBox(RowsUnreadable + e.description(), platform::MsgBox::Critical);
        return;
    }
    if (!table)
        return;  // OpenRecordset has shown why; the report stays open
    auto *window = new reportengine::RowsWindow(std::move(*table), m_cellFormats, program.services.clipboard,
                                                program.services.messages, m_viewer.get());
    m_rowsWindows.insert(field, window);
    window->show();
}

void ReportHost::saveWorkbook(program::Program &program, const QString &path)
{
    const auto figures = reportFigureRows(program, m_values, &m_valuations);
    QList<reportengine::RowSource *> sources;
    for (const auto &figure : figures)
        sources << figure.get();
    QString error;
    try {
        if (reportengine::writeWorkbook(path, pageSheet(*m_report, m_values), sources, &error)
            == reportengine::WorkbookResult::Failed)
            program.msgBox(error, platform::MsgBox::Critical);
    } catch (const runtime::Err &e) {
        program.msgBox(RowsUnreadable + e.description(), platform::MsgBox::Critical);
    }
}

} // namespace zelvan::report
