#include "reportengine/workbookexport.h"

#include "platform/replacefile.h"
#include "reportengine/spreadsheetml.h"
#include "reportengine/zipwriter.h"

#include <QDir>
#include <QTemporaryFile>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::reportengine {

using runtime::Variant;
using spreadsheetml::Style;

namespace {

constexpr qsizetype ChunkBytes = 1 << 20;  // handed to the archive's thread at a time
constexpr int FirstRow = 2;                // of a figure's rows, below its caption and the column names
constexpr int SheetRows = 1048576;         // the most a sheet holds
constexpr int TotalRows = 4;               // kept free below the rows for the total and its notes
constexpr size_t WidthSampleRows = 100;    // read before a sheet begins, for its column widths

// One worksheet's XML on its way into the archive, made row by row.
class SheetStream
{
public:
    SheetStream(ZipWriter &zip, qsizetype sheet, const QList<double> &widths, int frozenRows)
        : m_zip(zip)
    {
        m_zip.beginEntry(spreadsheetml::worksheetPath(sheet));
        m_xml = spreadsheetml::worksheetStart(widths, frozenRows);
    }

    void startRow(int row)
    {
        m_row = QByteArray::number(row + 1);
        m_xml += "<row r=\"";
        m_xml += m_row;
        m_xml += "\">";
    }
    void endRow()
    {
        m_xml += "</row>";
        if (m_xml.size() >= ChunkBytes) {
            m_zip.write(std::exchange(m_xml, QByteArray()));
            m_xml.reserve(ChunkBytes + ChunkBytes / 8);
        }
    }
    void cell(int column, const Variant &value, bool bold = false)
    {
        spreadsheetml::appendCell(m_xml, reference(column), value, bold);
    }
    void text(int column, const QString &value, Style style)
    {
        spreadsheetml::appendText(m_xml, reference(column), value, style);
    }
    void formula(int column, const QByteArray &formula, const Variant &value)
    {
        spreadsheetml::appendFormula(m_xml, reference(column), formula, value, Style::BoldAmount);
    }
    void finish()
    {
        m_zip.write(m_xml + spreadsheetml::worksheetEnd());
        m_zip.endEntry();
    }

private:
    // "C7", made in place: a workbook has millions of cells.
    QByteArrayView reference(int column)
    {
        while (m_columns.size() <= size_t(column))
            m_columns.push_back(spreadsheetml::columnName(int(m_columns.size())));
        const QByteArray &name = m_columns[size_t(column)];
        std::copy(name.begin(), name.end(), m_reference);
        std::copy(m_row.begin(), m_row.end(), m_reference + name.size());
        return QByteArrayView(m_reference, name.size() + m_row.size());
    }

    ZipWriter &m_zip;
    QByteArray m_xml;
    QByteArray m_row;
    std::vector<QByteArray> m_columns;
    char m_reference[16];  // three letters and seven digits at the most
};

// How many characters a cell needs to be read whole.
double cellWidth(const Variant &cell)
{
    switch (cell.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return 4;
    case Variant::Type::Boolean:
        return 6;
    case Variant::Type::Byte:
    case Variant::Type::Integer:
    case Variant::Type::Long:
        return double(QByteArray::number(cell.intValue()).size()) + 2;
    case Variant::Type::Currency:
    case Variant::Type::Decimal:
    case Variant::Type::Double:
        return 18;  // 999.999.999,99 and a sign
    case Variant::Type::Date:
        return cell.doubleValue() == std::floor(cell.doubleValue()) ? 12 : 20;
    case Variant::Type::String:
        return double(cell.stringValue().size()) + 2;
    }
    return 4;
}

// A figure's columns as wide as their names and as the first rows need, within reason.
QList<double> columnWidths(const QStringList &columns, int amountColumn, const std::vector<Row> &firstRows)
{
    QList<double> widths;
    for (qsizetype i = 0; i < columns.size(); ++i)
        widths << (i == amountColumn ? 18 : double(columns[i].size()) + 4);
    for (const Row &row : firstRows) {
        for (size_t i = 0; i < row.size() && qsizetype(i) < widths.size(); ++i)
            widths[qsizetype(i)] = std::max(widths[qsizetype(i)], cellWidth(row[i]));
    }
    for (double &width : widths)
        width = std::clamp(width, 8.0, 50.0);
    return widths;
}

// The last rows of a figure's sheet: its total, and the figure when the total is not it.
void writeTotal(SheetStream &sheet, int row, int amountColumn, const Variant &total, bool allRowsAbove,
                const RowSource &source)
{
    const int labelColumn = amountColumn == 0 ? 1 : 0;
    sheet.startRow(row);
    sheet.text(labelColumn, u"Toplam"_s, Style::Bold);
    if (amountColumn >= 0) {
        if (!allRowsAbove) {
            sheet.cell(amountColumn, total, true);
        } else if (row > FirstRow) {
            const QByteArray formula = "ABS(SUM(" + spreadsheetml::columnRange(FirstRow, row - 1, amountColumn) + "))";
            sheet.formula(amountColumn, formula, total);
        } else {
            sheet.cell(amountColumn, Variant::currency({}), true);
        }
    }
    sheet.endRow();
    const Variant figure = source.figure();
    if (amountColumn >= 0 && Variant::compare(total, figure).value_or(1) != 0) {
        sheet.startRow(row + 1);
        sheet.text(labelColumn, u"Rapordaki tutar"_s, Style::Bold);
        sheet.cell(amountColumn, figure, true);
        sheet.endRow();
        sheet.startRow(row + 2);
        sheet.text(labelColumn, u"Rapor hazırlandıktan sonra veriler değişmiş: satırların toplamı rapordaki tutarı tutmuyor."_s,
                   Style::Plain);
        sheet.endRow();
    }
}

// A figure's rows on its sheet: all counted into the total, those beyond the
// sheet's last rows left out and counted.
struct FigureRows
{
    FigureRows(SheetStream &sheet, int amountColumn) : sheet(sheet), amountColumn(amountColumn) {}

    SheetStream &sheet;
    int amountColumn;
    int next = FirstRow;
    qint64 leftOut = 0;
    AmountTotal total;

    void add(const Row &cells)
    {
        if (amountColumn >= 0 && size_t(amountColumn) < cells.size())
            total.add(cells[size_t(amountColumn)]);
        if (next >= SheetRows - TotalRows) {
            ++leftOut;
            return;
        }
        sheet.startRow(next++);
        for (size_t i = 0; i < cells.size(); ++i)
            sheet.cell(int(i), cells[i]);
        sheet.endRow();
    }
};

// One figure's sheet; false when its rows could not be read.
bool writeSourceSheet(ZipWriter &zip, qsizetype index, RowSource &source)
{
    if (!source.open())
        return false;
    const QStringList columns = source.columns();
    const int amountColumn = source.amountColumn();
    // The first rows are read before the sheet begins: its column widths come first.
    std::vector<Row> firstRows;
    for (Row cells; firstRows.size() < WidthSampleRows && source.next(cells);)
        firstRows.push_back(std::move(cells));
    SheetStream sheet(zip, index, columnWidths(columns, amountColumn, firstRows), FirstRow);
    sheet.startRow(0);
    sheet.text(0, source.caption(), Style::Bold);
    sheet.endRow();
    sheet.startRow(1);
    for (qsizetype i = 0; i < columns.size(); ++i)
        sheet.text(int(i), columns[i], Style::Bold);
    sheet.endRow();
    FigureRows rows(sheet, amountColumn);
    for (const Row &cells : firstRows)
        rows.add(cells);
    for (Row cells; source.next(cells);)
        rows.add(cells);
    if (rows.leftOut > 0) {
        sheet.startRow(rows.next++);
        sheet.text(0, u"Sayfaya sığmayan %1 satır yazılmadı; toplam bütün satırlarındır."_s.arg(rows.leftOut), Style::Bold);
        sheet.endRow();
    }
    writeTotal(sheet, rows.next, amountColumn, rows.total.value(), rows.leftOut == 0, source);
    sheet.finish();
    return true;
}

// The page's columns as wide as their texts and amounts need.
QList<double> frontWidths(const SheetCells &front)
{
    QList<double> widths;
    for (const QList<Variant> &cells : front.rows) {
        if (cells.size() > widths.size())
            widths.resize(cells.size(), 4);
        for (qsizetype col = 0; col < cells.size(); ++col)
            widths[col] = std::max(widths[col], cellWidth(cells[col]));
    }
    for (double &width : widths)
        width = std::min(width, 60.0);
    return widths;
}

void writeFrontSheet(ZipWriter &zip, qsizetype index, const SheetCells &front)
{
    SheetStream sheet(zip, index, frontWidths(front), 0);
    for (qsizetype row = 0; row < front.rows.size(); ++row) {
        sheet.startRow(int(row));
        for (qsizetype col = 0; col < front.rows[row].size(); ++col)
            sheet.cell(int(col), front.rows[row][col], front.boldRows.contains(int(row)));
        sheet.endRow();
    }
    sheet.finish();
}

// Sheet names are unique regardless of case; a caption whose name is taken
// (two captions alike in their first 31 characters) gets "SheetN".
QStringList sheetNames(const SheetCells &front, const QList<RowSource *> &sources)
{
    QStringList captions;
    if (!front.name.isEmpty())
        captions << front.name;
    for (const RowSource *source : sources)
        captions << source->caption();
    QStringList names;
    for (const QString &caption : std::as_const(captions)) {
        const QString name = sheetName(caption);
        const bool taken = name.isEmpty() || names.contains(name, Qt::CaseInsensitive);
        names << (taken ? u"Sheet%1"_s.arg(names.size() + 1) : name);
    }
    return names;
}

void writePart(ZipWriter &zip, const QByteArray &path, const QByteArray &xml)
{
    zip.beginEntry(path);
    zip.write(xml);
    zip.endEntry();
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
    // The whole workbook is made aside; `path` is replaced from it at the end.
    QTemporaryFile made(QDir(QDir::tempPath()).filePath(u"zelvan-XXXXXX.xlsx"_s));
    if (!made.open())
        return fail(made.errorString());
    {
        ZipWriter zip(&made);
        const QStringList names = sheetNames(front, sources);
        writePart(zip, "[Content_Types].xml", spreadsheetml::contentTypes(names.size()));
        writePart(zip, "_rels/.rels", spreadsheetml::packageRelationships());
        writePart(zip, "xl/workbook.xml", spreadsheetml::workbook(names));
        writePart(zip, "xl/_rels/workbook.xml.rels", spreadsheetml::workbookRelationships(names.size()));
        writePart(zip, "xl/styles.xml", spreadsheetml::styles());
        qsizetype sheet = 0;
        if (!front.name.isEmpty())
            writeFrontSheet(zip, ++sheet, front);
        for (RowSource *source : sources) {
            if (!writeSourceSheet(zip, ++sheet, *source))
                return WorkbookResult::RowsUnread;
        }
        if (!zip.finish())
            return fail(zip.errorString());
    }
    if (!made.flush() || !made.seek(0))
        return fail(made.errorString());
    const QString reason = platform::replaceFileContents(path, made);
    return reason.isEmpty() ? WorkbookResult::Written : fail(reason);
}

} // namespace zelvan::reportengine
