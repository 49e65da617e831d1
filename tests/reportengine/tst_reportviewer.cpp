#include "platform/registryfilestore.h"
#include "reportengine/reportviewer.h"
#include "support/fakeservices.h"
#include "support/popplertools.h"
#include "support/reportpages.h"

#include <QAction>
#include <QApplication>
#include <QGraphicsView>
#include <QLabel>
#include <QWheelEvent>
#include <QMouseEvent>
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
    // A failed export says why; the printer gets the bare letter-size paper (its painting: printedOnA4).
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
                                                              {"exportWorkbook", u"Excel Olarak Kaydet..."_s},
                                                              {"fitPage", u"Tüm Sayfa"_s}, {"zoomIn", u"Yakınlaştır"_s},
                                                              {"zoomOut", u"Uzaklaştır"_s}, {"fitWidth", u"Sayfa Genişliği"_s}};
        for (const auto &[name, text] : actions) {
            const QAction *a = viewer.findChild<QAction *>(QLatin1StringView(name));
            QVERIFY2(a, name);
            QCOMPARE(a->text(), text);
        }
        const auto trigger = [&viewer](const char *name) { viewer.findChild<QAction *>(QLatin1StringView(name))->trigger(); };
        trigger("fitPage");  // zoomIn and fitWidth: rememberedSizeAndZoom
        QCOMPARE(preview->zoomMode(), QPrintPreviewWidget::FitInView);
        const qreal fitted = preview->zoomFactor();
        trigger("zoomOut");
        QVERIFY(preview->zoomFactor() < fitted);
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
    }

    // Each key closes the window as its close box does.
    void closeKeys_data()
    {
        QTest::addColumn<QKeyCombination>("key");
        QTest::newRow("Escape") << QKeyCombination(Qt::Key_Escape);
        QTest::newRow("Ctrl+W") << QKeyCombination(Qt::CTRL | Qt::Key_W);
        QTest::newRow("Ctrl+Q") << QKeyCombination(Qt::CTRL | Qt::Key_Q);
    }
    void closeKeys()
    {
        QFETCH(QKeyCombination, key);
        ReportViewer viewer(filledReportPage(u"0,00"_s));
        QSignalSpy closed(&viewer, &ReportViewer::closed);
        viewer.show();
        QVERIFY(QTest::qWaitForWindowActive(&viewer));
        QTest::keyClick(viewer.preview()->findChild<QGraphicsView *>()->viewport(), key.key(), key.keyboardModifiers());
        QCOMPARE(closed.count(), 1);
        QVERIFY(!viewer.isVisible());
    }

    // Ctrl and the wheel zoom by a step per notch; the wheel alone scrolls. The tool bar shows the zoom the
    // Turkish way; tool tips name the keys; F5 asks for the figures again.
    void wheelZoomTipsAndRefresh()
    {
        ReportViewer viewer(filledReportPage(u"0,00"_s));
        QSignalSpy refresh(&viewer, &ReportViewer::refreshRequested);
        viewer.show();
        QVERIFY(QTest::qWaitForWindowActive(&viewer));
        QWidget *pageArea = viewer.preview()->findChild<QGraphicsView *>()->viewport();
        const auto wheel = [pageArea](int notches, Qt::KeyboardModifiers modifiers) {
            const QPointF at = pageArea->rect().center();
            QWheelEvent event(at, pageArea->mapToGlobal(at), QPoint(), QPoint(0, notches * QWheelEvent::DefaultDeltasPerStep),
                              Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(pageArea, &event);
        };
        const qreal fitted = viewer.preview()->zoomFactor();
        wheel(1, Qt::NoModifier);
        QCOMPARE(viewer.preview()->zoomFactor(), fitted);
        wheel(2, Qt::ControlModifier);
        QCOMPARE_GT(viewer.preview()->zoomFactor(), fitted);
        const QLabel *zoom = viewer.findChild<QLabel *>(u"zoomLabel"_s);
        QCOMPARE(zoom->text(), u"%"_s + QString::number(qRound(viewer.preview()->zoomFactor() * 100)));
        wheel(-2, Qt::ControlModifier);
        QCOMPARE(viewer.preview()->zoomFactor(), fitted);
        QCOMPARE(viewer.findChild<QAction *>(u"zoomIn"_s)->toolTip(),
                 u"Yakınlaştır (%1)"_s.arg(QKeySequence(QKeySequence::ZoomIn).toString(QKeySequence::NativeText)));
        QVERIFY(!viewer.findChild<QAction *>(u"print"_s)->icon().isNull());
        QTest::keyClick(pageArea, Qt::Key_F5);
        QCOMPARE(refresh.count(), 1);
    }

    // The size and a zoom of the user's own are there again in the next viewer; a fitted zoom stays fitted.
    void rememberedSizeAndZoom()
    {
        QTemporaryDir dir;
        platform::RegistryFileStore registry(dir.filePath(u"registry.reg"_s));
        {
            ReportViewer first(filledReportPage(u"0,00"_s));
            first.rememberIn(&registry);
            first.show();
            first.resize(700, 520);
            first.findChild<QAction *>(u"zoomIn"_s)->trigger();
            QVERIFY(first.close());
        }
        ReportViewer second(filledReportPage(u"0,00"_s));
        second.rememberIn(&registry);
        QCOMPARE(second.size(), QSize(700, 520));
        QCOMPARE(second.preview()->zoomMode(), QPrintPreviewWidget::CustomZoom);
        const QString zoom = second.zoomText();
        second.findChild<QAction *>(u"fitWidth"_s)->trigger();
        QVERIFY(second.close());
        ReportViewer third(filledReportPage(u"0,00"_s));
        third.rememberIn(&registry);
        QCOMPARE(third.preview()->zoomMode(), QPrintPreviewWidget::FitToWidth);
        QVERIFY(zoom != u"%0"_s);
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
        QTest::newRow("colon, right column") << u"Label16"_s << u"porfoydeki_cekler"_s;
        QTest::newRow("amount of the stock") << u"toplam_Stok_degeri"_s << u"toplam_Stok_degeri"_s;
        QTest::newRow("a total") << u"sirketin_genel_borçları_toplamı"_s << QString();
        QTest::newRow("a heading") << u"Label2"_s << QString();
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

    // Tab and Shift+Tab move the focus through the figures in page order, round the ends; Enter opens the focused one.
    void keyboard()
    {
        ReportViewer viewer(filledReportPage(u"0,00"_s));
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        QWidget *view = viewer.pageArea()->parentWidget();
        QSignalSpy activated(&viewer, &ReportViewer::linkActivated);
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(activated.count(), 0);
        QTest::keyClick(view, Qt::Key_Tab);
        QCOMPARE(viewer.focusedLink(), u"kesilen_Cekler"_s);
        QTest::keyClick(view, Qt::Key_Backtab);
        QCOMPARE(viewer.focusedLink(), u"acık_hesaptakı_boırclar"_s);
        QTest::keyClick(view, Qt::Key_Enter);
        QCOMPARE(activated.count(), 1);
        QCOMPARE(activated[0][0].toString(), u"acık_hesaptakı_boırclar"_s);
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
