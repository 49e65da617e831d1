#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

namespace zelvan::database {
class Recordset;
} // namespace zelvan::database

namespace zelvan::program {
class Program;
} // namespace zelvan::program

namespace zelvan::report {

class ReportValues;
struct ItemValuation;
using ItemValuations = QHash<QString, ItemValuation>;

// The report's figures: what the Detail section's format handler computes.
struct ReportFigure
{
    QString field;
    QString sql;         // empty for the stock value
    bool rightColumn;    // false: the company's debts; true: what it holds or is owed
};

// The sixteen figures in the order they are computed.
const QList<ReportFigure> &reportFigures();

inline const QString LeftTotalField = QStringLiteral(u"sirketin_genel_borçları_toplamı");
inline const QString RightTotalField = QStringLiteral(u"sirketin_genel_alacakları_toplamı");
inline const QString StockField = QStringLiteral(u"toplam_Stok_degeri");

inline const QString StockListSql = QStringLiteral(
    "SELECT STOKKART.Stok_ID FROM STOKKART,SB WHERE STOKKART.Stok_ID=SB.Stok_ID AND SB.Kalan>0");
// The movement query of one stock item.
QString stockMovementSql(const QString &stockId);
// The movements of every item of the stock list in one query, item by item,
// each item's rows in the order of its own movement query. Read after the
// stock list itself, which says how often each item counts. CROSS JOIN (an
// inner join here, given the WHERE) makes SQLite read the movements in the
// outer loop, as the per-item query's plan does, so that rows tying on date
// and outgoing quantity keep the same order in both.
inline const QString StockOnePassSql = QStringLiteral(
    "SELECT STOKKART.Stok_ID, STOKHAREKET.Giris, STOKHAREKET.Cikis, STOKHAREKET.Maliyet FROM STOKHAREKET CROSS JOIN STOKKART "
    "WHERE STOKHAREKET.Stok_ID=STOKKART.Stok_ID AND STOKKART.Stok_ID IN (SELECT SB.Stok_ID FROM SB WHERE SB.Kalan>0) "
    "ORDER BY STOKHAREKET.Stok_ID,STOKHAREKET.Tarih,STOKHAREKET.Cikis");

// Fills the date and time, every figure and both totals. `stockList` is the
// report object's own recordset for the list of stock items. A query that
// fails (after OpenRecordset has shown it) ends the program with exit code 8:
// no page is made with a figure that could not be computed. With the option
// --stock-one-pass the stock value comes from the stock list and one query
// over all movements instead of one query per item: the same figure. Each
// item's valuation is kept in `valuations` when given, the same in both modes.
void Detail_Format(program::Program &program, ReportValues &report, std::shared_ptr<database::Recordset> &stockList,
                   ItemValuations *valuations = nullptr);

} // namespace zelvan::report
