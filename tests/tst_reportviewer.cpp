#include "platform/messageboxes.h"
#include "platform/reportviewer.h"
#include "support/fakeservices.h"
#include "support/popplertools.h"
#include "support/reportpages.h"

#include <QAction>
#include <QFileInfo>
#include <QPrintPreviewWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan::platform;
using namespace zelvan::test;

namespace {

ReportPage filledPage()
{
    return filledReportPage(u"0,00"_s);
}

QAction *findAction(const QWidget &viewer, const QString &objectName)
{
    return viewer.findChild<QAction *>(objectName);
}

} // namespace

class TestReportViewer : public QObject
{
    Q_OBJECT

private slots:
    void titleAndClientSize()
    {
        const ReportViewer viewer(filledPage());
        QCOMPARE(viewer.windowTitle(), u"ZELVAN RAPORU"_s);
        const QSize expected(qRound(15240 * viewer.logicalDpiX() / 1440.0),
                             qRound(11010 * viewer.logicalDpiY() / 1440.0));
        QCOMPARE(viewer.size(), expected);
        if (viewer.logicalDpiX() == 96 && viewer.logicalDpiY() == 96)
            QCOMPARE(viewer.size(), QSize(1016, 734));
    }

    void toolBarTipNamesTheVersion()
    {
        const ReportViewer viewer(filledPage());
        const auto *toolBar = viewer.findChild<QToolBar *>();
        QVERIFY(toolBar);
        QCOMPARE(toolBar->toolTip(), u"Zelvan "_s + QStringLiteral(ZELVAN_VERSION));
        QCOMPARE(viewer.windowTitle(), u"ZELVAN RAPORU"_s);
    }

    void previewShowsOnePage()
    {
        ReportViewer viewer(filledPage());
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        viewer.preview()->updatePreview();
        QCOMPARE(viewer.preview()->pageCount(), 1);
        QCOMPARE(viewer.preview()->zoomMode(), QPrintPreviewWidget::FitToWidth);
    }

    // The printer gets the bare letter-size paper; the page draws its margins.
    void printerHasThePagesPaper()
    {
        ReportViewer viewer(filledPage());
        const QPageLayout layout = viewer.printer()->pageLayout();
        QCOMPARE(layout.pageSize().id(), QPageSize::Letter);
        QCOMPARE(layout.orientation(), QPageLayout::Portrait);
        QCOMPARE(layout.pageSize().sizePoints(), QSize(612, 792));
        QVERIFY(viewer.printer()->fullPage());
        QCOMPARE(layout.margins(), QMarginsF());
    }

    void actions_data()
    {
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<QString>("text");
        QTest::newRow("zoom in") << u"zoomIn"_s << u"Yakınlaştır"_s;
        QTest::newRow("zoom out") << u"zoomOut"_s << u"Uzaklaştır"_s;
        QTest::newRow("fit width") << u"fitWidth"_s << u"Sayfa Genişliği"_s;
        QTest::newRow("fit page") << u"fitPage"_s << u"Tüm Sayfa"_s;
        QTest::newRow("print") << u"print"_s << u"Yazdır..."_s;
        QTest::newRow("export") << u"exportPdf"_s << u"PDF Olarak Kaydet..."_s;
    }

    void actions()
    {
        QFETCH(QString, objectName);
        QFETCH(QString, text);
        const ReportViewer viewer(filledPage());
        const QAction *action = findAction(viewer, objectName);
        QVERIFY(action);
        QCOMPARE(action->text(), text);
        QCOMPARE(action->toolTip(), text);
        QVERIFY(action->isEnabled());
    }

    void zoomActionsDriveThePreview()
    {
        ReportViewer viewer(filledPage());
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        QPrintPreviewWidget *preview = viewer.preview();

        findAction(viewer, u"fitPage"_s)->trigger();
        QCOMPARE(preview->zoomMode(), QPrintPreviewWidget::FitInView);
        const qreal fitted = preview->zoomFactor();
        findAction(viewer, u"zoomIn"_s)->trigger();
        QVERIFY(preview->zoomFactor() > fitted);
        findAction(viewer, u"zoomOut"_s)->trigger();
        findAction(viewer, u"zoomOut"_s)->trigger();
        QVERIFY(preview->zoomFactor() < fitted);
        findAction(viewer, u"fitWidth"_s)->trigger();
        QCOMPARE(preview->zoomMode(), QPrintPreviewWidget::FitToWidth);
    }

    // Printing goes through the same painting: a PDF printer receives the
    // page at its place on letter paper.
    void printingPaintsThePage()
    {
        if (!popplerAvailable())
            QSKIP("poppler-utils (pdfinfo, pdftotext, pdffonts) are not installed");
        QTemporaryDir dir;
        const QString path = dir.filePath(u"yazici.pdf"_s);
        ReportViewer viewer(filledPage());
        viewer.printer()->setOutputFormat(QPrinter::PdfFormat);
        viewer.printer()->setOutputFileName(path);
        viewer.preview()->print();

        QCOMPARE(pdfInfoValue(path, u"Pages"_s), u"1"_s);
        QVERIFY(pdfInfoValue(path, u"Page size"_s).startsWith(u"612 x 792 pts"_s));
        bool titleFound = false;
        for (const PdfWord &word : pdfWords(path)) {
            if (word.text == u"ZELVAN") {
                titleFound = true;
                QCOMPARE(qRound(word.box.left() * 20), 500 + 4320);
            }
        }
        QVERIFY(titleFound);
    }

    void exportWritesThePdf()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"rapor.pdf"_s);
        RecordingMessageBoxes messages;
        ReportViewer viewer(filledPage(), &messages);
        QVERIFY(viewer.exportPdfTo(path));
        QVERIFY(QFileInfo(path).size() > 0);
        QVERIFY(messages.shown.isEmpty());
    }

    void exportFailureIsShown()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"yok/rapor.pdf"_s);
        RecordingMessageBoxes messages;
        ReportViewer viewer(filledPage(), &messages);
        QVERIFY(!viewer.exportPdfTo(path));
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown.at(0).text.startsWith(u"PDF dosyası yazılamadı: "_s));
        QCOMPARE(messages.shown.at(0).style, MsgBox::OkOnly | MsgBox::Critical);
        QCOMPARE(messages.shown.at(0).caption, u"ZELVAN RAPORU"_s);
    }

    void closingEmitsClosed()
    {
        ReportViewer viewer(filledPage());
        QSignalSpy closed(&viewer, &ReportViewer::closed);
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        QCOMPARE(closed.count(), 0);
        QVERIFY(viewer.close());
        QCOMPARE(closed.count(), 1);
    }
};

QTEST_MAIN(TestReportViewer)
#include "tst_reportviewer.moc"
