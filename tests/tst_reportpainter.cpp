#include "platform/reportpainter.h"
#include "report/activereport1.h"
#include "support/reportpages.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan::platform;

Q_DECLARE_METATYPE(ReportAlignment)

namespace {

constexpr int MarginLeft = 500;
constexpr int SectionTop = 700 + 360;  // the top margin and the empty first section

double toPixels(double twips, int dpi = 150) { return twips * dpi / TwipsPerInch; }

// Bounding box of the dark pixels inside `region` (null when there are none).
QRect inkBounds(const QImage &image, const QRect &region)
{
    QRect bounds;
    const QRect r = region.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x)
            bounds |= qGray(image.pixel(x, y)) < 160 ? QRect(x, y, 1, 1) : QRect();
    }
    return bounds;
}

// A page whose second section holds `control`, so that the margins and the section above count.
QImage render(const ReportControl &control, int dpi = 150)
{
    ReportPage page;
    page.marginLeft = MarginLeft;
    page.marginTop = 700;
    page.sections << ReportSection{u"Ust"_s, 360, {}} << ReportSection{u"Govde"_s, 5000, {control}};
    return renderPage(page, dpi);
}

} // namespace

class TestReportPainter : public QObject
{
    Q_OBJECT

private slots:
    // One logical unit is one twip at every resolution; square caps reach 7.5 twips past the ends.
    void lineAtEachResolution()
    {
        for (const int dpi : {96, 300}) {
            const QImage image = render(ReportControl::line(u"yatay"_s, 90, 2000, 9000, 2000), dpi);
            QCOMPARE(image.size(), QSize(dpi * 17 / 2, dpi * 11));
            const double row = toPixels(SectionTop + 2000, dpi);
            const QRect across = inkBounds(image, QRect(qRound(toPixels(MarginLeft + 2000, dpi)), 0, 1, image.height()));
            QVERIFY(qAbs(across.center().y() - row) <= 1.5 && across.height() <= qCeil(toPixels(15, dpi)) + 1);
            const QRect line = inkBounds(image, QRect(0, qFloor(row) - 3, image.width(), 7));
            QVERIFY(qAbs(line.left() - toPixels(MarginLeft + 90 - 7.5, dpi)) <= 1.5);
            QVERIFY(qAbs(line.right() + 1 - toPixels(MarginLeft + 9000 + 7.5, dpi)) <= 1.5);
        }
    }

    // Fonts sized in twips: capitals as tall as the cap height, their top at the box's top plus the
    // ascent's headroom, placed by the box's alignment, cut at the box's edge (a run of W in 600 twips).
    void textSizeAndPlace_data()
    {
        QTest::addColumn<ReportAlignment>("alignment");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("clipped");
        QTest::newRow("left, 8.5 pt") << ReportAlignment::Left << 170 << false << false;
        QTest::newRow("center, 10 pt bold") << ReportAlignment::Center << 200 << true << false;
        QTest::newRow("right, 12 pt bold") << ReportAlignment::Right << 240 << true << false;
        QTest::newRow("clipped") << ReportAlignment::Left << 170 << true << true;
    }

    void textSizeAndPlace()
    {
        QFETCH(ReportAlignment, alignment);
        QFETCH(int, size);
        QFETCH(bool, bold);
        QFETCH(bool, clipped);
        const ReportFont font{u"Arial Narrow"_s, size, bold, false};
        const QFontInfo info(reportFont(font));
        QVERIFY2(info.family().contains(u"Narrow"_s) && info.bold() == bold && info.pixelSize() == size, qPrintable(info.family()));

        const int width = clipped ? 600 : 2250;
        const QImage image = render(ReportControl::label(u"H"_s, 1000, 1000, width, 270, clipped ? QString(30, u'W') : u"H"_s, font, alignment));
        const QRectF box(toPixels(MarginLeft + 1000), toPixels(SectionTop + 1000), toPixels(width), toPixels(270));
        const QRect ink = inkBounds(image, image.rect());
        QVERIFY(box.adjusted(-1, -1, 1, 1).contains(QRectF(ink)));
        const QFontMetricsF metrics(reportFont(font));
        const double capHeight = toPixels(metrics.capHeight());
        QVERIFY2(qAbs(ink.height() - capHeight) <= 1.5, qPrintable(u"%1 px, not %2"_s.arg(ink.height()).arg(capHeight)));
        QVERIFY(qAbs(ink.top() - (box.top() + toPixels(metrics.ascent()) - capHeight)) <= 1.5);
        const double left = ink.left() - box.left();
        const double right = box.right() - (ink.right() + 1);
        const double offBy = alignment == ReportAlignment::Left ? left : alignment == ReportAlignment::Right ? right : qAbs(left - right) / 2;
        QVERIFY2(offBy >= -1 && offBy <= 3, qPrintable(u"%1 px from its place"_s.arg(offBy)));
    }

    // Every caption, and the widest amount a Currency can hold, fits its box whole; the glyphs' own
    // height counts, as the title's line is a little taller than its box.
    void reportTextFitsItsBox()
    {
        for (const ReportSection &s : zelvan::test::filledReportPage(u"-922.337.203.685.477,58"_s).sections) {
            for (const ReportControl &c : s.controls) {
                const QFontMetricsF metrics(reportFont(c.font));
                const QRectF glyphs = metrics.tightBoundingRect(c.text);
                QVERIFY2(c.kind == ReportControlKind::Line
                             || (metrics.horizontalAdvance(c.text) <= c.width && metrics.ascent() + glyphs.top() >= 0
                                 && metrics.ascent() + glyphs.bottom() <= c.height),
                         qPrintable(c.name));
            }
        }
    }
};

QTEST_MAIN(TestReportPainter)
#include "tst_reportpainter.moc"
