#include "reportengine/reportpainter.h"
#include "support/reportpages.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan;
using namespace zelvan::reportengine;

constexpr QPoint Origin(500, 700 + 360);  // the left margin; the top margin and the empty first section

static double toPixels(double twips) { return twips * 150 / TwipsPerInch; }

// Bounding box of the dark pixels (null when there are none).
static QRect inkBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            bounds |= qGray(image.pixel(x, y)) < 160 ? QRect(x, y, 1, 1) : QRect();
    return bounds;
}

// A page whose second section holds `control`, so that the margins and the section above count; at 150 dpi.
static QImage render(const ReportControl &control)
{
    ReportPage page;
    page.marginLeft = Origin.x();
    page.marginTop = 700;
    page.sections = {{u"Ust"_s, 360, {}}, {u"Govde"_s, 5000, {control}}};
    return renderPage(page, 150);
}

class TestReportPainter : public QObject
{
    Q_OBJECT

private slots:
    // Fonts sized in twips: capitals as tall as the cap height, their top at the box's top plus the
    // ascent's headroom, placed by the box's alignment, cut at the box's edge (a run of W in 600 twips).
    void textSizeAndPlace()
    {
        using enum ReportAlignment;
        for (const auto &[alignment, size, bold, width] : {std::tuple{Left, 170, false, 2250}, {Center, 200, true, 2250},
                                                            {Right, 240, true, 2250}, {Left, 170, true, 600}}) {
            const ReportFont font{u"Arial Narrow"_s, size, bold, false};
            const QFontInfo info(reportFont(font));
            QVERIFY2(info.family().contains(u"Narrow"_s), qPrintable(info.family()));
            QCOMPARE(info.bold(), bold);
            QCOMPARE(info.pixelSize(), size);
            const QRect ink = inkBounds(render(ReportControl::label(u"H"_s, 1000, 1000, width, 270, width < 1000 ? QString(30, u'W') : u"H"_s,
                                                                    font, alignment)));
            const QRectF box(toPixels(Origin.x() + 1000), toPixels(Origin.y() + 1000), toPixels(width), toPixels(270));
            const QFontMetricsF metrics(reportFont(font));
            const double capHeight = toPixels(metrics.capHeight()), left = ink.left() - box.left(), right = box.right() - (ink.right() + 1);
            QVERIFY(box.adjusted(-1, -1, 1, 1).contains(QRectF(ink)));
            QVERIFY(qAbs(ink.height() - capHeight) <= 1.5);
            QVERIFY(qAbs(ink.top() - (box.top() + toPixels(metrics.ascent()) - capHeight)) <= 1.5);
            QVERIFY(qAbs((alignment == Left ? left : alignment == Right ? right : qAbs(left - right) / 2) - 1) <= 2);  // px from its place
        }
    }

    // Every caption, and the widest amount a Currency can hold, fits its box whole; the glyphs' own
    // height counts, as the title's line is a little taller than its box.
    void reportTextFitsItsBox()
    {
        for (const ReportSection &s : zelvan::test::filledReportPage(u"-922.337.203.685.477,58"_s).sections)
            for (const ReportControl &c : s.controls) {
                if (c.kind == ReportControlKind::Line)
                    continue;
                const QFontMetricsF metrics(reportFont(c.font));
                const QRectF glyphs = metrics.tightBoundingRect(c.text);
                QVERIFY2(metrics.horizontalAdvance(c.text) <= c.width, qPrintable(c.name));
                QVERIFY2(metrics.ascent() + glyphs.top() >= 0, qPrintable(c.name));
                QVERIFY2(metrics.ascent() + glyphs.bottom() <= c.height, qPrintable(c.name));
            }
    }
};

QTEST_MAIN(TestReportPainter)
#include "tst_reportpainter.moc"
