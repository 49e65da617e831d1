#include "platform/reportpainter.h"
#include "report/activereport1.h"
#include "support/reportpages.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan::platform;

Q_DECLARE_METATYPE(ReportAlignment)
Q_DECLARE_METATYPE(ReportFont)

namespace {

constexpr int MarginLeft = 500;
constexpr int SectionTop = 700 + 360;  // the top margin and the empty first section

ReportFont narrow(int size, bool bold = false)
{
    return ReportFont{u"Arial Narrow"_s, size, bold, false};
}

double toPixels(double twips, int dpi = 150)
{
    return twips * dpi / TwipsPerInch;
}

// Bounding box of the dark pixels inside `region` (null when there are none).
QRect inkBounds(const QImage &image, const QRect &region)
{
    QRect bounds;
    const QRect r = region.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 160)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// A page whose second section holds `control`, so that the margins and the
// sections above show in every position.
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
    // One logical unit is one twip at every resolution; square caps close the
    // frame's corners and reach no further.
    void pageAndLinesAtEachResolution_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QSize>("size");
        QTest::newRow("screen") << 96 << QSize(816, 1056);
        QTest::newRow("png") << 150 << QSize(1275, 1650);
        QTest::newRow("fine") << 300 << QSize(2550, 3300);
    }

    void pageAndLinesAtEachResolution()
    {
        QFETCH(int, dpi);
        QFETCH(QSize, size);
        const QImage image = render(ReportControl::line(u"yatay"_s, 90, 2000, 9000, 2000), dpi);
        QCOMPARE(image.size(), size);
        QCOMPARE(image.pixel(size.width() - 1, size.height() - 1), qRgb(255, 255, 255));

        const double row = toPixels(SectionTop + 2000, dpi);
        const QRect across = inkBounds(image, QRect(qRound(toPixels(MarginLeft + 2000, dpi)), 0, 1, size.height()));
        QVERIFY2(qAbs(across.center().y() - row) <= 1.5, qPrintable(u"row %1, not %2"_s.arg(across.center().y()).arg(row)));
        QVERIFY(across.height() <= qCeil(toPixels(15, dpi)) + 1);
        const double cap = toPixels(7.5, dpi);
        const QRect line = inkBounds(image, QRect(0, qFloor(row) - 3, size.width(), 7));
        QVERIFY(qAbs(line.left() - (toPixels(MarginLeft + 90, dpi) - cap)) <= 1.5);
        QVERIFY(qAbs(line.right() + 1 - (toPixels(MarginLeft + 9000, dpi) + cap)) <= 1.5);
    }

    // Sizes are twips on any device: capitals are as tall as the font's cap
    // height, their top at the box's top plus the ascent's headroom; the text
    // sits where the box's alignment puts it, and is cut at the box's edge.
    void textSizeAndPlace_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<ReportAlignment>("alignment");
        QTest::addColumn<ReportFont>("font");
        QTest::newRow("left, 8.5 pt") << u"H"_s << 2250 << ReportAlignment::Left << narrow(170);
        QTest::newRow("center, 10 pt bold") << u"H"_s << 2250 << ReportAlignment::Center << narrow(200, true);
        QTest::newRow("right, 12 pt bold") << u"H"_s << 2250 << ReportAlignment::Right << narrow(240, true);
        QTest::newRow("clipped") << QString(30, u'W') << 600 << ReportAlignment::Left << narrow(170, true);
    }

    void textSizeAndPlace()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(ReportAlignment, alignment);
        QFETCH(ReportFont, font);
        const ReportControl label = ReportControl::label(u"H"_s, 1000, 1000, width, 270, text, font, alignment);
        const QRectF box(toPixels(MarginLeft + 1000), toPixels(SectionTop + 1000), toPixels(width), toPixels(270));
        const QImage image = render(label);
        const QRect ink = inkBounds(image, image.rect());
        QVERIFY(box.adjusted(-1, -1, 1, 1).contains(QRectF(ink)));
        const QFontMetricsF metrics(reportFont(font));
        const double capHeight = toPixels(metrics.capHeight());
        QVERIFY2(qAbs(ink.height() - capHeight) <= 1.5, qPrintable(u"%1 px, not %2"_s.arg(ink.height()).arg(capHeight)));
        QVERIFY(qAbs(ink.top() - (box.top() + toPixels(metrics.ascent()) - capHeight)) <= 1.5);
        const double left = ink.left() - box.left();
        const double right = box.right() - (ink.right() + 1);
        const double offBy = alignment == ReportAlignment::Left ? left
            : alignment == ReportAlignment::Right               ? right
                                                                : qAbs(left - right) / 2;
        QVERIFY2(offBy >= -1 && offBy <= 3, qPrintable(u"%1 px from its place"_s.arg(offBy)));
    }

    void reportFontIsNarrowBoldAndSizedInTwips()
    {
        const QFontInfo info(reportFont(narrow(170, true)));
        QVERIFY2(info.family().contains(u"Narrow"_s) && info.bold() && info.pixelSize() == 170, qPrintable(info.family()));
    }

    // Every caption, and the widest amount a Currency can hold, fits its box
    // whole: nothing of the report is cut off.
    void reportTextFitsItsBox()
    {
        const ReportPage page = zelvan::test::filledReportPage(u"-922.337.203.685.477,58"_s);
        for (const ReportSection &s : page.sections) {
            for (const ReportControl &c : s.controls) {
                if (c.kind == ReportControlKind::Line)
                    continue;
                // The glyphs' own height: the title's line is a little taller than its
                // box, but only below the baseline of text without descenders.
                const QFontMetricsF metrics(reportFont(c.font));
                const QRectF glyphs = metrics.tightBoundingRect(c.text);
                QVERIFY2(metrics.horizontalAdvance(c.text) <= c.width && metrics.ascent() + glyphs.top() >= 0
                             && metrics.ascent() + glyphs.bottom() <= c.height,
                         qPrintable(c.name));
            }
        }
    }
};

QTEST_MAIN(TestReportPainter)
#include "tst_reportpainter.moc"
