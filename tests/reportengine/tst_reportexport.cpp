#include "reportengine/reportexport.h"
#include "support/popplertools.h"
#include "support/reportpages.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan;
using namespace zelvan::reportengine;
using namespace zelvan::test;

class TestReportExport : public QObject
{
    Q_OBJECT

    const ReportPage m_page = filledReportPage(u"-1.234.567,89"_s);

private slots:
    // Read back: whose report it is in the document's information, one letter-size page, fonts embedded, every
    // text selectable letter for letter, margins drawn.
    void pdfReadsBack()
    {
        if (!popplerAvailable())
            QSKIP("poppler-utils (pdfinfo, pdftotext, pdffonts) are not installed");
        ReportPage page = m_page;
        page.documentTitle = u"ZELVAN RAPORU - Demo Ticaret A.Ş. (DT01)"_s;
        page.documentSubject = u"Veritabanı: NRV_DEMO_2026, 06.12.2026 09:05:00 (parantez) \\"_s;
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"rapor.pdf"_s);
        QVERIFY(writePdf(page, pdf));
        QCOMPARE(pdfInfoValue(pdf, u"Pages"_s), u"1"_s);
        QCOMPARE(pdfInfoValue(pdf, u"Title"_s), page.documentTitle);
        QCOMPARE(pdfInfoValue(pdf, u"Subject"_s), page.documentSubject);
        QCOMPARE(pdfInfoValue(pdf, u"Page size"_s).left(13), u"612 x 792 pts"_s);
        // Each font line: name, type, encoding, then emb, sub, uni, object and ID.
        QVERIFY(QRegularExpression(u"^(\\S*Narrow\\S* .* yes +(yes|no) +(yes|no) +\\d+ +\\d+\\n)+$"_s)
                    .match(runPoppler(u"pdffonts"_s, {pdf}).section(u'\n', 2)).hasMatch());
        const QString text = runPoppler(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s}).simplified();
        for (const ReportSection &s : m_page.sections)
            for (const ReportControl &c : s.controls)
                QVERIFY2(text.contains(c.text.simplified()), qPrintable(c.text));
        QVERIFY(std::ranges::any_of(pdfWords(pdf), [](const auto &w) { return w.text == u"ZELVAN" && qRound(w.box.left() * 20) == 500 + 4320; }));
    }
};

QTEST_MAIN(TestReportExport)
#include "tst_reportexport.moc"
