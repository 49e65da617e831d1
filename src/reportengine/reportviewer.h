#pragma once

#include "reportengine/reportlayout.h"

#include <QPrinter>
#include <QWidget>

class QAction;
class QLabel;
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
// down evenly when it does not fit.
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

signals:
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
    void showError(const QString &text);
    QAction *addToolAction(const QString &objectName, const QString &text, const QString &iconName,
                           int fallbackIcon, const QKeySequence &shortcut);
    void buildToolBar();
    void addCloseKeys();
    void zoomBy(int steps);
    void showZoom();

    ReportPage m_page;
    platform::MessageBoxes *m_messages;
    QPrinter m_printer;
    QPrintPreviewWidget *m_preview = nullptr;
    QToolBar *m_toolBar = nullptr;
    QWidget *m_pageArea = nullptr;
    QLabel *m_zoomLabel = nullptr;
    platform::Registry *m_registry = nullptr;
    bool m_pageShown = false;
};

} // namespace zelvan::reportengine
