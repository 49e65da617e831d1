#include "platform/reportpainter.h"
#include "report/activereport1.h"
#include "support/reportpages.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using zelvan::ActiveReport1;
using namespace zelvan::platform;
using zelvan::test::filledReportPage;

Q_DECLARE_METATYPE(ReportAlignment)

namespace {

constexpr int Dpi = 150;
constexpr int MarginLeft = 500;
constexpr int MarginTop = 700;
constexpr int FirstSectionHeight = 360;

double toPixels(double twips, int dpi = Dpi)
{
    return twips * dpi / TwipsPerInch;
}

bool isInk(QRgb pixel)
{
    return qGray(pixel) < 160;
}

// Bounding box of the dark pixels inside `region` (null when there are none).
QRect inkBounds(const QImage &image, const QRect &region)
{
    QRect bounds;
    const QRect r = region.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if (isInk(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// The area of the image that a box of `section` covers, in pixels.
QRectF pixelBox(const ReportPage &page, const QString &section, const ReportControl &c, int dpi = Dpi)
{
    const int top = page.sectionTop(section);
    return QRectF(toPixels(page.marginLeft + c.left, dpi), toPixels(top + c.top, dpi), toPixels(c.width, dpi),
                  toPixels(c.height, dpi));
}

// A page with an empty first section and a second one holding `controls`,
// so that everything drawn shows where the sections are stacked.
ReportPage smallPage(const QList<ReportControl> &controls)
{
    ReportPage page;
    page.caption = u"Deneme"_s;
    page.marginLeft = MarginLeft;
    page.marginTop = MarginTop;
    page.marginRight = page.marginBottom = 500;
    page.printWidth = 10770;
    page.sections << ReportSection{u"Ust"_s, FirstSectionHeight, {}} << ReportSection{u"Govde"_s, 5000, controls};
    return page;
}

const ReportFont Amount{u"Arial Narrow"_s, 170, false, false};
const ReportFont Caption{u"Arial Narrow"_s, 170, true, false};

// Draws the page with only one of its controls, so that the ink seen belongs
// to that control.
QImage renderAlone(const ReportPage &page, const QString &section, const ReportControl &c)
{
    ReportPage single = page;
    for (ReportSection &s : single.sections)
        s.controls.clear();
    for (ReportSection &s : single.sections) {
        if (s.name == section)
            s.controls << c;
    }
    return renderPage(single, Dpi);
}

// The widest amount a Currency can hold.
ReportPage widestPage()
{
    return filledReportPage(u"-922.337.203.685.477,58"_s);
}

} // namespace

class TestReportPainter : public QObject
{
    Q_OBJECT

private slots:
    void imageHasThePageSizeAtItsResolution_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QSize>("size");
        QTest::newRow("screen") << 96 << QSize(816, 1056);
        QTest::newRow("png") << 150 << QSize(1275, 1650);
        QTest::newRow("fine") << 300 << QSize(2550, 3300);
    }

    void imageHasThePageSizeAtItsResolution()
    {
        QFETCH(int, dpi);
        QFETCH(QSize, size);
        const QImage image = renderPage(smallPage({}), dpi);
        QCOMPARE(image.size(), size);
        QCOMPARE(image.logicalDpiX(), dpi);
        QCOMPARE(image.pixel(0, 0), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(size.width() - 1, size.height() - 1), qRgb(255, 255, 255));
    }

    // One logical unit is one twip at every resolution, counted from the
    // page's corner plus the margins and the sections above.
    void linesLandOnTheirPixels_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::newRow("96") << 96;
        QTest::newRow("150") << 150;
        QTest::newRow("300") << 300;
    }

    void linesLandOnTheirPixels()
    {
        QFETCH(int, dpi);
        const ReportPage page = smallPage({ReportControl::line(u"yatay"_s, 90, 2000, 9000, 2000),
                                           ReportControl::line(u"dikey"_s, 4000, 100, 4000, 3000)});
        const QImage image = renderPage(page, dpi);
        const int sectionTop = MarginTop + FirstSectionHeight;

        const double row = toPixels(sectionTop + 2000, dpi);
        const int x = qRound(toPixels(MarginLeft + 2000, dpi));
        const QRect across = inkBounds(image, QRect(x, 0, 1, image.height()));
        QVERIFY2(qAbs(across.center().y() - row) <= 1.5,
                 qPrintable(u"row %1, expected %2"_s.arg(across.center().y()).arg(row)));
        QVERIFY(across.height() <= qCeil(toPixels(15, dpi)) + 1);

        const double column = toPixels(MarginLeft + 4000, dpi);
        const int y = qRound(toPixels(sectionTop + 1000, dpi));
        const QRect along = inkBounds(image, QRect(0, y, image.width(), 1));
        QVERIFY2(qAbs(along.center().x() - column) <= 1.5,
                 qPrintable(u"column %1, expected %2"_s.arg(along.center().x()).arg(column)));

        // The horizontal line runs from end to end, its square caps closing
        // the frame's corners, and no further.
        const double cap = toPixels(15.0 / 2, dpi);
        const QRect line = inkBounds(image, QRect(0, qFloor(row) - 3, image.width(), 7));
        QVERIFY(qAbs(line.left() - (toPixels(MarginLeft + 90, dpi) - cap)) <= 1.5);
        QVERIFY(qAbs(line.right() + 1 - (toPixels(MarginLeft + 9000, dpi) + cap)) <= 1.5);
    }

    void textTakesItsBoxAlignment_data()
    {
        QTest::addColumn<ReportAlignment>("alignment");
        QTest::newRow("left") << ReportAlignment::Left;
        QTest::newRow("center") << ReportAlignment::Center;
        QTest::newRow("right") << ReportAlignment::Right;
    }

    void textTakesItsBoxAlignment()
    {
        QFETCH(ReportAlignment, alignment);
        ReportControl field = ReportControl::field(u"tutar"_s, 2160, 1080, 2250, 270, Amount, alignment);
        field.text = u"1.500.000,00"_s;
        const ReportPage page = smallPage({field});
        const QImage image = renderPage(page, Dpi);
        const QRectF box = pixelBox(page, u"Govde"_s, field);
        const QRect ink = inkBounds(image, image.rect());
        QVERIFY(!ink.isNull());
        QVERIFY(box.adjusted(-1, -1, 1, 1).contains(QRectF(ink)));

        const double inkRight = ink.right() + 1;
        switch (alignment) {
        case ReportAlignment::Left:
            QVERIFY(ink.left() - box.left() <= 3);
            break;
        case ReportAlignment::Right:
            QVERIFY2(box.right() - inkRight <= 3,
                     qPrintable(u"ink ends at %1, box at %2"_s.arg(inkRight).arg(box.right())));
            break;
        case ReportAlignment::Center:
            QVERIFY(qAbs((ink.left() + inkRight) / 2 - box.center().x()) <= 3);
            break;
        }
    }

    // Sizes are twips whatever the device: the capital H of an 8.5 pt text is
    // as tall as the font's cap height says, and its top sits at the box's
    // top plus the ascent's headroom.
    void textSizeAndVerticalPlace_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("bold");
        QTest::newRow("8.5 pt") << 170 << false;
        QTest::newRow("10 pt bold") << 200 << true;
        QTest::newRow("12 pt bold") << 240 << true;
    }

    void textSizeAndVerticalPlace()
    {
        QFETCH(int, size);
        QFETCH(bool, bold);
        const ReportFont font{u"Arial Narrow"_s, size, bold, false};
        const ReportControl label = ReportControl::label(u"H"_s, 1000, 1000, 1000, 270, u"H"_s, font);
        const ReportPage page = smallPage({label});
        const QImage image = renderPage(page, Dpi);
        const QRect ink = inkBounds(image, image.rect());

        const QFontMetricsF metrics(reportFont(font));
        const double capHeight = toPixels(metrics.capHeight());
        const double expectedTop = pixelBox(page, u"Govde"_s, label).top() + toPixels(metrics.ascent()) - capHeight;
        QVERIFY2(qAbs(ink.height() - capHeight) <= 1.5,
                 qPrintable(u"H is %1 px high, expected %2"_s.arg(ink.height()).arg(capHeight)));
        QVERIFY2(qAbs(ink.top() - expectedTop) <= 1.5,
                 qPrintable(u"H starts at %1, expected %2"_s.arg(ink.top()).arg(expectedTop)));
    }

    void textIsClippedToItsBox()
    {
        const ReportControl label =
            ReportControl::label(u"uzun"_s, 1000, 1000, 600, 270, u"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"_s, Caption);
        const ReportPage page = smallPage({label});
        const QImage image = renderPage(page, Dpi);
        const QRectF box = pixelBox(page, u"Govde"_s, label);
        const QRect ink = inkBounds(image, image.rect());
        QVERIFY(!ink.isNull());
        QVERIFY2(box.adjusted(-1, -1, 1, 1).contains(QRectF(ink)),
                 qPrintable(u"ink right %1, box right %2"_s.arg(ink.right()).arg(box.right())));
        QVERIFY(box.right() - (ink.right() + 1) <= 2);  // filled to the edge, cut there
    }

    void painterStateIsRestored()
    {
        QImage image(200, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        const QFont font(u"Liberation Serif"_s, 11);
        painter.setFont(font);
        const QRect window = painter.window();
        paintPage(painter, smallPage({ReportControl::line(u"l"_s, 0, 0, 100, 100)}));
        QCOMPARE(painter.window(), window);
        QCOMPARE(painter.viewport(), window);
        QCOMPARE(painter.font(), font);
    }

    void arialNarrowResolvesToANarrowFace_data()
    {
        QTest::addColumn<bool>("bold");
        QTest::newRow("regular") << false;
        QTest::newRow("bold") << true;
    }

    void arialNarrowResolvesToANarrowFace()
    {
        QFETCH(bool, bold);
        const QFont narrow = reportFont({u"Arial Narrow"_s, 170, bold, false});
        const QFontInfo info(narrow);
        if (!QFontDatabase::families().contains(u"Arial Narrow"_s))
            QCOMPARE(info.family(), u"Liberation Sans Narrow"_s);
        QVERIFY2(info.family().contains(u"Narrow"_s), qPrintable(info.family()));
        QCOMPARE(info.bold(), bold);
        QCOMPARE(info.pixelSize(), 170);

        // Narrow indeed: about 82% of the wide face's width.
        const QString sample = u"Hesaba Aktarılmamış POS Toplamları 1.234.567,89"_s;
        const double narrowWidth = QFontMetricsF(narrow).horizontalAdvance(sample);
        const double wideWidth =
            QFontMetricsF(reportFont({u"Arial"_s, 170, bold, false})).horizontalAdvance(sample);
        QVERIFY2(narrowWidth < 0.88 * wideWidth, qPrintable(u"%1 vs %2"_s.arg(narrowWidth).arg(wideWidth)));
    }

    void reportFrameLandsOnItsPixels_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<double>("position");  // twips from the page's top or left edge
        QTest::newRow("top edge") << u"Line1"_s << true << 860.0 + 90;
        QTest::newRow("bottom edge") << u"Line2"_s << true << 860.0 + 7110;
        QTest::newRow("left edge") << u"Line3"_s << false << 500.0 + 90;
        QTest::newRow("right edge") << u"Line4"_s << false << 500.0 + 10530;
        QTest::newRow("column rule") << u"Line5"_s << false << 500.0 + 4590;
    }

    void reportFrameLandsOnItsPixels()
    {
        QFETCH(QString, line);
        QFETCH(bool, horizontal);
        QFETCH(double, position);
        const ReportPage page = ActiveReport1().page();
        const QImage image = renderAlone(page, u"Detail"_s, *page.control(line));
        const double expected = toPixels(position);
        // Probe across the line half way along the frame.
        const QRect ink = horizontal ? inkBounds(image, QRect(qRound(toPixels(500 + 2000)), 0, 1, image.height()))
                                     : inkBounds(image, QRect(0, qRound(toPixels(860 + 4000)), image.width(), 1));
        QVERIFY(!ink.isNull());
        const double found = horizontal ? ink.center().y() : ink.center().x();
        QVERIFY2(qAbs(found - expected) <= 1.5, qPrintable(u"at %1, expected %2"_s.arg(found).arg(expected)));
    }

    void amountFieldsEndAtTheirBoxWithinThePrintWidth_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &name : ActiveReport1::amountFieldNames())
            QTest::newRow(qPrintable(name)) << name;
    }

    void amountFieldsEndAtTheirBoxWithinThePrintWidth()
    {
        QFETCH(QString, name);
        const ReportPage page = widestPage();
        const ReportControl &field = *page.control(name);
        QVERIFY(field.left >= 0);
        QVERIFY(field.left + field.width <= page.printWidth);

        const QImage image = renderAlone(page, u"Detail"_s, field);
        const QRectF box = pixelBox(page, u"Detail"_s, field);
        const QRect ink = inkBounds(image, image.rect());
        QVERIFY(!ink.isNull());
        QVERIFY(box.adjusted(-1, -1, 1, 1).contains(QRectF(ink)));
        QVERIFY2(box.right() - (ink.right() + 1) <= 3,
                 qPrintable(u"ink ends at %1, box at %2"_s.arg(ink.right() + 1).arg(box.right())));
        QVERIFY(ink.right() + 1 <= toPixels(page.marginLeft + page.printWidth));
    }

    // Every caption and filled field is drawn whole inside its own box.
    void reportTextFitsItsBox_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("name");
        const ReportPage page = widestPage();
        for (const ReportSection &s : page.sections) {
            for (const ReportControl &c : s.controls) {
                if (c.kind != ReportControlKind::Line)
                    QTest::newRow(qPrintable(c.name)) << s.name << c.name;
            }
        }
    }

    void reportTextFitsItsBox()
    {
        QFETCH(QString, section);
        QFETCH(QString, name);
        const ReportPage page = widestPage();
        const ReportControl &c = *page.control(name);
        const QFontMetricsF metrics(reportFont(c.font));
        QVERIFY2(metrics.horizontalAdvance(c.text) <= c.width,
                 qPrintable(u"%1 needs %2 twips, has %3"_s.arg(c.text).arg(metrics.horizontalAdvance(c.text)).arg(c.width)));
        // The glyphs' own height, not the line's: the title's line is a little
        // taller than its box, but only below the baseline of text that has no
        // descenders.
        const QRectF glyphs = metrics.tightBoundingRect(c.text);
        QVERIFY(metrics.ascent() + glyphs.top() >= 0);
        QVERIFY(metrics.ascent() + glyphs.bottom() <= c.height);

        const QImage image = renderAlone(page, section, c);
        const QRect ink = inkBounds(image, image.rect());
        QVERIFY(!ink.isNull());
        QVERIFY(pixelBox(page, section, c).adjusted(-1, -1, 1, 1).contains(QRectF(ink)));
    }
};

QTEST_MAIN(TestReportPainter)
#include "tst_reportpainter.moc"
