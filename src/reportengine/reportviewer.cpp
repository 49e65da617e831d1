#include "reportengine/reportviewer.h"

#include "platform/messageboxes.h"
#include "reportengine/reportexport.h"
#include "reportengine/reportpainter.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsRectItem>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QMouseEvent>
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
    setWindowTitle(m_page.caption);

    // Our margins are drawn by the page itself: the printer gets the bare paper.
    // Full page after the layout, which would reset it.
    m_printer.setPageLayout(reportPageLayout(m_page));
    m_printer.setFullPage(true);
    m_printer.setDocName(m_page.caption);

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
    m_workbookAction = addToolAction(u"exportWorkbook"_s, u"Excel Olarak Kaydet..."_s, u"x-office-spreadsheet"_s,
                                     QKeySequence());
    m_workbookAction->setVisible(false);
    connect(m_workbookAction, &QAction::triggered, this, &ReportViewer::exportWorkbook);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_preview, 1);

    m_preview->fitToWidth();

    // The preview draws its pages in a graphics view: its first paint is the
    // page on screen, and its mouse and keys reach the page's links.
    if ((m_pageView = m_preview->findChild<QGraphicsView *>())) {
        m_pageArea = m_pageView->viewport();
        m_pageArea->installEventFilter(this);
        m_pageArea->setMouseTracking(true);
        m_pageView->installEventFilter(this);
    }
    // A new preview (after printing, or another page) has a new page item: the frame goes on it again.
    connect(m_preview, &QPrintPreviewWidget::previewChanged, this, &ReportViewer::showFocusFrame);

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
    setWindowTitle(m_page.caption);
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
    const QString suggested = QDir::home().filePath(m_page.caption + u".pdf"_s);
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

void ReportViewer::setWorkbookWriter(std::function<void(const QString &)> write)
{
    m_writeWorkbook = std::move(write);
    m_workbookAction->setVisible(bool(m_writeWorkbook));
}

void ReportViewer::exportWorkbook()
{
    const QString suggested = QDir::home().filePath(m_page.caption + u".xlsx"_s);
    QString path = QFileDialog::getSaveFileName(this, u"Excel Olarak Kaydet"_s, suggested,
                                                u"Excel çalışma kitapları (*.xlsx)"_s);
    if (path.isEmpty() || !m_writeWorkbook)
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += u".xlsx"_s;
    m_writeWorkbook(path);
}

// The preview's page: the scene's one top-level item (our frame is its child).
QGraphicsItem *ReportViewer::pageItem() const
{
    if (!m_pageView || !m_pageView->scene())
        return nullptr;
    for (QGraphicsItem *item : m_pageView->scene()->items()) {
        if (!item->parentItem())
            return item;
    }
    return nullptr;
}

// The page item's coordinates are the printer's device pixels from the paper's corner.
QString ReportViewer::linkAt(const QPoint &viewportPos) const
{
    const QGraphicsItem *page = pageItem();
    if (!page)
        return QString();
    const QPointF pixels = page->mapFromScene(m_pageView->mapToScene(viewportPos));
    const double twipsPerPixel = double(TwipsPerInch) / m_printer.resolution();
    return m_page.linkAt((pixels * twipsPerPixel).toPoint());
}

QPoint ReportViewer::toPageArea(const QPoint &pageTwips) const
{
    const QGraphicsItem *page = pageItem();
    if (!page)
        return QPoint();
    const QPointF pixels = QPointF(pageTwips) * (m_printer.resolution() / double(TwipsPerInch));
    return m_pageView->mapFromScene(page->mapToScene(pixels));
}

QRect ReportViewer::linkArea(const QString &link) const
{
    const QGraphicsItem *page = pageItem();
    const QRect twips = m_page.linkRect(link);
    if (!page || twips.isEmpty())
        return QRect();
    const double pixelsPerTwip = m_printer.resolution() / double(TwipsPerInch);
    const QRectF pixels(twips.topLeft() * pixelsPerTwip, twips.size() * pixelsPerTwip);
    return m_pageView->mapFromScene(page->mapToScene(pixels)).boundingRect();
}

void ReportViewer::setFocusedLink(const QString &link)
{
    m_focusedLink = link;
    showFocusFrame();
}

void ReportViewer::showFocusFrame()
{
    QGraphicsItem *page = pageItem();
    if (!page)
        return;
    for (QGraphicsItem *child : page->childItems())
        delete child;
    const QRect twips = m_page.linkRect(m_focusedLink);
    if (twips.isEmpty())
        return;
    const double pixelsPerTwip = m_printer.resolution() / double(TwipsPerInch);
    const QRectF box(twips.topLeft() * pixelsPerTwip, twips.size() * pixelsPerTwip);
    auto *frame = new QGraphicsRectItem(box.adjusted(-20, -10, 20, 10), page);
    QPen pen(QColor(0, 90, 200), 0, Qt::DotLine);
    pen.setCosmetic(true);
    frame->setPen(pen);
}

bool ReportViewer::pageAreaEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove: {
        // With a button held the preview drags the page; without, the pointer says what a click would do.
        const auto *move = static_cast<QMouseEvent *>(event);
        if (move->buttons() != Qt::NoButton)
            return false;
        const bool overLink = !linkAt(move->position().toPoint()).isEmpty();
        const bool dragging = m_pageView->dragMode() == QGraphicsView::ScrollHandDrag;
        m_pageArea->setCursor(overLink ? Qt::PointingHandCursor : dragging ? Qt::OpenHandCursor : Qt::ArrowCursor);
        return true;
    }
    case QEvent::MouseButtonPress: {
        const QString link = linkAt(static_cast<QMouseEvent *>(event)->position().toPoint());
        setFocusedLink(link);
        return false;
    }
    case QEvent::MouseButtonDblClick: {
        const QString link = linkAt(static_cast<QMouseEvent *>(event)->position().toPoint());
        if (link.isEmpty())
            return false;
        setFocusedLink(link);
        emit linkActivated(link);
        return true;
    }
    default:
        return false;
    }
}

bool ReportViewer::pageViewKey(QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const QStringList links = m_page.links();
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !m_focusedLink.isEmpty()) {
        emit linkActivated(m_focusedLink);
        return true;
    }
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && !links.isEmpty()) {
        const int step = key->key() == Qt::Key_Backtab ? -1 : 1;
        const qsizetype at = links.indexOf(m_focusedLink);
        const qsizetype next = at < 0 ? (step > 0 ? 0 : links.size() - 1) : (at + step + links.size()) % links.size();
        setFocusedLink(links[next]);
        return true;
    }
    return false;
}

bool ReportViewer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pageArea && event->type() == QEvent::Paint && !m_pageShown) {
        m_pageShown = true;
        QMetaObject::invokeMethod(this, &ReportViewer::pageShown, Qt::QueuedConnection);
    }
    if (watched == m_pageArea && pageAreaEvent(event))
        return true;
    if (watched == m_pageView && pageViewKey(event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void ReportViewer::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

} // namespace zelvan::reportengine
