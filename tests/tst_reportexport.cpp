#include "platform/reportexport.h"
#include "report/activereport1.h"
#include "support/popplertools.h"
#include "support/reportpages.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace Qt::Literals::StringLiterals;
using zelvan::ActiveReport1;
using namespace zelvan::platform;
using namespace zelvan::test;

namespace {

ReportPage filledPage()
{
    ReportPage page = filledReportPage(u"1.500.000,00"_s);
    page.setFieldText(u"sirketin_genel_alacakları_toplamı"_s, u"-12.345,67"_s);
    return page;
}

bool write(const QString &format, const ReportPage &page, const QString &path, QString *error)
{
    return format == u"PDF" ? writePdf(page, path, error) : writePng(page, path, error);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString collapseBlanks(QString text)
{
    static const QRegularExpression blanks(u"\\s+"_s);
    return text.replace(blanks, u" "_s);
}

#ifdef Q_OS_UNIX
// Makes writes beyond `bytes` fail as on a full disk, for the life of the object.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool active() const { return m_active; }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_active = false;
};
#endif

} // namespace

class TestReportExport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_pdf;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pdf = m_dir.filePath(u"rapor.pdf"_s);
        QString error;
        QVERIFY2(writePdf(filledPage(), m_pdf, &error), qPrintable(error));
    }

    void pngIsThePageAt150Dpi()
    {
        const QString path = m_dir.filePath(u"rapor.png"_s);
        QString error;
        QVERIFY2(writePng(filledPage(), path, &error), qPrintable(error));
        QVERIFY(error.isEmpty());
        QCOMPARE(QImageReader(path).format(), QByteArray("png"));
        const QImage image(path);
        QCOMPARE(image.size(), QSize(1275, 1650));
        QCOMPARE(qRound(image.dotsPerMeterX() * 0.0254), 150);
        QCOMPARE(qRound(image.dotsPerMeterY() * 0.0254), 150);
        QCOMPARE(image.pixel(0, 0), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(1274, 1649), qRgb(255, 255, 255));
        // The frame's top left corner: 500 + 90 twips from the left, 860 + 90 from the top.
        QVERIFY(qGray(image.pixel(61, 99)) < 128 || qGray(image.pixel(61, 98)) < 128);
    }

    void pdfPageAndProperties()
    {
        if (!popplerAvailable())
            QSKIP("poppler-utils (pdfinfo, pdftotext, pdffonts) are not installed");
        QCOMPARE(pdfInfoValue(m_pdf, u"Pages"_s), u"1"_s);
        QVERIFY2(pdfInfoValue(m_pdf, u"Page size"_s).startsWith(u"612 x 792 pts"_s),
                 qPrintable(pdfInfoValue(m_pdf, u"Page size"_s)));
        QCOMPARE(pdfInfoValue(m_pdf, u"Title"_s), u"ZELVAN RAPORU"_s);
        QCOMPARE(pdfInfoValue(m_pdf, u"Creator"_s), u"Zelvan"_s);
    }

    void pdfFontsAreEmbedded()
    {
        if (!popplerAvailable())
            QSKIP("poppler-utils (pdfinfo, pdftotext, pdffonts) are not installed");
        const QStringList lines = runPoppler(u"pdffonts"_s, {m_pdf}).split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() > 2);
        const QList<QStringView> header = QStringView(lines.at(0)).split(u' ', Qt::SkipEmptyParts);
        const qsizetype embedded = header.indexOf(u"emb");
        QVERIFY(embedded > 0);
        for (const QString &line : lines.mid(2)) {
            // Font names have no blanks; the type column may ("CID TrueType").
            const QStringList cells = line.split(u' ', Qt::SkipEmptyParts);
            QVERIFY2(cells.first().contains(u"Narrow"_s), qPrintable(line));
            QVERIFY2(cells.at(cells.size() - 5) == u"yes", qPrintable(line));  // emb sub uni object ID
        }
    }

    // Text is real text, read back letter for letter (dotted and dotless i,
    // cedillas); a reader collapses the blanks between words.
    void pdfTextIsSelectable_data()
    {
        QTest::addColumn<QString>("text");
        const ReportPage page = filledPage();
        for (const ReportSection &s : page.sections) {
            for (const ReportControl &c : s.controls) {
                if (c.kind == ReportControlKind::Label && c.text != u":")
                    QTest::newRow(qPrintable(c.name)) << c.text;
            }
        }
        QTest::newRow("amount") << u"1.500.000,00"_s;
        QTest::newRow("negative total") << u"-12.345,67"_s;
        QTest::newRow("tarih") << u"05.12.2026"_s;
        QTest::newRow("saat") << u"14:30:15"_s;
    }

    void pdfTextIsSelectable()
    {
        QFETCH(QString, text);
        if (!popplerAvailable())
            QSKIP("poppler-utils (pdfinfo, pdftotext, pdffonts) are not installed");
        const QString extracted = collapseBlanks(runPoppler(u"pdftotext"_s, {u"-layout"_s, m_pdf, u"-"_s}));
        QVERIFY2(extracted.contains(collapseBlanks(text)), qPrintable(text));
    }

    // The two blanks of "Parçalı Senetlerin  Kalanları" are drawn: its gap
    // before "Kalanları" is one blank wider than that of the row above.
    void pdfKeepsTwoBlanks()
    {
        if (!popplerAvailable())
            QSKIP("poppler-utils (pdfinfo, pdftotext, pdffonts) are not installed");
        const QList<PdfWord> words = pdfWords(m_pdf);
        QList<double> gaps;
        for (qsizetype i = 1; i < words.size(); ++i) {
            if (words.at(i).text == u"Kalanları" && words.at(i - 1).text.startsWith(u"Senetlerin"_s))
                gaps << words.at(i).box.left() - words.at(i - 1).box.right();
            if (words.at(i).text == u"Kalanları" && words.at(i - 1).text.startsWith(u"Çeklerin"_s))
                gaps.prepend(words.at(i).box.left() - words.at(i - 1).box.right());
        }
        QCOMPARE(gaps.size(), 2);
        const double blank = gaps.at(0);  // one blank of bold 8.5 pt Arial Narrow: about 1.9 pt
        QVERIFY(blank > 1 && blank < 3);
        QVERIFY2(qAbs(gaps.at(1) - 2 * blank) < 0.5, qPrintable(u"%1 vs %2"_s.arg(gaps.at(1)).arg(blank)));
    }

    // Positions are the page's own: no printer margin is added.
    void pdfKeepsThePageGeometry()
    {
        if (!popplerAvailable())
            QSKIP("poppler-utils (pdfinfo, pdftotext, pdffonts) are not installed");
        for (const PdfWord &word : pdfWords(m_pdf)) {
            if (word.text == u"ZELVAN") {
                QCOMPARE(qRound(word.box.left() * 20), 500 + 4320);
                return;
            }
        }
        QFAIL("no title in the PDF");
    }

    void writingIntoAMissingFolderFails_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("pdf") << u"PDF"_s;
        QTest::newRow("png") << u"PNG"_s;
    }

    void writingIntoAMissingFolderFails()
    {
        QFETCH(QString, format);
        const QString folder = m_dir.filePath(u"yok"_s);
        const QString path = folder + u"/rapor."_s + format.toLower();
        QString error;
        QVERIFY(!write(format, filledPage(), path, &error));
        QVERIFY2(error.startsWith(format + u" dosyası yazılamadı: "_s + QDir::toNativeSeparators(path) + u": "_s),
                 qPrintable(error));
        QVERIFY(error.size() > format.size() + 22 + path.size() + 2);  // a reason follows
        QVERIFY(!QFileInfo::exists(folder));
        QVERIFY(!write(format, filledPage(), path, nullptr));
    }

    void anExistingTargetIsReplaced_data() { writingIntoAMissingFolderFails_data(); }

    void anExistingTargetIsReplaced()
    {
        QFETCH(QString, format);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"rapor."_s + format.toLower());
        QVERIFY(writeFile(path, QByteArray(100000, 'x')));
        QString error;
        QVERIFY2(write(format, filledPage(), path, &error), qPrintable(error));
        const QByteArray written = readAll(path);
        QVERIFY(written.startsWith(format == u"PDF" ? QByteArray("%PDF-") : QByteArray("\x89PNG")));
        QVERIFY(!written.contains(QByteArray(1000, 'x')));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList(QFileInfo(path).fileName()));
    }

    // A write that fails half way (here: a file size limit, as a full disk
    // would) leaves the old file whole and no temporary file behind.
    void aFailedWriteKeepsTheExistingTarget_data() { writingIntoAMissingFolderFails_data(); }

    void aFailedWriteKeepsTheExistingTarget()
    {
#ifdef Q_OS_UNIX
        QFETCH(QString, format);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"rapor."_s + format.toLower());
        const QByteArray old("eski rapor");
        QVERIFY(writeFile(path, old));
        const ReportPage page = filledPage();
        QString error;
        bool written = true;
        {
            FileSizeLimit limit(2000);
            QVERIFY(limit.active());
            written = write(format, page, path, &error);
        }
        QVERIFY(!written);
        QVERIFY2(error.startsWith(format + u" dosyası yazılamadı: "_s + QDir::toNativeSeparators(path)),
                 qPrintable(error));
        QCOMPARE(readAll(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList(QFileInfo(path).fileName()));
#else
        QSKIP("needs a file size limit");
#endif
    }
};

QTEST_MAIN(TestReportExport)
#include "tst_reportexport.moc"
