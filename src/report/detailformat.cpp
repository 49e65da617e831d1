#include "report/detailformat.h"

#include "database/recordset.h"
#include "platform/clock.h"
#include "platform/endnow.h"
#include "platform/progress.h"
#include "program/exitcodes.h"
#include "program/openrecordset.h"
#include "program/program.h"
#include "report/reportvalues.h"
#include "report/stockvaluation.h"

#include <QHash>

namespace zelvan::report {

using database::Recordset;
using runtime::Variant;

const QList<ReportFigure> &reportFigures()
{
    static const QList<ReportFigure> figures = {
        {QStringLiteral(u"kesilen_Cekler"), QStringLiteral(u"SELECT SUM(Borc) as Toplam FROM CEKKART WHERE Durum='Kendi Çekimiz'"), false},
        {QStringLiteral(u"Verilen_Senetler"), QStringLiteral(u"SELECT SUM(Borc) as Toplam FROM SENETKART WHERE Durum='Kendi Senedimiz'"), false},
        {QStringLiteral(u"Acık_hesaptan_Alacaklılar"), QStringLiteral(u"SELECT SUM(Bakiye) as Toplam FROM CB WHERE  Bakiye<0"), false},
        {QStringLiteral(u"porfoydeki_cekler"), QStringLiteral(u"SELECT SUM(Alacak) as Toplam FROM CEKKART WHERE Durum='Portföyde'"), true},
        {QStringLiteral(u"porfoydeki_senetler"), QStringLiteral(u"SELECT SUM(Alacak) as Toplam FROM SENETKART WHERE Durum='Portföyde'"), true},
        {QStringLiteral(u"bankadaki_cekler"), QStringLiteral(u"SELECT SUM(Alacak) as Toplam  FROM CEKKART WHERE Durum='Bankada Tahsilde' OR Durum='Bankada Teminatta'"), true},
        {QStringLiteral(u"bankadaki_senetler"), QStringLiteral(u"SELECT SUM(Alacak) as Toplam  FROM SENETKART WHERE Durum='Bankada Tahsilde' OR Durum='Bankada Teminatta'"), true},
        {QStringLiteral(u"parcalı_ceklerın_kalanları"), QStringLiteral(u"SELECT SUM(Kalan) as Toplam FROM CEKPARCALISONUC "), true},
        {QStringLiteral(u"Parcalı_senetlerin_klalanları"), QStringLiteral(u"SELECT SUM(Kalan) as Toplam FROM SENETPARCALISONUC"), true},
        {QStringLiteral(u"Karsılıksız_cekler"), QStringLiteral(u"SELECT SUM(Alacak) as Toplam FROM CEKKART WHERE Durum='Karşılıksız'"), true},
        {QStringLiteral(u"Karsılıksız_senetler"), QStringLiteral(u"SELECT SUM(Alacak) as Toplam FROM SENETKART WHERE Durum='Karşılıksız'"), true},
        {StockField, QString(), true},
        {QStringLiteral(u"hesaba_aktarılmamıs_pos_toplamı"), QStringLiteral(u"SELECT SUM(Hesaba_Gececek_Tutar) as  Toplam FROM POSHAREKET WHERE Hesaba_Aktarildi=0"), true},
        {QStringLiteral(u"banaka_bakiyeleri_toplamı"), QStringLiteral(u"SELECT  SUM(Bakiye) as Toplam FROM BB WHERE Hesap_ID>0"), true},
        {QStringLiteral(u"Kasa_bakiyeleri_toplamı"), QStringLiteral(u"SELECT  SUM(Bakiye) as Toplam FROM KB "), true},
        {QStringLiteral(u"acık_hesaptakı_boırclar"), QStringLiteral(u"SELECT SUM(Bakiye) as Toplam FROM CB WHERE  Bakiye>0"), true},
    };
    return figures;
}

QString stockMovementSql(const QString &stockId)
{
    return QStringLiteral("SELECT STOKKART.Stok_ID, STOKHAREKET.Giris, STOKHAREKET.Cikis,STOKHAREKET.Maliyet FROM "
                          "STOKHAREKET,STOKKART WHERE STOKHAREKET.Stok_ID=STOKKART.Stok_ID AND STOKKART.Stok_ID=")
        + stockId + QStringLiteral(" ORDER BY Tarih,Cikis");
}

namespace {

// OpenRecordset, then the end of the run when it could not open the query:
// its messages have been shown and a made-up figure must not be printed.
Recordset &openOrEnd(program::Program &program, std::shared_ptr<Recordset> &rs, const QString &sql)
{
    if (!rs)
        rs = std::make_shared<Recordset>();
    program::OpenRecordset(program, *rs, sql);
    if (rs->state() != Recordset::StateOpen)
        program.end(program::ExitCode::ReportQuery);
    return *rs;
}

void addToTotal(ReportValues &report, const QString &totalField, const Variant &value)
{
    report.setValue(totalField, report.value(totalField) + value);
}

void figureStep(program::Program &program, ReportValues &report, const ReportFigure &figure)
{
    Recordset &rs = openOrEnd(program, program.vars.SharedRecordset, figure.sql);
    const Variant &sum = rs.field(QStringLiteral("Toplam"));
    report.setValue(figure.field, sum.isNull() ? Variant::integer(0) : sum.abs());
    addToTotal(report, figure.rightColumn ? RightTotalField : LeftTotalField, report.value(figure.field));
}

const QString StockProgressLabel = QStringLiteral(u"Stok değerleniyor");

// The running stock total plus one item's value, as Currency.
Variant addItemValue(const Variant &running, runtime::Currency value)
{
    return Variant::currency((running + Variant::currency(value)).toCurrency());
}

// One movement query per item of the stock list.
Variant valuePerItem(program::Program &program, std::shared_ptr<Recordset> &stockList, platform::Progress *progress,
                     ItemValuations *valuations)
{
    Recordset &items = openOrEnd(program, stockList, StockListSql);
    Variant running = Variant::currency(runtime::Currency());
    const QString idColumn = QStringLiteral("Stok_ID");
    // Counting the items reads the list ahead: a list of ids, small even
    // for a large company, and no extra query.
    const qint64 itemCount = items.recordCount();
    if (progress)
        progress->start(StockProgressLabel, itemCount);
    qint64 done = 0;
    while (!items.eof()) {
        const QString id = items.field(idColumn).toString();
        Recordset &movements = openOrEnd(program, program.vars.SharedRecordset, stockMovementSql(id));
        const ItemValuation valuation = valueItemMovements(movements, MovementColumns::of(movements, false));
        running = addItemValue(running, valuation.value);
        if (valuations)
            valuations->insert(id, valuation);
        items.moveNext();
        if (progress)
            progress->step(++done);
    }
    return running;
}

// How often the stock list names each item. The list is a join without
// DISTINCT: an item with two SB rows in stock, or two STOKKART rows, is
// listed, and valued, once per row.
QHash<QString, int> listedItems(program::Program &program, std::shared_ptr<Recordset> &stockList)
{
    Recordset &items = openOrEnd(program, stockList, StockListSql);
    const QString idColumn = QStringLiteral("Stok_ID");
    QHash<QString, int> listed;
    while (!items.eof()) {
        ++listed[items.field(idColumn).toString()];
        items.moveNext();
    }
    return listed;
}

// The movements of all items in one query, valued item by item as they come,
// each item's value counted as often as the stock list names it. Items of the
// list without movements are worth 0 and simply do not appear.
Variant valueInOnePass(program::Program &program, std::shared_ptr<Recordset> &stockList, platform::Progress *progress,
                       ItemValuations *valuations)
{
    const QHash<QString, int> listed = listedItems(program, stockList);
    Recordset &movements = openOrEnd(program, program.vars.SharedRecordset, StockOnePassSql);
    if (progress)
        progress->start(StockProgressLabel, listed.size());
    const MovementColumns columns = MovementColumns::of(movements, true);
    Variant running = Variant::currency(runtime::Currency());
    qint64 done = 0;
    while (!movements.eof()) {
        const QString item = movements.field(columns.item).toString();
        const ItemValuation valuation = valueItemMovements(movements, columns);
        for (int times = listed.value(item); times > 0; --times)
            running = addItemValue(running, valuation.value);
        if (valuations && listed.contains(item))
            valuations->insert(item, valuation);
        if (progress)
            progress->step(++done);
    }
    if (valuations) {
        for (auto it = listed.cbegin(); it != listed.cend(); ++it) {
            if (!valuations->contains(it.key()))
                valuations->insert(it.key(), ItemValuation());
        }
    }
    return running;
}

void stockStep(program::Program &program, ReportValues &report, std::shared_ptr<Recordset> &stockList,
               ItemValuations *valuations)
{
    platform::Progress *progress = program.services.progress;
    const Variant total = program.options.stockOnePass ? valueInOnePass(program, stockList, progress, valuations)
                                                       : valuePerItem(program, stockList, progress, valuations);
    if (progress)
        progress->finish();
    report.setValue(StockField, total);
    addToTotal(report, RightTotalField, report.value(StockField));
}

} // namespace

void Detail_Format(program::Program &program, ReportValues &report, std::shared_ptr<Recordset> &stockList,
                   ItemValuations *valuations)
{
    report.setValue(QStringLiteral("tarih"), Variant::date(runtime::oleDateFrom(program.services.clock->currentDate())));
    report.setValue(QStringLiteral("saat"),
                    Variant::date(runtime::oleDateFrom(QDate(1899, 12, 30), program.services.clock->currentTime())));

    for (const ReportFigure &figure : reportFigures()) {
        if (figure.sql.isEmpty())
            stockStep(program, report, stockList, valuations);
        else
            figureStep(program, report, figure);
    }
}

} // namespace zelvan::report
