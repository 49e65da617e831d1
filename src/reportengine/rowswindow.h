#pragma once

#include "reportengine/rowtable.h"

#include <QWidget>

class QLabel;
class QTableView;

namespace zelvan::platform {
class Clipboard;
class MessageBoxes;
} // namespace zelvan::platform

namespace zelvan::reportengine {

class RowTableModel;
class RowTableSortModel;

// The rows behind one figure in a window of their own, titled with the
// figure's caption: a grid that sorts by any column (a click on its header),
// the total row under it, a warning when the total is not the page's figure,
// and "Kopyala" and "Excel Olarak Kaydet".
class RowsWindow : public QWidget
{
    Q_OBJECT

public:
    // Copies go to `clipboard` and errors to `messages` when given, else to
    // the system clipboard and a QMessageBox.
    RowsWindow(RowTable table, const CellFormats &formats, platform::Clipboard *clipboard = nullptr,
               platform::MessageBoxes *messages = nullptr, QWidget *parent = nullptr);
    ~RowsWindow() override;

    QTableView *view() const { return m_view; }
    const RowTable &table() const;

    // The header and the selected rows (every row and the total when none is
    // selected), in the grid's order, as tab-separated lines as spreadsheets
    // paste them.
    QString copyText() const;
    void copy();
    // Writes the rows as a one-sheet workbook; a failure is shown to the user.
    bool saveWorkbookTo(const QString &path);

private:
    void saveWorkbook();
    void showError(const QString &text);

    RowTableModel *m_model = nullptr;
    RowTableSortModel *m_sorted = nullptr;
    QTableView *m_view = nullptr;
    QLabel *m_warning = nullptr;
    platform::Clipboard *m_clipboard;
    platform::MessageBoxes *m_messages;
};

} // namespace zelvan::reportengine
