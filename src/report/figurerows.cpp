#include "report/figurerows.h"

#include "program/openrecordset.h"
#include "report/activereport1.h"
#include "report/reportvalues.h"

#include <QRegularExpression>

namespace zelvan::report {

using runtime::Variant;

namespace {

struct SumStatement
{
    QString column;
    QString table;
    QString condition;  // empty: every row
};

// The parts of a figure's statement, "SELECT SUM(column) as Toplam FROM table
// [WHERE condition]", taken from the statement itself so that the rows can
// never drift from the figure.
SumStatement sumStatement(const QString &sql)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^\s*SELECT\s+SUM\((\w+)\)\s+as\s+Toplam\s+FROM\s+(\w+)\s*(?:WHERE\s+(.*?))?\s*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = form.match(sql);
    Q_ASSERT(match.hasMatch());
    return {match.captured(1), match.captured(2), match.captured(3)};
}

} // namespace

QString figureRowsSql(const ReportFigure &figure)
{
    if (figure.sql.isEmpty())
        return StockRowsSql;
    const SumStatement sum = sumStatement(figure.sql);
    return QStringLiteral("SELECT * FROM ") + sum.table
        + (sum.condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + sum.condition) + QStringLiteral(" ORDER BY 1");
}

QString figureAmountColumn(const ReportFigure &figure)
{
    return figure.sql.isEmpty() ? StockValuationColumns.last() : sumStatement(figure.sql).column;
}

FigureRows::FigureRows(program::Program &program, const ReportFigure &figure, const Variant &value,
                       const ItemValuations *valuations)
    : m_program(program)
    , m_figure(figure)
    , m_value(value)
    , m_valuations(valuations)
{
}

QString FigureRows::caption() const
{
    return ActiveReport1::figureCaption(m_figure.field);
}

bool FigureRows::open()
{
    program::OpenRecordset(m_program, m_rows, figureRowsSql(m_figure));
    if (m_rows.state() != database::Recordset::StateOpen)
        return false;
    m_columns.clear();
    for (int i = 0; i < m_rows.fieldCount(); ++i)
        m_columns << m_rows.fieldName(i);
    if (isStock()) {
        m_stockIdColumn = m_rows.fieldIndex(QStringLiteral("Stok_ID"));
        m_columns << StockValuationColumns;
    }
    const QString amount = figureAmountColumn(m_figure);
    m_amountColumn = -1;
    for (int i = 0; i < m_columns.size() && m_amountColumn < 0; ++i) {
        if (m_columns[i].compare(amount, Qt::CaseInsensitive) == 0)  // as the server matches names
            m_amountColumn = i;
    }
    return true;
}

bool FigureRows::next(reportengine::Row &row)
{
    if (m_rows.state() != database::Recordset::StateOpen || m_rows.eof())
        return false;
    row.clear();
    const int count = m_rows.fieldCount();
    row.reserve(size_t(count) + (isStock() ? StockValuationColumns.size() : 0));
    for (int i = 0; i < count; ++i)
        row.push_back(m_rows.field(i));
    if (isStock()) {
        const QString id = m_stockIdColumn >= 0 ? m_rows.field(m_stockIdColumn).toString() : QString();
        const auto found = m_valuations ? m_valuations->constFind(id) : ItemValuations::const_iterator();
        if (m_valuations && found != m_valuations->cend()) {
            row.push_back(Variant::currency(found->quantity));
            row.push_back(Variant::currency(found->unitCost));
            row.push_back(Variant::currency(found->value));
        } else {
            // Listed now but not when the stock was valued: the total shows the difference.
            row.insert(row.end(), 3, Variant::null());
        }
    }
    m_rows.moveNext();
    return true;
}

std::unique_ptr<FigureRows> figureRowsOf(program::Program &program, const QString &field, const ReportValues &values,
                                         const ItemValuations *valuations)
{
    for (const ReportFigure &figure : reportFigures()) {
        if (figure.field == field)
            return std::make_unique<FigureRows>(program, figure, values.value(field), valuations);
    }
    return nullptr;
}

std::vector<std::unique_ptr<FigureRows>> reportFigureRows(program::Program &program, const ReportValues &values,
                                                          const ItemValuations *valuations)
{
    std::vector<std::unique_ptr<FigureRows>> rows;
    for (const QString &field : ActiveReport1::amountFieldNames()) {
        if (auto figure = figureRowsOf(program, field, values, valuations))
            rows.push_back(std::move(figure));
    }
    return rows;
}

} // namespace zelvan::report
