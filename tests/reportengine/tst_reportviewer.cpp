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
        ReportPage page = filledReportPage(u"0,00"_s);
        page.documentTitle = u"ZELVAN RAPORU - Demo Ticaret A.Ş. (DT01)"_s;
        ReportViewer viewer(page, &messages);
        QCOMPARE(viewer.windowTitle(), page.documentTitle);
        QCOMPARE(viewer.printer()->docName(), page.documentTitle);
        QCOMPARE(viewer.findChild<QToolBar *>()->toolTip(), u"Zelvan "_s + QStringLiteral(ZELVAN_VERSION));
        QCOMPARE(viewer.size(), QSize(qRound(15240 * viewer.logicalDpiX() / 1440.0), qRound(11010 * viewer.logicalDpiY() / 1440.0)));
        int closed = 0;
        QObject::connect(&viewer, &ReportViewer::closed, [&closed] { ++closed; });
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        QPrintPreviewWidget *preview = viewer.preview();
        preview->updatePreview();
        QCOMPARE(preview->pageCount(), 1);
        QCOMPARE(preview->zoomMode(), QPrintPreviewWidget::FitToWidth);

        const QList<std::pair<const char *, QString>> actions{{"print", u"Yazdır..."_s}, {"exportPdf", u"PDF Olarak Kaydet..."_s},
                                                              {"fitPage", u"Tüm Sayfa"_s}, {"zoomIn", u"Yakınlaştır"_s},
                                                              {"zoomOut", u"Uzaklaştır"_s}, {"fitWidth", u"Sayfa Genişliği"_s}};
        for (const auto &[name, text] : actions) {
            const QAction *a = viewer.findChild<QAction *>(QLatin1StringView(name));
            QVERIFY2(a, name);
            QCOMPARE(a->text(), text);
        }
        const auto trigger = [&viewer](const char *name) { viewer.findChild<QAction *>(QLatin1StringView(name))->trigger(); };
        trigger("fitPage");
        QCOMPARE(preview->zoomMode(), QPrintPreviewWidget::FitInView);
        const qreal fitted = preview->zoomFactor();
        trigger("zoomIn");
        QVERIFY(preview->zoomFactor() > fitted);
        trigger("zoomOut");
        trigger("zoomOut");
        QVERIFY(preview->zoomFactor() < fitted);
        trigger("fitWidth");
        QCOMPARE(preview->zoomMode(), QPrintPreviewWidget::FitToWidth);
        QCOMPARE(closed, 0);
        QVERIFY(viewer.close());
        QCOMPARE(closed, 1);

        QVERIFY(viewer.exportPdfTo(dir.filePath(u"rapor.pdf"_s)));
        QVERIFY(!viewer.exportPdfTo(dir.filePath(u"yok/rapor.pdf"_s)));
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].text.startsWith(u"PDF dosyası yazılamadı: "_s));
        QCOMPARE(messages.shown[0].style, platform::MsgBox::OkOnly | platform::MsgBox::Critical);
        QCOMPARE(messages.shown[0].caption, u"ZELVAN RAPORU"_s);
        QVERIFY(viewer.printer()->fullPage());
        QVERIFY(viewer.printer()->pageLayout().isEquivalentTo(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF())));
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
