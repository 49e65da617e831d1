#include "reportengine/workbookexport.h"

#include "platform/replacefile.h"
#include "runtime/err.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::reportengine {

using runtime::Variant;

namespace {

constexpr int MaxText = 32767;  // characters in one cell

struct WorkbookFree
{
    void operator()(lxw_workbook *workbook) const { lxw_workbook_free(workbook); }
};
using WorkbookPtr = std::unique_ptr<lxw_workbook, WorkbookFree>;

// The cell formats of one workbook.
struct Formats
{
    explicit Formats(lxw_workbook *wb)
        : bold(workbook_add_format(wb))
        , amount(workbook_add_format(wb))
        , boldAmount(workbook_add_format(wb))
        , date(workbook_add_format(wb))
        , dateTime(workbook_add_format(wb))
        , time(workbook_add_format(wb))
    {
        format_set_bold(bold);
        format_set_num_format(amount, "#,##0.00");
        format_set_num_format(boldAmount, "#,##0.00");
        format_set_bold(boldAmount);
        format_set_num_format(date, "dd.mm.yyyy");
        format_set_num_format(dateTime, "dd.mm.yyyy hh:mm:ss");
        format_set_num_format(time, "hh:mm:ss");
    }
    lxw_format *bold;
    lxw_format *amount;
    lxw_format *boldAmount;
    lxw_format *date;
    lxw_format *dateTime;
    lxw_format *time;
};

void writeText(lxw_worksheet *ws, lxw_row_t row, lxw_col_t col, const QString &text, lxw_format *format)
{
    worksheet_write_string(ws, row, col, text.left(MaxText).toUtf8().constData(), format);
}

void writeDate(lxw_worksheet *ws, lxw_row_t row, lxw_col_t col, const Variant &cell, const Formats &formats)
{
    const double ole = cell.doubleValue();
    if (ole >= 0 && ole < 1) {  // a time of day alone
        worksheet_write_number(ws, row, col, ole, formats.time);
        return;
    }
    const QDateTime when = cell.toDateTime();
    if (when.date().year() < 1900) {  // before the spreadsheet's first day
        writeText(ws, row, col, cell.toString(), nullptr);
        return;
    }
    const QTime t = when.time();
    lxw_datetime dt{when.date().year(), when.date().month(), when.date().day(), t.hour(), t.minute(),
                    t.second() + t.msec() / 1000.0};
    worksheet_write_datetime(ws, row, col, &dt, t == QTime(0, 0) ? formats.date : formats.dateTime);
}

void writeCell(lxw_worksheet *ws, lxw_row_t row, lxw_col_t col, const Variant &cell, const Formats &formats,
               bool bold = false)
{
    try {
        switch (cell.type()) {
        case Variant::Type::Empty:
        case Variant::Type::Null:
            return;
        case Variant::Type::Boolean:
            worksheet_write_boolean(ws, row, col, cell.boolValue(), nullptr);
            return;
        case Variant::Type::Byte:
        case Variant::Type::Integer:
        case Variant::Type::Long:
            worksheet_write_number(ws, row, col, double(cell.intValue()), nullptr);
            return;
        case Variant::Type::Currency:
        case Variant::Type::Decimal:
        case Variant::Type::Double:
            worksheet_write_number(ws, row, col, cell.toDouble(), bold ? formats.boldAmount : formats.amount);
            return;
        case Variant::Type::Date:
            writeDate(ws, row, col, cell, formats);
            return;
        case Variant::Type::String:
            writeText(ws, row, col, cell.stringValue(), bold ? formats.bold : nullptr);
            return;
        }
    } catch (const runtime::Err &) {
        // A date beyond the runtime's range stays a blank cell.
    }
}

// "B3:B102": the rows of one column.
QByteArray columnRange(lxw_row_t first, lxw_row_t last, lxw_col_t col)
{
    char range[64];
    lxw_rowcol_to_range(range, first, col, last, col);
    return QByteArray(range);
}

void setColumnWidths(lxw_worksheet *ws, const QStringList &columns, int amountColumn)
{
    for (int i = 0; i < columns.size(); ++i) {
        const double width = i == amountColumn ? 18 : std::clamp(double(columns[i].size()) + 4, 12.0, 40.0);
        worksheet_set_column(ws, lxw_col_t(i), lxw_col_t(i), width, nullptr);
    }
}

// The last rows of a figure's sheet: its total, and the figure when the total is not it.
void writeTotal(lxw_worksheet *ws, lxw_row_t row, lxw_row_t firstRow, int amountColumn, const Variant &total,
                const RowSource &source, const Formats &formats)
{
    const lxw_col_t labelColumn = amountColumn == 0 ? 1 : 0;
    writeText(ws, row, labelColumn, u"Toplam"_s, formats.bold);
    if (amountColumn >= 0) {
        const lxw_col_t col = lxw_col_t(amountColumn);
        if (row > firstRow) {
            const QByteArray formula = "=ABS(SUM(" + columnRange(firstRow, row - 1, col) + "))";
            worksheet_write_formula_num(ws, row, col, formula.constData(), formats.boldAmount, total.toDouble());
        } else {
            worksheet_write_number(ws, row, col, 0, formats.boldAmount);
        }
    }
    const Variant figure = source.figure();
    if (amountColumn >= 0 && Variant::compare(total, figure).value_or(1) != 0) {
        writeText(ws, row + 1, labelColumn, u"Rapordaki tutar"_s, formats.bold);
        writeCell(ws, row + 1, lxw_col_t(amountColumn), figure, formats, true);
        writeText(ws, row + 2, labelColumn, u"Rapor hazırlandıktan sonra veriler değişmiş: satırların toplamı rapordaki tutarı tutmuyor."_s,
                  nullptr);
    }
}

// A sheet named after `caption`; when that name is taken (two captions alike
// in their first 31 characters) the library's own "SheetN".
lxw_worksheet *addSheet(lxw_workbook *wb, const QString &caption)
{
    const QByteArray name = sheetName(caption).toUtf8();
    lxw_worksheet *ws = workbook_get_worksheet_by_name(wb, name.constData()) ? nullptr
                                                                             : workbook_add_worksheet(wb, name.constData());
    return ws ? ws : workbook_add_worksheet(wb, nullptr);
}

// One figure's sheet; false when its rows could not be read.
bool writeSourceSheet(lxw_workbook *wb, RowSource &source, const Formats &formats)
{
    if (!source.open())
        return false;
    lxw_worksheet *ws = addSheet(wb, source.caption());
    const QStringList columns = source.columns();
    const int amountColumn = source.amountColumn();
    setColumnWidths(ws, columns, amountColumn);
    worksheet_freeze_panes(ws, 2, 0);
    writeText(ws, 0, 0, source.caption(), formats.bold);
    for (int i = 0; i < columns.size(); ++i)
        writeText(ws, 1, lxw_col_t(i), columns[i], formats.bold);
    constexpr lxw_row_t FirstRow = 2;
    lxw_row_t row = FirstRow;
    AmountTotal total;
    Row cells;
    while (source.next(cells)) {
        for (size_t i = 0; i < cells.size(); ++i)
            writeCell(ws, row, lxw_col_t(i), cells[i], formats);
        if (amountColumn >= 0 && size_t(amountColumn) < cells.size())
            total.add(cells[size_t(amountColumn)]);
        ++row;
    }
    writeTotal(ws, row, FirstRow, amountColumn, total.value(), source, formats);
    return true;
}

// Columns as wide as their texts; amounts as wide as large sums need; empty ones narrow.
void setFrontWidths(lxw_worksheet *ws, const SheetCells &front)
{
    QList<double> widths;
    for (const QList<Variant> &cells : front.rows) {
        if (cells.size() > widths.size())
            widths.resize(cells.size(), 4);
        for (qsizetype col = 0; col < cells.size(); ++col) {
            const Variant &cell = cells[col];
            const double width = cell.type() == Variant::Type::String ? cell.stringValue().size() + 2.0
                                 : cell.isEmpty()                      ? 4.0
                                                                       : 18.0;
            widths[col] = std::max(widths[col], width);
        }
    }
    for (qsizetype col = 0; col < widths.size(); ++col)
        worksheet_set_column(ws, lxw_col_t(col), lxw_col_t(col), std::min(widths[col], 60.0), nullptr);
}

void writeFrontSheet(lxw_workbook *wb, const SheetCells &front, const Formats &formats)
{
    lxw_worksheet *ws = addSheet(wb, front.name);
    setFrontWidths(ws, front);
    for (qsizetype row = 0; row < front.rows.size(); ++row) {
        for (qsizetype col = 0; col < front.rows[row].size(); ++col)
            writeCell(ws, lxw_row_t(row), lxw_col_t(col), front.rows[row][col], formats, front.boldRows.contains(int(row)));
    }
}

} // namespace

QString sheetName(const QString &caption)
{
    QString name = caption;
    for (QChar &ch : name) {
        if (u"[]:*?/\\"_s.contains(ch))
            ch = u' ';
    }
    return name.left(31);
}

WorkbookResult writeWorkbook(const QString &path, const SheetCells &front, const QList<RowSource *> &sources,
                             QString *errorText)
{
    const auto fail = [&](const QString &reason) {
        if (errorText)
            *errorText = u"Excel dosyası yazılamadı: %1: %2"_s.arg(QDir::toNativeSeparators(path), reason);
        return WorkbookResult::Failed;
    };
    // The library writes the whole file under a name of its own; ours is replaced from it at the end.
    QTemporaryFile made(QDir(QDir::tempPath()).filePath(u"zelvan-XXXXXX.xlsx"_s));
    if (!made.open())
        return fail(made.errorString());
    made.close();
    QByteArray tmpdir = QFile::encodeName(QDir::tempPath());
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmpdir.data();
    WorkbookPtr workbook(workbook_new_opt(QFile::encodeName(made.fileName()).constData(), &options));
    if (!workbook)
        return fail(u"çalışma kitabı oluşturulamadı"_s);
    const Formats formats(workbook.get());
    if (!front.name.isEmpty())
        writeFrontSheet(workbook.get(), front, formats);
    for (RowSource *source : sources) {
        if (!writeSourceSheet(workbook.get(), *source, formats))
            return WorkbookResult::RowsUnread;
    }
    const lxw_error closed = workbook_close(workbook.release());
    if (closed != LXW_NO_ERROR)
        return fail(QString::fromUtf8(lxw_strerror(closed)));
    if (!made.open())
        return fail(made.errorString());
    const QString reason = platform::replaceFileContents(path, made);
    return reason.isEmpty() ? WorkbookResult::Written : fail(reason);
}

} // namespace zelvan::reportengine
