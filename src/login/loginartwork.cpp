#include "login/loginartwork.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace zelvan::login {

namespace {

// The standard 16-colour palette.
namespace Vga {
const QColor Black(0, 0, 0);
const QColor Maroon(128, 0, 0);
const QColor Olive(128, 128, 0);
const QColor Navy(0, 0, 128);
const QColor Silver(192, 192, 192);
const QColor Gray(128, 128, 128);
const QColor Yellow(255, 255, 0);
const QColor White(255, 255, 255);
} // namespace Vga

void drawPadlock(QPainter &p, const QRectF &body, qreal shackleWidth, const QColor &metal, const QColor &shackle,
                 const QColor &keyhole)
{
    const qreal shackleHeight = body.height() * 0.8;
    const QRectF arc(body.center().x() - body.width() * 0.32, body.top() - shackleHeight, body.width() * 0.64,
                     shackleHeight * 2);
    p.setPen(QPen(shackle, shackleWidth, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(arc, 0, 180 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(metal);
    p.drawRect(body);
    p.setBrush(keyhole);
    const qreal r = body.width() * 0.1;
    const QPointF hole(body.center().x(), body.top() + body.height() * 0.4);
    p.drawEllipse(hole, r, r);
    p.drawRect(QRectF(hole.x() - r * 0.5, hole.y(), r, body.height() * 0.35));
}

} // namespace

QPixmap loginStripPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();

    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(38, 74, 130));
    sky.setColorAt(1.0, QColor(12, 32, 66));
    p.fillRect(image.rect(), sky);

    // Faint diagonal hatching.
    p.setPen(QPen(QColor(255, 255, 255, 18), 1));
    for (qreal x = -h; x < w; x += 6)
        p.drawLine(QPointF(x, h), QPointF(x + h, 0));

    // A light edge towards the panel.
    p.fillRect(QRectF(w - 2, 0, 2, h), QColor(170, 196, 230));

    drawPadlock(p, QRectF(w * 0.28, h * 0.2, w * 0.44, w * 0.34), w * 0.07, QColor(236, 190, 72),
                QColor(214, 222, 234), QColor(40, 40, 48));

    // A small bar chart: the report's figures.
    const qreal base = h * 0.86;
    const qreal bar = w * 0.12;
    const qreal heights[] = {0.12, 0.2, 0.16, 0.28};
    for (int i = 0; i < 4; ++i) {
        const qreal x = w * 0.2 + i * bar * 1.5;
        p.fillRect(QRectF(x, base - h * heights[i], bar, h * heights[i]), QColor(120, 190, 240, 200 - 20 * i));
    }
    p.setPen(QPen(QColor(214, 222, 234), 1.5));
    p.drawLine(QPointF(w * 0.14, base), QPointF(w * 0.86, base));
    p.end();
    return QPixmap::fromImage(image);
}

QIcon loginIcon()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    // Hard edges: the icon keeps to the 16 colours.
    p.setRenderHint(QPainter::Antialiasing, false);

    p.setPen(Vga::Black);
    p.setBrush(Vga::White);
    p.drawRect(2, 1, 20, 26);
    p.setPen(Vga::Navy);
    for (int y = 6; y <= 22; y += 4)
        p.drawLine(5, y, 19, y);
    p.setPen(Vga::Maroon);
    p.drawLine(8, 3, 8, 25);

    drawPadlock(p, QRectF(14, 18, 15, 12), 3, Vga::Yellow, Vga::Silver, Vga::Black);
    p.setPen(Vga::Olive);
    p.setBrush(Qt::NoBrush);
    p.drawRect(14, 18, 14, 11);
    p.setPen(Vga::Gray);
    p.drawLine(15, 29, 29, 29);
    p.end();
    return QIcon(QPixmap::fromImage(image));
}

} // namespace zelvan::login
