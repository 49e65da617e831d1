#pragma once

#include "reportengine/reportlayout.h"

#include <QPrinter>
#include <QWidget>

#include <functional>

class QAction;
class QLabel;
class QGraphicsItem;
class QGraphicsView;
class QPrintPreviewWidget;
class QStyle;
class QToolBar;

namespace zelvan::platform {
class MessageBoxes;
class Registry;
} // namespace zelvan::platform

namespace zelvan::reportengine {

// The report's viewer window: a print preview of the page with zoom, print,
// PDF export and refresh. Its title is the page's title; its client area is
// the page's viewer size at the screen's resolution, or the size the user
// left it at. Escape, Ctrl+W and Ctrl+Q close it; Ctrl with the mouse wheel
// zooms. Printing puts the page on whatever paper the printer has, scaled
// down evenly when it does not fit. Controls with a link are hit through the
// page's own description: over one the pointer is a hand, a click gives it
// the focus (a dotted frame; Tab and Shift+Tab move it), and a double-click or
// Enter activates it.
class ReportViewer : public QWidget
{
    Q_OBJECT

public:
    // Export errors go to `messages` when given, else to a QMessageBox.
    explicit ReportViewer(const ReportPage &page, platform::MessageBoxes *messages = nullptr,
                          QWidget *parent = nullptr);
    ~ReportViewer() override;

    const ReportPage &page() const { return m_page; }
    // Shows another state of the page (for example after its fields changed).
    void setPage(const ReportPage &page);

    QPrintPreviewWidget *preview() const { return m_preview; }
    QPrinter *printer() { return &m_printer; }

    // Writes the page to `path` as PDF; a failure is shown to the user.
    bool exportPdfTo(const QString &path);

    // Takes the window's size and zoom from `registry`, and leaves them there
    // when the window closes.
    void rememberIn(platform::Registry *registry);
    // The zoom as the tool bar shows it: "%100".
    QString zoomText() const;
    // Shows "Excel Olarak Kaydet" on the tool bar: the user picks a file and
    // `write` writes the workbook to it (and tells the user of a failure).
    void setWorkbookWriter(std::function<void(const QString &path)> write);

    // The link under a point of the page area (the preview's viewport), and
    // the area of a link's controls there; empty when none.
    QString linkAt(const QPoint &viewportPos) const;
    QRect linkArea(const QString &link) const;
    // Where a point of the page (twips from its top left corner) is in the page area.
    QPoint toPageArea(const QPoint &pageTwips) const;
    QWidget *pageArea() const { return m_pageArea; }
    QString focusedLink() const { return m_focusedLink; }
    void setFocusedLink(const QString &link);

signals:
    // A control with this link was double-clicked, or Enter pressed on it.
    void linkActivated(const QString &link);
    // The window was closed.
    void closed();
    // The page was painted on screen for the first time (sent once, after the painting).
    void pageShown();
    // The user asked for the figures again ("Yenile", F5): the owner computes
    // them and hands the page back through setPage.
    void refreshRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void print();
    void exportPdf();
    void exportWorkbook();
    QGraphicsItem *pageItem() const;
    void showFocusFrame();
    bool pageAreaEvent(QEvent *event);
    bool pageViewKey(QEvent *event);
    void showError(const QString &text);
    QAction *addToolAction(const QString &objectName, const QString &text, const QString &iconName,
                           int fallbackIcon, const QKeySequence &shortcut);
    void buildToolBar();
    void addCloseKeys();
    void zoomBy(int steps);
    void pagePainted();
    void showZoom();

    ReportPage m_page;
    platform::MessageBoxes *m_messages;
    QPrinter m_printer;
    QPrintPreviewWidget *m_preview = nullptr;
    QToolBar *m_toolBar = nullptr;
    QGraphicsView *m_pageView = nullptr;
    QWidget *m_pageArea = nullptr;
    QLabel *m_zoomLabel = nullptr;
    platform::Registry *m_registry = nullptr;
    bool m_pageShown = false;
    QAction *m_workbookAction = nullptr;
    std::function<void(const QString &)> m_writeWorkbook;
    QString m_focusedLink;
};

} // namespace zelvan::reportengine
