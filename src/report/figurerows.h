#pragma once

#include "database/recordset.h"
#include "report/detailformat.h"
#include "report/stockvaluation.h"
#include "reportengine/rowtable.h"

#include <memory>
#include <vector>

namespace zelvan::program {
class Program;
} // namespace zelvan::program

namespace zelvan::report {

class ReportValues;

// The statement of the rows behind a figure: the figure's own table and
// condition, every column, in the order of the first column. For the stock,
// the stock list's rows with every column of their STOKKART row.
QString figureRowsSql(const ReportFigure &figure);
// The column that the figure's statement sums; for the stock, the value.
QString figureAmountColumn(const ReportFigure &figure);

inline const QString StockRowsSql = QStringLiteral(
    "SELECT STOKKART.* FROM STOKKART,SB WHERE STOKKART.Stok_ID=SB.Stok_ID AND SB.Kalan>0 ORDER BY 1");
// After an item's STOKKART columns: its quantity on hand, unit cost and value
// as the stock step's valuation left them (NULL for an item it never valued).
inline const QStringList StockValuationColumns = {QStringLiteral("Miktar"), QStringLiteral("Birim_Maliyet"),
                                                  QStringLiteral("Deger")};

// The rows behind one figure, read through OpenRecordset on the report's
// connection (after the figures), a row at a time.
class FigureRows : public reportengine::RowSource
{
public:
    // `value` is the figure as the report computed it; `valuations` the stock
    // step's (used for the stock only).
    FigureRows(program::Program &program, const ReportFigure &figure, const runtime::Variant &value,
               const ItemValuations *valuations);

    const QString &field() const { return m_figure.field; }

    QString caption() const override;
    runtime::Variant figure() const override { return m_value; }
    bool open() override;
    QStringList columns() const override { return m_columns; }
    int amountColumn() const override { return m_amountColumn; }
    bool next(reportengine::Row &row) override;

private:
    bool isStock() const { return m_figure.sql.isEmpty(); }

    program::Program &m_program;
    ReportFigure m_figure;
    runtime::Variant m_value;
    const ItemValuations *m_valuations;
    database::Recordset m_rows;
    QStringList m_columns;
    int m_amountColumn = -1;
    int m_stockIdColumn = -1;
};

// The rows of the 16 figures in page order.
std::vector<std::unique_ptr<FigureRows>> reportFigureRows(program::Program &program, const ReportValues &values,
                                                          const ItemValuations *valuations);
// The rows of one figure; null when `field` is none of the 16.
std::unique_ptr<FigureRows> figureRowsOf(program::Program &program, const QString &field, const ReportValues &values,
                                         const ItemValuations *valuations);

} // namespace zelvan::report
