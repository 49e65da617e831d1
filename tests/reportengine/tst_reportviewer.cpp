#include "reportengine/reportviewer.h"
#include "support/fakeservices.h"
#include "support/popplertools.h"
#include "support/reportpages.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPrintPreviewWidget>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan;
using namespace zelvan::reportengine;
using namespace zelvan::test;

class TestReportViewer : public QObject
{
    Q_OBJECT

private slots:
    // The window and the printer named as the document; a failed export says why; the printer gets the bare
    // letter-size paper (its painting: printedOnA4).
    void titleExportAndPrinter()
    {
        QTemporaryDir dir;
        RecordingMessageBoxes messages;
        ReportPage page = filledReportPage(u"0,00"_s);
        page.documentTitle = u"ZELVAN RAPORU - Demo Ticaret A.Ş. (DT01)"_s;
        ReportViewer viewer(page, &messages);
        QCOMPARE(viewer.windowTitle(), page.documentTitle);
        QCOMPARE(viewer.printer()->docName(), page.documentTitle);
        QVERIFY(viewer.exportPdfTo(dir.filePath(u"rapor.pdf"_s)));
        QVERIFY(!viewer.exportPdfTo(dir.filePath(u"yok/rapor.pdf"_s)));
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].text.startsWith(u"PDF dosyası yazılamadı: "_s));
        QCOMPARE(messages.shown[0].style, platform::MsgBox::OkOnly | platform::MsgBox::Critical);
        QCOMPARE(messages.shown[0].caption, u"ZELVAN RAPORU"_s);
        QVERIFY(viewer.printer()->fullPage());
        QVERIFY(viewer.printer()->pageLayout().isEquivalentTo(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF())));
    }

    // On A4 the letter-size page is scaled down evenly by the width: nothing is cut off.
    void printedOnA4()
    {
        if (!popplerAvailable())
            QSKIP("poppler-utils (pdfinfo, pdftotext, pdffonts) are not installed");
        QTemporaryDir dir;
        ReportViewer viewer(filledReportPage(u"-1.234.567,89"_s));
        const QString pdf = dir.filePath(u"a4.pdf"_s);
        viewer.printer()->setPageSize(QPageSize(QPageSize::A4));
        viewer.printer()->setOutputFileName(pdf);
        viewer.preview()->print();
        QCOMPARE(pdfInfoValue(pdf, u"Page size"_s), u"595 x 842 pts (A4)"_s);
        const auto words = pdfWords(pdf);
        QVERIFY(!words.isEmpty());
        const double right = std::ranges::max(words, {}, [](const auto &w) { return w.box.right(); }).box.right();
        QCOMPARE_LE(right, 595.0);
        // The title starts where the page puts it (25 + 216 pt), scaled by 595 / 612.
        const auto title = std::ranges::find_if(words, [](const auto &w) { return w.text == u"ZELVAN"; });
        QVERIFY(title != words.end());
        QCOMPARE_LT(qAbs(title->box.left() - (500 + 4320) / 20.0 * 595 / 612), 0.1);
    }

    // The page is hit through its own description: a figure's caption, colon and amount carry its link, so the
    // pointer is a hand over them and a double-click opens that figure; elsewhere nothing happens.
    void hitTest_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("link");
        QTest::newRow("caption, left column") << u"Label4"_s << u"kesilen_Cekler"_s;
        QTest::newRow("a total") << u"sirketin_genel_borçları_toplamı"_s << QString();
    }
    void hitTest()
    {
        QFETCH(QString, control);
        QFETCH(QString, link);
        ReportViewer viewer(filledReportPage(u"0,00"_s));
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        viewer.preview()->updatePreview();
        const QPoint at = viewer.toPageArea(viewer.page().controlRect(*viewer.page().control(control)).center());
        QSignalSpy activated(&viewer, &ReportViewer::linkActivated);
        // Sent directly: under the offscreen platform QTest's moves did not reach the later windows of a run.
        QMouseEvent move(QEvent::MouseMove, at, viewer.pageArea()->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewer.pageArea(), &move);
        QCOMPARE(viewer.pageArea()->cursor().shape() == Qt::PointingHandCursor, !link.isEmpty());
        QTest::mouseDClick(viewer.pageArea(), Qt::LeftButton, {}, at);
        QCOMPARE(activated.count(), link.isEmpty() ? 0 : 1);
        QCOMPARE(viewer.focusedLink(), link);
        if (!link.isEmpty())
            QCOMPARE(activated[0][0].toString(), link);
    }

};

QTEST_MAIN(TestReportViewer)
#include "tst_reportviewer.moc"
