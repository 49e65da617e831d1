#include "program/program.h"
#include "report/reporthost.h"
#include "reportengine/reportviewer.h"
#include "reportengine/rowswindow.h"
#include "support/fakeservices.h"
#include "support/testinstance.h"

#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTest>

using namespace zelvan;
using namespace zelvan::report;
using namespace Qt::Literals::StringLiterals;

// A double-click on a figure in the report's viewer, on a small instance of the test itself: the rows behind some
// figures, a KB whose rows cannot be read (a column that fails only when it is selected), and a stock item sold from
// a receipt. That the rows add up to their figures is run end to end (tst_reportrun).
class TestFigureRows : public QObject
{
    Q_OBJECT

    test::TestInstance m_instance;

private Q_SLOTS:
    void initTestCase()
    {
        test::addStandardDatabases(m_instance);
        m_instance.run(u"FIRMA"_s, {
            u"INSERT INTO CEKKART VALUES (1, 1000, 0, 'Kendi Çekimiz'), (4, 0, 250.5, 'Portföyde'), (2, 0, 40, 'Portföyde'), (3, 0, NULL, 'Portföyde')"_s,
            u"INSERT INTO KB VALUES (1, 75.5)"_s,
            u"ALTER TABLE KB RENAME TO KB0"_s,
            u"CREATE VIEW KB AS SELECT *, json('bozuk') AS Bozuk FROM KB0"_s,
            u"INSERT INTO STOKKART VALUES (1, 'Vida'), (2, 'Somun')"_s,
            u"INSERT INTO SB VALUES (1, 6), (2, 0)"_s,
            u"INSERT INTO STOKHAREKET VALUES (1, 1, '2026-02-01 00:00:00', 10, 0, 5), (2, 1, '2026-02-02 00:00:00', 0, 4, NULL)"_s,
        });
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
        QTest::newRow("stock, as valued") << u"toplam_Stok_degeri"_s << u"Toplam Stok Değeri"_s
            << u"Stok_ID\tStok_Adi\tMiktar\tBirim_Maliyet\tDeger\n1\tVida\t6,00\t5,00\t30,00\nToplam\t\t\t\t30,00\n"_s << QStringList();
        QTest::newRow("rows that cannot be read") << u"Kasa_bakiyeleri_toplamı"_s << QString() << QString()
            << QStringList{u"malformed JSON"_s, u"SELECT * FROM KB ORDER BY 1"_s};
    }
    void viewerOpensRows()
    {
        QFETCH(QString, field);
        QFETCH(QString, title);
        test::FakeServices fakes;
        program::Program program(fakes.services(), program::CommandLine());
        program.vars.DbConnection = std::make_shared<database::Connection>();
        program.vars.DbConnection->open(m_instance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));
        ReportHost host;
        host.show(program);
        reportengine::ReportViewer *viewer = host.viewer();
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        viewer->preview()->updatePreview();
        QTest::mouseDClick(viewer->pageArea(), Qt::LeftButton, {}, viewer->linkArea(field).center());
        QTEST(fakes.messages.texts(), "messages");
        QVERIFY(viewer->isVisible());
        reportengine::RowsWindow *window = host.rowsWindow(field);
        QCOMPARE(window != nullptr, !title.isEmpty());
        if (!window)
            return;
        QCOMPARE(window->windowTitle(), title);
        window->findChild<QPushButton *>(u"copy"_s)->click();
        QTEST(fakes.clipboard.text, "copied");
    }
};

QTEST_MAIN(TestFigureRows)
#include "tst_figurerows.moc"
