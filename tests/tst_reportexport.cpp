#include "platform/reportexport.h"
#include "support/popplertools.h"
#include "support/reportpages.h"
#include "support/zelvanrun.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan::platform;
using namespace zelvan::test;

namespace {

ReportPage filledPage()
{
    ReportPage page = filledReportPage(u"1.500.000,00"_s);
    page.setFieldText(u"sirketin_genel_alacakları_toplamı"_s, u"-12.345,67"_s);
    return page;
}

QString collapseBlanks(QString text) { return text.replace(QRegularExpression(u"\\s+"_s), u" "_s); }

} // namespace

class TestReportExport : public QObject
{
    Q_OBJECT

private slots:
    // Read back: one letter-size page, fonts embedded, every text selectable letter for letter.
    void pdfReadsBack()
    {
        if (!popplerAvailable())
            QSKIP("poppler-utils (pdfinfo, pdftotext, pdffonts) are not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"rapor.pdf"_s);
        QString error;
        QVERIFY2(writePdf(filledPage(), pdf, &error), qPrintable(error));
        QCOMPARE(pdfInfoValue(pdf, u"Pages"_s) + u' ' + pdfInfoValue(pdf, u"Title"_s), u"1 ZELVAN RAPORU"_s);
        QVERIFY(pdfInfoValue(pdf, u"Page size"_s).startsWith(u"612 x 792 pts"_s));

        const QStringList fonts = runPoppler(u"pdffonts"_s, {pdf}).split(u'\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY(!fonts.isEmpty());
        for (const QString &line : fonts) {   // after "emb" come the columns sub, uni, object and ID
            const QStringList cells = line.split(u' ', Qt::SkipEmptyParts);
            QVERIFY2(cells.first().contains(u"Narrow"_s) && cells.at(cells.size() - 5) == u"yes", qPrintable(line));
        }
        const QString text = collapseBlanks(runPoppler(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s}));
        for (const ReportSection &s : filledPage().sections) {
            for (const ReportControl &c : s.controls)
                QVERIFY2(text.contains(collapseBlanks(c.text)), qPrintable(c.text));
        }
        const QList<PdfWord> words = pdfWords(pdf);
        const auto title = std::find_if(words.cbegin(), words.cend(), [](const PdfWord &w) { return w.text == u"ZELVAN"; });
        QVERIFY(title != words.cend());
        QCOMPARE(qRound(title->box.left() * 20), 500 + 4320);
    }

    // A write replaces the target whole; a failure leaves no stray file and gives a reason for the user
    // (a full disk keeping the old file is run end to end).
    void writeReplacesWhole()
    {
        for (const QString &format : {u"PDF"_s, u"PNG"_s}) {
            QTemporaryDir dir;
            const auto write = format == u"PDF" ? writePdf : writePng;
            const QString path = dir.filePath(u"rapor."_s + format.toLower());
            const QString missing = dir.filePath(u"yok/rapor."_s + format.toLower());
            QString error;
            QVERIFY(!write(filledPage(), missing, &error));
            QVERIFY2(error.startsWith(format + u" dosyası yazılamadı: "_s + QDir::toNativeSeparators(missing) + u": "_s)
                         && !error.endsWith(u": "_s), qPrintable(error));
            QVERIFY(!QFileInfo::exists(dir.filePath(u"yok"_s)));

            QVERIFY(writeFile(path, QByteArray(100000, 'x')));
            QVERIFY(write(filledPage(), path, &error));
            const QByteArray written = readFile(path);
            QVERIFY(written.startsWith(format == u"PDF" ? QByteArray("%PDF-") : QByteArray("\x89PNG")));
            QCOMPARE(written.indexOf(QByteArray(1000, 'x')), -1);
            const QImage image(path);
            QVERIFY(format == u"PDF" || (image.size() == QSize(1275, 1650) && qRound(image.dotsPerMeterX() * 0.0254) == 150));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList(QFileInfo(path).fileName()));
        }
    }
};

QTEST_MAIN(TestReportExport)
#include "tst_reportexport.moc"
