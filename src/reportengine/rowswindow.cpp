#include "reportengine/rowswindow.h"

#include "platform/clipboard.h"
#include "platform/messageboxes.h"
#include "reportengine/rowtablemodel.h"
#include "reportengine/savedialog.h"
#include "reportengine/workbookexport.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <set>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::reportengine {

namespace {

// A cell as spreadsheets read pasted text: quoted when it holds a tab, a line break or a quote.
QString pastedCell(const QString &text)
{
    if (!text.contains(u'\t') && !text.contains(u'\n') && !text.contains(u'\r') && !text.contains(u'"'))
        return text;
    return u'"' + QString(text).replace(u"\""_s, u"\"\""_s) + u'"';
}

QPushButton *addButton(QHBoxLayout *row, const QString &objectName, const QString &text)
{
    auto *button = new QPushButton(text);
    button->setObjectName(objectName);
    row->addWidget(button);
    return button;
}

} // namespace

RowsWindow::RowsWindow(RowTable table, const CellFormats &formats, platform::Clipboard *clipboard,
                       platform::MessageBoxes *messages, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_clipboard(clipboard)
    , m_messages(messages)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(table.caption);
    const bool differs = table.totalDiffers();
    const QString warning = u"Satırların toplamı (%1) rapordaki tutarı (%2) tutmuyor: veriler rapor hazırlandıktan sonra değişmiş."_s
                                .arg(cellText(table.total, formats), cellText(table.figure, formats));

    m_model = new RowTableModel(std::move(table), formats, this);
    m_sorted = new RowTableSortModel(this);
    m_sorted->setSourceModel(m_model);
    m_view = new QTableView(this);
    m_view->setModel(m_sorted);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(-1, Qt::AscendingOrder);  // the rows' own order until a header is clicked
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setAlternatingRowColors(true);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->resizeColumnsToContents();

    m_warning = new QLabel(warning, this);
    m_warning->setObjectName(u"totalWarning"_s);
    m_warning->setStyleSheet(u"color: #b00000;"_s);
    m_warning->setWordWrap(true);
    m_warning->setVisible(differs);

    auto *buttons = new QHBoxLayout;
    // The total under the grid as well, where it shows without scrolling to the last row.
    auto *count = new QLabel(u"%1 satır, toplam %2"_s.arg(m_model->table().rows.size())
                                 .arg(cellText(m_model->table().total, formats)), this);
    count->setObjectName(u"rowCount"_s);
    buttons->addWidget(count);
    buttons->addStretch(1);
    connect(addButton(buttons, u"copy"_s, u"Kopyala"_s), &QPushButton::clicked, this, &RowsWindow::copy);
    connect(addButton(buttons, u"saveWorkbook"_s, u"Excel Olarak Kaydet..."_s), &QPushButton::clicked, this,
            &RowsWindow::saveWorkbook);
    connect(addButton(buttons, u"close"_s, u"Kapat"_s), &QPushButton::clicked, this, &QWidget::close);

    auto *copyAction = new QAction(this);
    copyAction->setShortcut(QKeySequence::Copy);
    connect(copyAction, &QAction::triggered, this, &RowsWindow::copy);
    auto *closeAction = new QAction(this);
    closeAction->setShortcut(Qt::Key_Escape);
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
    addActions({copyAction, closeAction});

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_warning);
    layout->addLayout(buttons);
    resize(900, 560);
}

RowsWindow::~RowsWindow() = default;

const RowTable &RowsWindow::table() const
{
    return m_model->table();
}

QString RowsWindow::copyText() const
{
    std::set<int> chosen;
    for (const QModelIndex &index : m_view->selectionModel()->selectedIndexes())
        chosen.insert(index.row());
    const int columns = m_sorted->columnCount();
    QStringList lines;
    QStringList cells;
    for (int c = 0; c < columns; ++c)
        cells << pastedCell(m_sorted->headerData(c, Qt::Horizontal).toString());
    lines << cells.join(u'\t');
    for (int r = 0; r < m_sorted->rowCount(); ++r) {
        if (!chosen.empty() && !chosen.count(r))
            continue;
        cells.clear();
        for (int c = 0; c < columns; ++c)
            cells << pastedCell(m_sorted->index(r, c).data().toString());
        lines << cells.join(u'\t');
    }
    return lines.join(u'\n') + u'\n';
}

void RowsWindow::copy()
{
    const QString text = copyText();
    if (m_clipboard)
        m_clipboard->setText(text);
    else
        QGuiApplication::clipboard()->setText(text);
}

void RowsWindow::saveWorkbook()
{
    const QString path = askSavePath(this, SavedFile::Workbook, sheetName(windowTitle()).trimmed() + u".xlsx"_s);
    if (!path.isEmpty())
        saveWorkbookTo(path);
}

bool RowsWindow::saveWorkbookTo(const QString &path)
{
    TableRowSource rows(m_model->table());
    QString error;
    if (writeWorkbook(path, SheetCells(), {&rows}, &error) == WorkbookResult::Written)
        return true;
    showError(error);
    return false;
}

void RowsWindow::showError(const QString &text)
{
    if (m_messages)
        m_messages->show(text, platform::MsgBox::OkOnly | platform::MsgBox::Critical, windowTitle());
    else
        QMessageBox::critical(this, windowTitle(), text);
}

} // namespace zelvan::reportengine
