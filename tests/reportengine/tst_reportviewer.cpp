#include "reportengine/reportviewer.h"
#include "support/fakeservices.h"
#include "support/popplertools.h"
#include "support/reportpages.h"

#include <QAction>
#include <QPrintPreviewWidget>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan;
using namespace zelvan::reportengine;
using namespace zelvan::test;

class TestReportViewer : public QObject
{
    Q_OBJECT

private slots:
    // One page fitted to the width; each action by its Turkish text, the zoom actions drive the preview.
    // A failed export says why; the printer gets the bare letter-size paper and the same painting: the
    // page draws its margins.
    void windowActionsAndPrinter()
    {
        QTemporaryDir dir;
        RecordingMessageBoxes messages;
        ReportViewer viewer(filledReportPage(u"0,00"_s), &messages);
        QCOMPARE(viewer.windowTitle() + u'|' + viewer.findChild<QToolBar *>()->toolTip(), u"ZELVAN RAPORU|Zelvan "_s + QStringLiteral(ZELVAN_VERSION));
        QCOMPARE(viewer.size(), QSize(qRound(15240 * viewer.logicalDpiX() / 1440.0), qRound(11010 * viewer.logicalDpiY() / 1440.0)));
        int closed = 0;
        QObject::connect(&viewer, &ReportViewer::closed, [&closed] { ++closed; });
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        QPrintPreviewWidget *preview = viewer.preview();
        preview->updatePreview();
        QVERIFY(preview->pageCount() == 1 && preview->zoomMode() == QPrintPreviewWidget::FitToWidth);

        const auto action = [&viewer](const QString &name, const QString &text) {
            QAction *a = viewer.findChild<QAction *>(name);
            return a && a->text() == text && a->toolTip() == text && a->isEnabled() ? a : nullptr;
        };
        QVERIFY(action(u"print"_s, u"Yazdır..."_s) && action(u"exportPdf"_s, u"PDF Olarak Kaydet..."_s));
        action(u"fitPage"_s, u"Tüm Sayfa"_s)->trigger();
        QCOMPARE(preview->zoomMode(), QPrintPreviewWidget::FitInView);
        const qreal fitted = preview->zoomFactor();
        action(u"zoomIn"_s, u"Yakınlaştır"_s)->trigger();
        QVERIFY(preview->zoomFactor() > fitted);
        for (int i = 0; i < 2; ++i) action(u"zoomOut"_s, u"Uzaklaştır"_s)->trigger();
        QVERIFY(preview->zoomFactor() < fitted);
        action(u"fitWidth"_s, u"Sayfa Genişliği"_s)->trigger();
        QVERIFY(preview->zoomMode() == QPrintPreviewWidget::FitToWidth && closed == 0 && viewer.close() && closed == 1);

        QVERIFY(viewer.exportPdfTo(dir.filePath(u"rapor.pdf"_s)) && readFile(dir.filePath(u"rapor.pdf"_s)).startsWith("%PDF-"));
        QVERIFY(!viewer.exportPdfTo(dir.filePath(u"yok/rapor.pdf"_s)) && messages.texts().value(0).startsWith(u"PDF dosyası yazılamadı: "_s));
        QVERIFY(messages.shown.size() == 1 && messages.shown[0].style == (platform::MsgBox::OkOnly | platform::MsgBox::Critical) && messages.shown[0].caption == u"ZELVAN RAPORU");
        QVERIFY(viewer.printer()->fullPage()
                && viewer.printer()->pageLayout().isEquivalentTo(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF())));
        if (!popplerAvailable())
            QSKIP("poppler-utils (pdfinfo, pdftotext, pdffonts) are not installed");
        viewer.printer()->setOutputFileName(dir.filePath(u"yazici.pdf"_s));
        viewer.preview()->print();
        QVERIFY(std::ranges::any_of(pdfWords(dir.filePath(u"yazici.pdf"_s)),
                                    [](const auto &w) { return w.text == u"ZELVAN" && qRound(w.box.left() * 20) == 500 + 4320; }));
    }

    // The page on screen is announced once, after its first painting, however often it is painted again.
    void pageShownOnce()
    {
        ReportViewer viewer(filledReportPage(u"0,00"_s));
        QSignalSpy shown(&viewer, &ReportViewer::pageShown);
        viewer.show();
        QVERIFY(shown.wait());
        viewer.preview()->zoomIn();
        viewer.repaint();
        QTest::qWait(50);
        QCOMPARE(shown.count(), 1);
    }
};

QTEST_MAIN(TestReportViewer)
#include "tst_reportviewer.moc"
