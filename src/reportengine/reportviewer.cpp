#include "reportengine/reportviewer.h"

#include "platform/messageboxes.h"
#include "reportengine/paperfit.h"
#include "reportengine/reportexport.h"
#include "reportengine/reportpainter.h"
#include "reportengine/savedialog.h"
#include "reportengine/viewersettings.h"

#include <QAction>
#include <QCloseEvent>
#include <QGraphicsRectItem>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

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

    m_preview = new QPrintPreviewWidget(&m_printer, this);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) {
        QPainter painter(printer);
        // On paper other than the page's own (A4 in Turkish offices), scaled down
        // evenly where it does not fit; never cropped.
        const QRectF paper = printer->pageLayout().fullRectPoints();
        const qreal scale = paperFitScale(QSizeF(m_page.pageWidth, m_page.pageHeight) / 20.0, paper.size());
        painter.scale(scale, scale);
        paintPage(painter, m_page);
    });
    buildToolBar();
    addCloseKeys();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_preview, 1);

    m_preview->fitToWidth();

    // The preview draws its pages in a graphics view: its first paint is the
    // page on screen, its mouse and keys reach the page's links, and Ctrl with
    // the wheel over it zooms.
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

void ReportViewer::buildToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // The version, for whoever looks for it; the title stays the report's.
    m_toolBar->setToolTip(QStringLiteral("Zelvan " ZELVAN_VERSION));
    // Lambdas: triggered(bool) would otherwise land in zoomIn's factor argument.
    connect(addToolAction(u"zoomIn"_s, u"Yakınlaştır"_s, u"zoom-in"_s, QStyle::SP_ArrowUp, QKeySequence::ZoomIn),
            &QAction::triggered, this, [this] { zoomBy(1); });
    connect(addToolAction(u"zoomOut"_s, u"Uzaklaştır"_s, u"zoom-out"_s, QStyle::SP_ArrowDown, QKeySequence::ZoomOut),
            &QAction::triggered, this, [this] { zoomBy(-1); });
    m_zoomLabel = new QLabel(m_toolBar);
    m_zoomLabel->setObjectName(u"zoomLabel"_s);
    m_zoomLabel->setToolTip(u"Yakınlık"_s);
    m_zoomLabel->setMinimumWidth(m_zoomLabel->fontMetrics().horizontalAdvance(u"%1000"_s) + 8);
    m_zoomLabel->setAlignment(Qt::AlignCenter);
    m_toolBar->addWidget(m_zoomLabel);
    connect(addToolAction(u"fitWidth"_s, u"Sayfa Genişliği"_s, u"zoom-fit-width"_s, QStyle::SP_ToolBarHorizontalExtensionButton,
                          QKeySequence()),
            &QAction::triggered, this, [this] { m_preview->fitToWidth(); showZoom(); });
    connect(addToolAction(u"fitPage"_s, u"Tüm Sayfa"_s, u"zoom-fit-best"_s, QStyle::SP_TitleBarMaxButton, QKeySequence()),
            &QAction::triggered, this, [this] { m_preview->fitInView(); showZoom(); });
    m_toolBar->addSeparator();
    connect(addToolAction(u"refresh"_s, u"Yenile"_s, u"view-refresh"_s, QStyle::SP_BrowserReload, QKeySequence::Refresh),
            &QAction::triggered, this, &ReportViewer::refreshRequested);
    connect(addToolAction(u"print"_s, u"Yazdır..."_s, u"document-print"_s, QStyle::SP_FileIcon, QKeySequence::Print),
            &QAction::triggered, this, &ReportViewer::print);
    connect(addToolAction(u"exportPdf"_s, u"PDF Olarak Kaydet..."_s, u"document-save-as"_s, QStyle::SP_DialogSaveButton,
                          QKeySequence::Save),
            &QAction::triggered, this, &ReportViewer::exportPdf);
    m_workbookAction = addToolAction(u"exportWorkbook"_s, u"Excel Olarak Kaydet..."_s, u"x-office-spreadsheet"_s,
                                     QStyle::SP_DialogSaveButton, QKeySequence());
    m_workbookAction->setVisible(false);
    connect(m_workbookAction, &QAction::triggered, this, &ReportViewer::exportWorkbook);
}

// Escape, Ctrl+W and Ctrl+Q close the window as its close box does (Ctrl+Q
// by hand: Windows has no standard key for leaving a program).
void ReportViewer::addCloseKeys()
{
    auto *closeAction = new QAction(u"Kapat"_s, this);
    closeAction->setObjectName(u"close"_s);
    closeAction->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::CTRL | Qt::Key_Q)});
    closeAction->setShortcutContext(Qt::WindowShortcut);
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
    addAction(closeAction);
}

QAction *ReportViewer::addToolAction(const QString &objectName, const QString &text, const QString &iconName, int fallbackIcon,
                                     const QKeySequence &shortcut)
{
    // The desktop's icon theme where there is one (Linux), else the style's own pictures (Windows).
    const QIcon icon = QIcon::fromTheme(iconName, style()->standardIcon(QStyle::StandardPixmap(fallbackIcon)));
    QAction *action = m_toolBar->addAction(icon, text);
    action->setObjectName(objectName);
    action->setToolTip(text);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setToolTip(text + u" ("_s + shortcut.toString(QKeySequence::NativeText) + u')');
    }
    return action;
}

void ReportViewer::zoomBy(int steps)
{
    for (; steps > 0; --steps)
        m_preview->zoomIn();
    for (; steps < 0; ++steps)
        m_preview->zoomOut();
    showZoom();
}

QString ReportViewer::zoomText() const
{
    // The percent sign before the number, as Turkish writes it.
    return u"%"_s + QString::number(qRound(m_preview->zoomFactor() * 100));
}

void ReportViewer::showZoom()
{
    m_zoomLabel->setText(zoomText());
}

void ReportViewer::rememberIn(platform::Registry *registry)
{
    m_registry = registry;
    if (!registry)
        return;
    const ViewerSettings settings = ViewerSettings::read(*registry);
    if (settings.windowSize.isValid())
        resize(settings.windowSize);
    if (settings.zoomPercent > 0) {
        m_preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
        m_preview->setZoomFactor(settings.zoomPercent / 100.0);
    }
    showZoom();
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
    const QString path = askSavePath(this, SavedFile::Pdf, m_page.suggestedFileName(u"pdf"_s));
    if (!path.isEmpty())
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
    const QString path = askSavePath(this, SavedFile::Workbook, m_page.suggestedFileName(u"xlsx"_s));
    if (!path.isEmpty() && m_writeWorkbook)
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
    case QEvent::Wheel: {
        const auto *wheel = static_cast<QWheelEvent *>(event);
        if (!(wheel->modifiers() & Qt::ControlModifier))
            return false;
        // One step per notch; a touchpad's small deltas add up to nothing.
        zoomBy(wheel->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep);
        return true;
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

void ReportViewer::pagePainted()
{
    // Fitted zooms change with the window: the shown percentage follows.
    if (m_zoomLabel->text() != zoomText())
        QMetaObject::invokeMethod(this, &ReportViewer::showZoom, Qt::QueuedConnection);
    if (!m_pageShown) {
        m_pageShown = true;
        QMetaObject::invokeMethod(this, &ReportViewer::pageShown, Qt::QueuedConnection);
    }
}

bool ReportViewer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pageView && pageViewKey(event))
        return true;
    if (watched != m_pageArea)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::Paint)
        pagePainted();
    if (pageAreaEvent(event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void ReportViewer::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (!event->isAccepted())
        return;
    if (m_registry) {
        ViewerSettings settings;
        settings.windowSize = size();
        if (m_preview->zoomMode() == QPrintPreviewWidget::CustomZoom)
            settings.zoomPercent = qRound(m_preview->zoomFactor() * 100);
        settings.write(*m_registry);
    }
    emit closed();
}

} // namespace zelvan::reportengine
