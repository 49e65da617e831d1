#pragma once

#include "reportengine/reportlayout.h"

#include <QPrinter>
#include <QWidget>

class QAction;
class QPrintPreviewWidget;
class QToolBar;

namespace zelvan::platform {
class MessageBoxes;
} // namespace zelvan::platform

namespace zelvan::reportengine {

// The report's viewer window: a print preview of the page with zoom, print
// and PDF export. Its title is the page's caption; its client area is the
// page's viewer size at the screen's resolution.
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

signals:
    // The window was closed.
    void closed();
    // The page was painted on screen for the first time (sent once, after the painting).
    void pageShown();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void print();
    void exportPdf();
    void showError(const QString &text);
    QAction *addToolAction(const QString &objectName, const QString &text, const QString &iconName,
                           const QKeySequence &shortcut);

    ReportPage m_page;
    platform::MessageBoxes *m_messages;
    QPrinter m_printer;
    QPrintPreviewWidget *m_preview = nullptr;
    QToolBar *m_toolBar = nullptr;
    QWidget *m_pageArea = nullptr;
    bool m_pageShown = false;
};

} // namespace zelvan::reportengine
