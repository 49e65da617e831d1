#include "platform/reportexport.h"
#include "support/popplertools.h"
#include "support/reportpages.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

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

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString collapseBlanks(QString text)
{
    return text.replace(QRegularExpression(u"\\s+"_s), u" "_s);
}

} // namespace

class TestReportExport : public QObject
{
    Q_OBJECT

private slots:
    // Read back as any reader would: one letter-size page without printer
    // margins, fonts embedded, every text selectable letter for letter.
    void pdfReadsBack()
    {
        if (!popplerAvailable())
            QSKIP("poppler-utils (pdfinfo, pdftotext, pdffonts) are not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"rapor.pdf"_s);
        QString error;
        QVERIFY2(writePdf(filledPage(), pdf, &error), qPrintable(error));
        QCOMPARE(pdfInfoValue(pdf, u"Pages"_s), u"1"_s);
        QVERIFY(pdfInfoValue(pdf, u"Page size"_s).startsWith(u"612 x 792 pts"_s));
        QCOMPARE(pdfInfoValue(pdf, u"Title"_s), u"ZELVAN RAPORU"_s);

        const QStringList fonts = runPoppler(u"pdffonts"_s, {pdf}).split(u'\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY(!fonts.isEmpty());
        for (const QString &line : fonts) {
            // Font names have no blanks; after "emb" come the columns sub, uni, object and ID.
            const QStringList cells = line.split(u' ', Qt::SkipEmptyParts);
            QVERIFY2(cells.first().contains(u"Narrow"_s) && cells.at(cells.size() - 5) == u"yes", qPrintable(line));
        }

        const QString text = collapseBlanks(runPoppler(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s}));
        const ReportPage page = filledPage();
        for (const ReportSection &s : page.sections) {
            for (const ReportControl &c : s.controls)
                QVERIFY2(text.contains(collapseBlanks(c.text)), qPrintable(c.text));
        }

        // The title at its place; the gap before "Kalanları" in "Parçalı Senetlerin  Kalanları"
        // is two blanks wide, twice that in the row "Parçalı Çeklerin Kalanları".
        QMap<QString, double> gapAfter;
        const QList<PdfWord> words = pdfWords(pdf);
        for (qsizetype i = 1; i < words.size(); ++i) {
            if (words[i].text == u"Kalanları")
                gapAfter.insert(words[i - 1].text, words[i].box.left() - words[i - 1].box.right());
            if (words[i].text == u"ZELVAN")
                QCOMPARE(qRound(words[i].box.left() * 20), 500 + 4320);
        }
        const double blank = gapAfter.value(u"Çeklerin"_s);
        QVERIFY(blank > 1 && blank < 3);
        QVERIFY2(qAbs(gapAfter.value(u"Senetlerin"_s) - 2 * blank) < 0.5, qPrintable(QString::number(blank)));
    }

    // A write replaces the target only once the whole file is written: a
    // failure (no folder; a full disk, here a file size limit) leaves the old
    // file whole, no stray file, and a reason for the user.
    void writeReplacesOnlyWhenWhole_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("pdf") << u"PDF"_s;
        QTest::newRow("png") << u"PNG"_s;
    }

    void writeReplacesOnlyWhenWhole()
    {
        QFETCH(QString, format);
        const auto write = [&format](const QString &path, QString *error) {
            return format == u"PDF" ? writePdf(filledPage(), path, error) : writePng(filledPage(), path, error);
        };
        QTemporaryDir dir;
        const QString path = dir.filePath(u"rapor."_s + format.toLower());
        const QString missing = dir.filePath(u"yok/rapor."_s + format.toLower());
        const QString prefix = format + u" dosyası yazılamadı: "_s;
        QString error;
        QVERIFY(!write(missing, &error));
        QVERIFY2(error.startsWith(prefix + QDir::toNativeSeparators(missing) + u": "_s) && !error.endsWith(u": "_s),
                 qPrintable(error));
        QVERIFY(!QFileInfo::exists(dir.filePath(u"yok"_s)));

        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(100000, 'x')) == 100000);
        old.close();
        QVERIFY(write(path, &error));
        QVERIFY(readAll(path).startsWith(format == u"PDF" ? QByteArray("%PDF-") : QByteArray("\x89PNG")));
        QCOMPARE(readAll(path).indexOf(QByteArray(1000, 'x')), -1);
        if (format == u"PNG") {
            const QImage image(path);
            QVERIFY(image.size() == QSize(1275, 1650) && qRound(image.dotsPerMeterX() * 0.0254) == 150);
        }
#ifdef Q_OS_UNIX
        const QByteArray written = readAll(path);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = 2000;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
        const bool ok = write(path, &error);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!ok);
        QVERIFY2(error.startsWith(prefix + QDir::toNativeSeparators(path)), qPrintable(error));
        QCOMPARE(readAll(path), written);
#endif
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList(QFileInfo(path).fileName()));
    }
};

QTEST_MAIN(TestReportExport)
#include "tst_reportexport.moc"
