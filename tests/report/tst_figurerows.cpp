#include "database/recordset.h"
#include "program/program.h"
#include "report/detailformat.h"
#include "report/figurerows.h"
#include "report/reporthost.h"
#include "report/reportoutput.h"
#include "report/reportvalues.h"
#include "reportengine/reportviewer.h"
#include "reportengine/rowswindow.h"
#include "sqlitewriter/sqlitewriter.h"
#include "support/fakeservices.h"
#include "support/testinstance.h"

#include <QDir>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QTest>

using namespace zelvan;
using namespace zelvan::report;
using namespace Qt::Literals::StringLiterals;
using reportengine::RowTable;

namespace {

const QString Connection = u"Provider=SQLOLEDB.1;Persist Security Info=False;User ID=%1;Password=%2;Initial Catalog=%3;Data Source=%4"_s;

// A program on a company database of an instance, the figures computed.
struct Run
{
    Run(const QString &connection, const QStringList &options = {})
        : program(fakes.services(), program::CommandLine::parse(options))
    {
        program.vars.DbConnection = std::make_shared<database::Connection>();
        program.vars.DbConnection->open(connection);
    }
    int format()  // the exit code when the program ended, else -1
    {
        return test::exitCodeOf([this] { Detail_Format(program, values, stockList, &valuations); });
    }

    test::FakeServices fakes;
    program::Program program;
    ReportValues values;
    ItemValuations valuations;
    std::shared_ptr<database::Recordset> stockList;
};

qint64 countOf(program::Program &program, const QString &sql)
{
    database::Recordset rs;
    rs.setActiveConnection(program.vars.DbConnection);
    rs.setSource(sql);
    rs.open();
    return rs.field(0).toLong();
}

// A small instance of the test itself: the rows behind some figures, a KB whose rows cannot be read (a column
// that fails only when it is selected), and a stock item sold from a receipt.
void addViewerData(test::TestInstance &instance)
{
    test::addStandardDatabases(instance);
    instance.run(u"FIRMA"_s, {
        u"INSERT INTO CEKKART VALUES (1, 1000, 0, 'Kendi Çekimiz'), (4, 0, 250.5, 'Portföyde'), (2, 0, 40, 'Portföyde'), (3, 0, NULL, 'Portföyde')"_s,
        u"INSERT INTO BB VALUES (0, 999), (1, -300), (2, 100)"_s,
        u"INSERT INTO KB VALUES (1, 75.5)"_s,
        u"ALTER TABLE KB RENAME TO KB0"_s,
        u"CREATE VIEW KB AS SELECT *, json('bozuk') AS Bozuk FROM KB0"_s,
        u"INSERT INTO STOKKART VALUES (1, 'Vida'), (2, 'Somun')"_s,
        u"INSERT INTO SB VALUES (1, 6), (2, 0)"_s,
        u"INSERT INTO STOKHAREKET VALUES (1, 1, '2026-02-01 00:00:00', 10, 0, 5), (2, 1, '2026-02-02 00:00:00', 0, 4, NULL)"_s,
    });
}

} // namespace

class TestFigureRows : public QObject
{
    Q_OBJECT

    test::TestInstance m_viewerInstance;

private Q_SLOTS:
    void initTestCase() { addViewerData(m_viewerInstance); }

    // zelvan-demo instances of other seeds than the one run end to end (NULL amounts, negative balances, a bank row
    // with Hesap_ID 0), one with stock-list rows doubled (two SB rows in stock, two cards): every figure's rows,
    // read after the figures, total to the figure in both stock modes, and the stock has one row per row of the
    // stock list.
    void totalsEqualFigures_data()
    {
        QTest::addColumn<int>("seed");
        QTest::addColumn<bool>("onePass");
        QTest::addColumn<bool>("doubled");
        QTest::newRow("seed 2, one pass") << 2 << true << false;
        QTest::newRow("seed 3, doubled list rows") << 3 << false << true;
    }
    void totalsEqualFigures()
    {
        QFETCH(int, seed);
        QFETCH(bool, onePass);
        QFETCH(bool, doubled);
        QTemporaryDir dir;
        QCOMPARE(QProcess::execute(test::binaryPath(u"zelvan-demo"_s), {dir.path(), u"--items"_s, u"150"_s, u"--movements-per-item"_s,
                                                                        u"6"_s, u"--seed"_s, QString::number(seed)}),
                 0);
        if (doubled) {
            writer::SqliteWriter db(QDir(dir.path()).filePath(u"NRV_DEMO_2026.sqlite"_s), false);
            for (const QString &sql : {u"ALTER TABLE SB RENAME TO SB0"_s, u"CREATE TABLE SB(Stok_ID INT, Kalan FLOAT)"_s,
                                       u"INSERT INTO SB SELECT * FROM SB0"_s, u"INSERT INTO SB SELECT * FROM SB0 WHERE Stok_ID % 7 = 1"_s,
                                       u"ALTER TABLE STOKKART RENAME TO STOKKART0"_s,
                                       u"CREATE TABLE STOKKART(Stok_ID INT, Stok_Kodu NVARCHAR(30), Stok_Adi NVARCHAR(100), Birim NVARCHAR(10))"_s,
                                       u"INSERT INTO STOKKART SELECT * FROM STOKKART0"_s,
                                       u"INSERT INTO STOKKART SELECT * FROM STOKKART0 WHERE Stok_ID % 5 = 2"_s})
                db.exec(sql);
        }
        Run run(Connection.arg(u"norvent"_s, u"Zelvan2026"_s, u"NRV_DEMO_2026"_s, dir.path()),
                onePass ? QStringList{u"--stock-one-pass"_s} : QStringList());
        QCOMPARE(run.format(), -1);
        const auto figures = reportFigureRows(run.program, run.values, &run.valuations);
        QCOMPARE(figures.size(), size_t(16));
        for (const auto &figure : figures) {
            const std::optional<RowTable> table = RowTable::read(*figure);
            QVERIFY(table);
            const QString total = plainDecimal(table->total);
            const QString shown = plainDecimal(run.values.value(figure->field()));
            QVERIFY2(total == shown, qPrintable(figure->field() + u": "_s + total + u" against "_s + shown));
            if (figure->field() == StockField)
                QCOMPARE(qint64(table->rows.size()), countOf(run.program, QString(StockListSql).replace(u"STOKKART.Stok_ID FROM"_s, u"COUNT(*) FROM"_s)));
        }
    }

    // A live server that changes between the figures and their rows: the rows' total differs, and says so.
    void changedBetweenReads()
    {
        test::TestInstance instance;
        test::addStandardDatabases(instance);
        instance.run(u"FIRMA"_s, {u"INSERT INTO CEKKART VALUES (1, 0, 40, 'Portföyde')"_s});
        Run run(instance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));
        QCOMPARE(run.format(), -1);
        run.program.vars.SharedRecordset->close();  // its statement would keep the writer out
        instance.run(u"FIRMA"_s, {u"INSERT INTO CEKKART VALUES (2, 0, 2.5, 'Portföyde')"_s});
        const auto figure = figureRowsOf(run.program, u"porfoydeki_cekler"_s, run.values, &run.valuations);
        const std::optional<RowTable> table = RowTable::read(*figure);
        QVERIFY(table);
        QVERIFY(table->totalDiffers());
        QCOMPARE(plainDecimal(table->total), u"42.5"_s);
        QCOMPARE(plainDecimal(table->figure), u"40"_s);
    }

    // A double-click on a figure in the report's viewer opens the window of its rows, titled with its caption;
    // "Kopyala" gives them as spreadsheets paste them. Rows that cannot be read show OpenRecordset's messages,
    // and the report stays open.
    void viewerOpensRows_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("title");  // empty: no window
        QTest::addColumn<QString>("copied");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("cheques, NULL amount") << u"porfoydeki_cekler"_s << u"Portföydeki Çekler"_s
            << u"Cek_ID\tBorc\tAlacak\tDurum\n2\t0,00\t40,00\tPortföyde\n3\t0,00\t\tPortföyde\n4\t0,00\t250,50\tPortföyde\nToplam\t\t290,50\t\n"_s
            << QStringList();
        QTest::newRow("bank balances, not account 0") << u"banaka_bakiyeleri_toplamı"_s << u"Banka Bakiyeleri Toplamı"_s
            << u"Hesap_ID\tBakiye\n1\t-300,00\n2\t100,00\nToplam\t200,00\n"_s << QStringList();
        QTest::newRow("stock, as valued") << u"toplam_Stok_degeri"_s << u"Toplam Stok Değeri"_s
            << u"Stok_ID\tStok_Adi\tMiktar\tBirim_Maliyet\tDeger\n1\tVida\t6,00\t5,00\t30,00\nToplam\t\t\t\t30,00\n"_s << QStringList();
        QTest::newRow("rows that cannot be read") << u"Kasa_bakiyeleri_toplamı"_s << QString() << QString()
            << QStringList{u"malformed JSON"_s, u"SELECT * FROM KB ORDER BY 1"_s};
    }
    void viewerOpensRows()
    {
        QFETCH(QString, field);
        QFETCH(QString, title);
        Run run(m_viewerInstance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));
        ReportHost host;
        host.show(run.program);
        reportengine::ReportViewer *viewer = host.viewer();
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        viewer->preview()->updatePreview();
        QTest::mouseDClick(viewer->pageArea(), Qt::LeftButton, {}, viewer->linkArea(field).center());
        QTEST(run.fakes.messages.texts(), "messages");
        QVERIFY(viewer->isVisible());
        reportengine::RowsWindow *window = host.rowsWindow(field);
        QCOMPARE(window != nullptr, !title.isEmpty());
        if (!window)
            return;
        QCOMPARE(window->windowTitle(), title);
        window->findChild<QPushButton *>(u"copy"_s)->click();
        QTEST(run.fakes.clipboard.text, "copied");
    }
};

QTEST_MAIN(TestFigureRows)
#include "tst_figurerows.moc"
