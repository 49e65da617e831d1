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

class TestReportViewer : public QObject
{
    Q_OBJECT

private slots:
    // One page fitted to the width; each action by its Turkish text, the zoom actions drive the preview.
    void windowAndActions()
    {
        ReportViewer viewer(filledReportPage(u"0,00"_s));
        QCOMPARE(viewer.windowTitle(), u"ZELVAN RAPORU"_s);
        QCOMPARE(viewer.findChild<QToolBar *>()->toolTip(), u"Zelvan "_s + QStringLiteral(ZELVAN_VERSION));
        QCOMPARE(viewer.size(), QSize(qRound(15240 * viewer.logicalDpiX() / 1440.0), qRound(11010 * viewer.logicalDpiY() / 1440.0)));
        QSignalSpy closed(&viewer, &ReportViewer::closed);
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        QPrintPreviewWidget *preview = viewer.preview();
        preview->updatePreview();
        QCOMPARE(preview->pageCount(), 1);
        QCOMPARE(preview->zoomMode(), QPrintPreviewWidget::FitToWidth);

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
        action(u"zoomOut"_s, u"Uzaklaştır"_s)->trigger();
        action(u"zoomOut"_s, u"Uzaklaştır"_s)->trigger();
        QVERIFY(preview->zoomFactor() < fitted);
        action(u"fitWidth"_s, u"Sayfa Genişliği"_s)->trigger();
        QCOMPARE(preview->zoomMode(), QPrintPreviewWidget::FitToWidth);
        QCOMPARE(closed.count(), 0);
        QVERIFY(viewer.close());
        QCOMPARE(closed.count(), 1);
    }

    // A failed export says why; the printer gets the bare letter-size paper and the same painting:
    // the page draws its margins.
    void exportAndPrint()
    {
        QTemporaryDir dir;
        RecordingMessageBoxes messages;
        ReportViewer viewer(filledReportPage(u"0,00"_s), &messages);
        QVERIFY(viewer.exportPdfTo(dir.filePath(u"rapor.pdf"_s)) && QFileInfo(dir.filePath(u"rapor.pdf"_s)).size() > 0);
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(!viewer.exportPdfTo(dir.filePath(u"yok/rapor.pdf"_s)));
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown.at(0).text.startsWith(u"PDF dosyası yazılamadı: "_s));
        QCOMPARE(messages.shown.at(0).style, MsgBox::OkOnly | MsgBox::Critical);
        QCOMPARE(messages.shown.at(0).caption, u"ZELVAN RAPORU"_s);

        const QPageLayout layout = viewer.printer()->pageLayout();
        QVERIFY(layout.pageSize().id() == QPageSize::Letter && layout.orientation() == QPageLayout::Portrait);
        QVERIFY(viewer.printer()->fullPage() && layout.margins() == QMarginsF());
        if (!popplerAvailable())
            QSKIP("poppler-utils (pdfinfo, pdftotext, pdffonts) are not installed");
        const QString path = dir.filePath(u"yazici.pdf"_s);
        viewer.printer()->setOutputFormat(QPrinter::PdfFormat);
        viewer.printer()->setOutputFileName(path);
        viewer.preview()->print();
        QCOMPARE(pdfInfoValue(path, u"Pages"_s), u"1"_s);
        const QList<PdfWord> words = pdfWords(path);
        const auto title = std::find_if(words.cbegin(), words.cend(), [](const PdfWord &w) { return w.text == u"ZELVAN"; });
        QVERIFY(title != words.cend());
        QCOMPARE(qRound(title->box.left() * 20), 500 + 4320);
    }
};

QTEST_MAIN(TestReportViewer)
#include "tst_reportviewer.moc"
