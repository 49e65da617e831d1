#include "reportengine/reportviewer.h"

#include "platform/messageboxes.h"
#include "reportengine/reportexport.h"
#include "reportengine/reportpainter.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsView>
#include <QIcon>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QToolBar>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::reportengine {

ReportViewer::ReportViewer(const ReportPage &page, platform::MessageBoxes *messages, QWidget *parent)
    : QWidget(parent)
    , m_page(page)
    , m_messages(messages)
    , m_printer(QPrinter::HighResolution)
{
    setWindowTitle(m_page.title());

    // Our margins are drawn by the page itself: the printer gets the bare paper.
    // Full page after the layout, which would reset it.
    m_printer.setPageLayout(reportPageLayout(m_page));
    m_printer.setFullPage(true);
    m_printer.setDocName(m_page.title());

    m_toolBar = new QToolBar(this);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // The version, for whoever looks for it; the title stays the report's.
    m_toolBar->setToolTip(QStringLiteral("Zelvan " ZELVAN_VERSION));
    m_preview = new QPrintPreviewWidget(&m_printer, this);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) {
        QPainter painter(printer);
        paintPage(painter, m_page);
    });

    // Lambdas: triggered(bool) would otherwise land in zoomIn's factor argument.
    connect(addToolAction(u"zoomIn"_s, u"Yakınlaştır"_s, u"zoom-in"_s, QKeySequence::ZoomIn),
            &QAction::triggered, m_preview, [this] { m_preview->zoomIn(); });
    connect(addToolAction(u"zoomOut"_s, u"Uzaklaştır"_s, u"zoom-out"_s, QKeySequence::ZoomOut),
            &QAction::triggered, m_preview, [this] { m_preview->zoomOut(); });
    connect(addToolAction(u"fitWidth"_s, u"Sayfa Genişliği"_s, u"zoom-fit-width"_s, QKeySequence()),
            &QAction::triggered, m_preview, &QPrintPreviewWidget::fitToWidth);
    connect(addToolAction(u"fitPage"_s, u"Tüm Sayfa"_s, u"zoom-fit-best"_s, QKeySequence()),
            &QAction::triggered, m_preview, &QPrintPreviewWidget::fitInView);
    m_toolBar->addSeparator();
    connect(addToolAction(u"print"_s, u"Yazdır..."_s, u"document-print"_s, QKeySequence::Print),
            &QAction::triggered, this, &ReportViewer::print);
    connect(addToolAction(u"exportPdf"_s, u"PDF Olarak Kaydet..."_s, u"document-save-as"_s,
                          QKeySequence::Save),
            &QAction::triggered, this, &ReportViewer::exportPdf);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_preview, 1);

    m_preview->fitToWidth();

    // The preview draws its pages in a graphics view: its first paint is the page on screen.
    if (auto *view = m_preview->findChild<QGraphicsView *>()) {
        m_pageArea = view->viewport();
        m_pageArea->installEventFilter(this);
    }

    if (m_page.viewerWidth > 0 && m_page.viewerHeight > 0) {
        resize(qRound(m_page.viewerWidth * logicalDpiX() / double(TwipsPerInch)),
               qRound(m_page.viewerHeight * logicalDpiY() / double(TwipsPerInch)));
    }
}

ReportViewer::~ReportViewer()
{
    // The preview refers to the printer, which is destroyed before the children.
    delete m_preview;
}

QAction *ReportViewer::addToolAction(const QString &objectName, const QString &text,
                                     const QString &iconName, const QKeySequence &shortcut)
{
    QAction *action = m_toolBar->addAction(QIcon::fromTheme(iconName), text);
    action->setObjectName(objectName);
    action->setToolTip(text);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

void ReportViewer::setPage(const ReportPage &page)
{
    m_page = page;
    setWindowTitle(m_page.title());
    m_printer.setDocName(m_page.title());
    m_preview->updatePreview();
}

void ReportViewer::print()
{
    QPrintDialog dialog(&m_printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The dialog may hand back a printer with its margins; the page draws its own.
    m_printer.setFullPage(true);
    m_preview->print();
    m_preview->updatePreview();
}

void ReportViewer::exportPdf()
{
    const QString suggested = QDir::home().filePath(m_page.suggestedFileName(u"pdf"_s));
    QString path = QFileDialog::getSaveFileName(this, u"PDF Olarak Kaydet"_s, suggested,
                                                u"PDF dosyaları (*.pdf)"_s);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += u".pdf"_s;
    exportPdfTo(path);
}

bool ReportViewer::exportPdfTo(const QString &path)
{
    QString error;
    if (writePdf(m_page, path, &error))
        return true;
    showError(error);
    return false;
}

void ReportViewer::showError(const QString &text)
{
    if (m_messages)
        m_messages->show(text, platform::MsgBox::OkOnly | platform::MsgBox::Critical, m_page.caption);
    else
        QMessageBox::critical(this, m_page.caption, text);
}

bool ReportViewer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pageArea && event->type() == QEvent::Paint && !m_pageShown) {
        m_pageShown = true;
        QMetaObject::invokeMethod(this, &ReportViewer::pageShown, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

void ReportViewer::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

} // namespace zelvan::reportengine
