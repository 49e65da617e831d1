#include "reportengine/reportpainter.h"

#include <QFontDatabase>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QStringList>
#include <QtDebug>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::reportengine {

namespace {

struct MetricTwin
{
    QString family;
    QStringList twins;  // best first
};

bool hasRealFamily(const QStringList &installed, const QString &family)
{
    return installed.contains(family, Qt::CaseInsensitive);
}

int alignmentFlags(ReportAlignment alignment)
{
    switch (alignment) {
    case ReportAlignment::Center:
        return Qt::AlignHCenter;
    case ReportAlignment::Right:
        return Qt::AlignRight;
    case ReportAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

void paintControl(QPainter &painter, const ReportControl &c, int originX, int originY)
{
    if (c.kind == ReportControlKind::Line) {
        painter.setPen(QPen(Qt::black, c.lineWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawLine(QPointF(originX + c.x1, originY + c.y1),
                         QPointF(originX + c.x2, originY + c.y2));
        return;
    }
    if (c.text.isEmpty())
        return;
    const QRectF box(originX + c.left, originY + c.top, c.width, c.height);
    painter.setPen(Qt::black);
    painter.setFont(reportFont(c.font));
    // Clipped explicitly: drawText alone only clips text that it measures as
    // too large, and glyph overhangs could still spill into the next box.
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    painter.drawText(box, alignmentFlags(c.alignment) | Qt::AlignTop | Qt::TextSingleLine, c.text);
    painter.restore();
}

} // namespace

void installReportFontSubstitutes()
{
    static const bool installed = [] {
        const QList<MetricTwin> twins = {
            {u"Arial Narrow"_s, {u"Liberation Sans Narrow"_s, u"Nimbus Sans Narrow"_s}},
            {u"Arial"_s, {u"Liberation Sans"_s, u"Nimbus Sans"_s}},
        };
        const QStringList families = QFontDatabase::families();
        for (const MetricTwin &t : twins) {
            if (hasRealFamily(families, t.family))
                continue;
            QStringList available;
            for (const QString &twin : t.twins) {
                if (hasRealFamily(families, twin))
                    available << twin;
            }
            if (available.isEmpty()) {
                qWarning("Report font \"%s\" and its metric twins are missing; the page will not keep "
                         "its geometry (install fonts-liberation)",
                         qPrintable(t.family));
                continue;
            }
            QFont::insertSubstitutions(t.family, available);
        }
        return true;
    }();
    Q_UNUSED(installed);
}

QFont reportFont(const ReportFont &font)
{
    installReportFontSubstitutes();
    QFont f(font.family);
    f.setPixelSize(font.size);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    return f;
}

void paintPage(QPainter &painter, const ReportPage &page)
{
    installReportFontSubstitutes();
    const QPaintDevice *device = painter.device();
    const double scaleX = device->logicalDpiX() / double(TwipsPerInch);
    const double scaleY = device->logicalDpiY() / double(TwipsPerInch);

    painter.save();
    painter.setViewTransformEnabled(true);
    painter.setWindow(0, 0, page.pageWidth, page.pageHeight);
    painter.setViewport(0, 0, qRound(page.pageWidth * scaleX), qRound(page.pageHeight * scaleY));
    painter.setBrush(Qt::NoBrush);

    int top = page.marginTop;
    for (const ReportSection &section : page.sections) {
        for (const ReportControl &control : section.controls)
            paintControl(painter, control, page.marginLeft, top);
        top += section.height;
    }
    painter.restore();
}

QImage renderPage(const ReportPage &page, int dpi)
{
    QImage image(qRound(page.pageWidth * double(dpi) / TwipsPerInch),
                 qRound(page.pageHeight * double(dpi) / TwipsPerInch), QImage::Format_RGB32);
    const int dotsPerMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, page);
    painter.end();
    return image;
}

QPageLayout reportPageLayout(const ReportPage &page)
{
    const double width = double(page.pageWidth) / TwipsPerPoint;
    const double height = double(page.pageHeight) / TwipsPerPoint;
    // QPageSize holds the portrait form; the orientation turns it.
    const QPageSize size(QSizeF(qMin(width, height), qMax(width, height)), QPageSize::Point);
    QPageLayout layout(size, width > height ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

} // namespace zelvan::reportengine
