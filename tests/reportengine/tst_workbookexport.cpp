#include "reportengine/workbookexport.h"
#include "support/zelvanrun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace zelvan;
using namespace zelvan::reportengine;
using namespace Qt::Literals::StringLiterals;
using runtime::Variant;

namespace {

// openpyxl, a reader of its own: each sheet's rows as the texts of their cells (values stored with formulas, not the formulas).
const QString SheetsReader = uR"(
import json, sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1], data_only=True)
rows = lambda s: [[("" if v is None else str(v)) for v in r] for r in s.iter_rows(values_only=True)]
print(json.dumps({"rows": [rows(s) for s in book.worksheets]}))
)"_s;

// The last rows of a sheet, from its XML, for sheets too large for openpyxl's pace.
const QString TailReader = uR"(
import sys, zipfile
print(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2])[-600:].decode())
)"_s;

Variant money(qint64 lira)
{
    return Variant::currency(runtime::Currency::fromRaw(lira * 10000));
}

RowTable table(const QString &caption, const std::vector<qint64> &amounts, qint64 figure)
{
    RowTable t;
    t.caption = caption;
    t.columns = {u"Cek_ID"_s, u"Tutar"_s};
    t.amountColumn = 1;
    for (qint64 amount : amounts)
        t.rows.push_back({Variant::longInt(qint32(t.rows.size() + 1)), money(amount)});
    t.figure = money(figure);
    return t;
}

// As many rows as asked, each an id and 1 lira, never held together.
class CountingSource : public RowSource
{
public:
    explicit CountingSource(int rows) : m_rows(rows) {}
    QString caption() const override { return u"Portföydeki Çekler"_s; }
    Variant figure() const override { return money(m_rows); }
    bool open() override { return true; }
    QStringList columns() const override { return {u"Cek_ID"_s, u"Tutar"_s}; }
    int amountColumn() const override { return 1; }
    bool next(Row &row) override
    {
        if (m_next == m_rows)
            return false;
        row = {Variant::longInt(++m_next), money(1)};
        return true;
    }

private:
    int m_rows;
    int m_next = 0;
};

} // namespace

class TestWorkbookExport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QJsonObject write(const QList<RowTable> &tables)
    {
        std::vector<TableRowSource> sources(tables.begin(), tables.end());
        QList<RowSource *> list;
        for (TableRowSource &source : sources)
            list << &source;
        const QString file = m_dir.filePath(u"rows.xlsx"_s);
        const SheetCells front{u"ZELVAN RAPORU"_s, {{Variant::string(u"ZELVAN RAPORU"_s)}}, {0}};
        if (writeWorkbook(file, front, list) != WorkbookResult::Written)
            return {};
        const test::ZelvanRun read = test::runProgram(u"/usr/bin/python3"_s, {u"-c"_s, SheetsReader, file});
        return QJsonDocument::fromJson(read.out).object();
    }

private Q_SLOTS:
    // The rows below a figure's rows: what each says, in the first column and in the amount's.
    void totalRows_data()
    {
        QTest::addColumn<std::vector<qint64>>("amounts");
        QTest::addColumn<qint64>("figure");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QStringList>("amountTexts");
        QTest::newRow("no rows") << std::vector<qint64>{} << qint64(0) << QStringList{u"Toplam"_s} << QStringList{u"0"_s};
        QTest::newRow("data changed between the reads")
            << std::vector<qint64>{2} << qint64(7)
            << QStringList{u"Toplam"_s, u"Rapordaki tutar"_s,
                           u"Rapor hazırlandıktan sonra veriler değişmiş: satırların toplamı rapordaki tutarı tutmuyor."_s}
            << QStringList{u"2"_s, u"7"_s, QString()};
    }
    void totalRows()
    {
        QFETCH(std::vector<qint64>, amounts);
        QFETCH(qint64, figure);
        QFETCH(QStringList, labels);
        QFETCH(QStringList, amountTexts);
        const QJsonArray rows = write({table(u"Kesilen Çekler"_s, amounts, figure)})[u"rows"_s][1].toArray();
        QCOMPARE(rows.size(), 2 + qsizetype(amounts.size()) + labels.size());
        for (qsizetype i = 0; i < labels.size(); ++i) {
            const QJsonArray row = rows[rows.size() - labels.size() + i].toArray();
            QCOMPARE(row[0].toString(), labels[i]);
            QCOMPARE(row[1].toString(), amountTexts[i]);
        }
    }

    // A figure with more rows than a sheet holds: the sheet ends with a row
    // that says how many were left out, and the total of all of them.
    void moreRowsThanASheetHolds()
    {
        CountingSource source(1048575);
        const QString file = m_dir.filePath(u"full.xlsx"_s);
        QCOMPARE(writeWorkbook(file, SheetCells(), {&source}), WorkbookResult::Written);
        const test::ZelvanRun read = test::runProgram(u"/usr/bin/python3"_s, {u"-c"_s, TailReader, file, u"xl/worksheets/sheet1.xml"_s});
        QVERIFY2(read.exitCode == 0, read.err.constData());
        QVERIFY2(read.out.contains("<row r=\"1048572\"><c r=\"A1048572\"><v>1048570</v>"), read.out);
        QVERIFY2(read.out.contains("Sayfaya sığmayan 5 satır yazılmadı; toplam bütün satırlarındır."), read.out);
        QVERIFY2(read.out.contains("<row r=\"1048574\">"), read.out);
        QVERIFY2(read.out.contains("<v>1048575</v>"), read.out);
    }
};

QTEST_GUILESS_MAIN(TestWorkbookExport)
#include "tst_workbookexport.moc"
