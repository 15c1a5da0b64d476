#include "widgets/immagini.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace brenzola::Immagini {

namespace {

using Drawing = std::function<void(QPainter&)>;

// Draws a picture made on a 16 x 16 grid at the size it is shown, centred when that is
// not square.
QPixmap render(const Drawing& draw, QSize size, qreal devicePixelRatio)
{
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(size.width(), size.height());
    painter.translate((size.width() - side) / 2, (size.height() - side) / 2);
    painter.scale(side / 16.0, side / 16.0);
    draw(painter);
    return pixmap;
}

// At three sizes, so the picture stays sharp on dense screens.
QIcon drawn(const Drawing& draw)
{
    QIcon icon;
    for (int size : {16, 32, 48}) icon.addPixmap(render(draw, QSize(size, size), 1));
    return icon;
}

QPen pen(const QColor& colour, qreal width = 1.2) { return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

const QColor kInk(0x2b, 0x3a, 0x55);
const QColor kGreen(0x2e, 0x8b, 0x57);
const QColor kRed(0xc0, 0x39, 0x2b);
const QColor kBlue(0x29, 0x6f, 0xc4);

void magnifier(QPainter& p, QPointF centre, qreal radius)
{
    p.setPen(pen(kInk, 1.6));
    p.setBrush(QColor(0xd6, 0xea, 0xf8));
    p.drawEllipse(centre, radius, radius);
    const QPointF handle = centre + QPointF(radius * 0.7, radius * 0.7);
    p.setPen(pen(kInk, 2.4));
    p.drawLine(handle, handle + QPointF(radius * 0.9, radius * 0.9));
}

void arrow(QPainter& p, bool forward)
{
    QPainterPath path;
    path.moveTo(3, 6.5);
    path.lineTo(9, 6.5);
    path.lineTo(9, 3);
    path.lineTo(14, 8);
    path.lineTo(9, 13);
    path.lineTo(9, 9.5);
    path.lineTo(3, 9.5);
    path.closeSubpath();
    if (!forward) {
        p.translate(16, 0);
        p.scale(-1, 1);
    }
    p.setPen(pen(kInk, 0.8));
    p.setBrush(kBlue);
    p.drawPath(path);
}

void drawLogo(QPainter& p)
{
    p.setPen(pen(kInk));
    p.setBrush(QColor(0xfd, 0xf6, 0xe3));
    p.drawRoundedRect(QRectF(1, 3, 14, 10), 1.5, 1.5);
    p.setBrush(kGreen);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(5, 6.6), 1.6, 1.6);
    p.drawChord(QRectF(2.4, 8.2, 5.2, 4.6), 0, 180 * 16);
    p.setPen(pen(kInk, 1));
    p.drawLine(QPointF(9, 6), QPointF(13, 6));
    p.drawLine(QPointF(9, 8.5), QPointF(13, 8.5));
    p.drawLine(QPointF(9, 11), QPointF(12, 11));
}

// A card with an arrow into it (towards the register) or out of it.
void cardWithArrow(QPainter& p, bool in)
{
    p.setPen(pen(kInk, 1));
    p.setBrush(QColor(0xfd, 0xf6, 0xe3));
    p.drawRoundedRect(QRectF(1.5, 5.5, 9, 9), 1, 1);
    p.setPen(pen(kInk, 0.8));
    p.drawLine(QPointF(3.5, 9), QPointF(8, 9));
    p.drawLine(QPointF(3.5, 11.5), QPointF(7, 11.5));
    QPainterPath path;
    path.moveTo(0, -1.2);
    path.lineTo(3.5, -1.2);
    path.lineTo(3.5, -3);
    path.lineTo(6.5, 0);
    path.lineTo(3.5, 3);
    path.lineTo(3.5, 1.2);
    path.lineTo(0, 1.2);
    path.closeSubpath();
    p.save();
    p.translate(in ? 15 : 8, in ? 1.5 : 8.5);
    p.rotate(in ? 135 : -45);
    p.setPen(pen(kInk, 0.6));
    p.setBrush(in ? kGreen : kBlue);
    p.drawPath(path);
    p.restore();
}

}  // namespace

QIcon logo() { return drawn(drawLogo); }

QPixmap logo(QSize size, qreal devicePixelRatio) { return render(drawLogo, size, devicePixelRatio); }

QIcon cerca()
{
    return drawn([](QPainter& p) { magnifier(p, QPointF(6.5, 6.5), 4); });
}

QIcon stampa()
{
    return drawn([](QPainter& p) {
        p.setPen(pen(kInk, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 1.5, 8, 5));
        p.setBrush(QColor(0x9a, 0xa5, 0xb1));
        p.drawRoundedRect(QRectF(1.5, 6, 13, 6), 1, 1);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 10, 8, 4.5));
        p.drawLine(QPointF(5.5, 12), QPointF(10.5, 12));
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawEllipse(QPointF(12.5, 8), 0.8, 0.8);
    });
}

QIcon elimina()
{
    return drawn([](QPainter& p) {
        p.setPen(pen(kRed, 2.6));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
    });
}

QIcon nuovo()
{
    return drawn([](QPainter& p) {
        QPainterPath page;
        page.moveTo(3, 1.5);
        page.lineTo(10, 1.5);
        page.lineTo(13, 4.5);
        page.lineTo(13, 14.5);
        page.lineTo(3, 14.5);
        page.closeSubpath();
        p.setPen(pen(kInk, 1));
        p.setBrush(Qt::white);
        p.drawPath(page);
        p.setPen(pen(kGreen, 2));
        p.drawLine(QPointF(8, 6.5), QPointF(8, 12.5));
        p.drawLine(QPointF(5, 9.5), QPointF(11, 9.5));
    });
}

QIcon salva()
{
    return drawn([](QPainter& p) {
        p.setPen(pen(kInk, 1));
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1, 1);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 1.5, 8, 5));
        p.setBrush(QColor(0xdd, 0xe4, 0xec));
        p.drawRect(QRectF(3.5, 9, 9, 5.5));
    });
}

QIcon esci()
{
    return drawn([](QPainter& p) {
        p.setPen(pen(kInk, 1));
        p.setBrush(QColor(0xa0, 0x6b, 0x3b));
        p.drawRect(QRectF(2, 1.5, 7, 13));
        p.setPen(pen(kRed, 2));
        p.drawLine(QPointF(7, 8), QPointF(14, 8));
        p.drawLine(QPointF(11, 5), QPointF(14, 8));
        p.drawLine(QPointF(11, 11), QPointF(14, 8));
    });
}

QIcon agenda()
{
    return drawn([](QPainter& p) {
        p.setPen(pen(kInk, 1));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(1.5, 2.5, 13, 12), 1, 1);
        p.setBrush(kRed);
        p.drawRect(QRectF(1.5, 2.5, 13, 3));
        p.setPen(pen(kInk, 1.2));
        p.drawLine(QPointF(4.5, 1), QPointF(4.5, 4));
        p.drawLine(QPointF(11.5, 1), QPointF(11.5, 4));
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        for (qreal x : {3.5, 7.0, 10.5})
            for (qreal y : {7.5, 10.5}) p.drawRect(QRectF(x, y, 2, 2));
    });
}

QIcon importa()
{
    return drawn([](QPainter& p) { cardWithArrow(p, true); });
}

QIcon esporta()
{
    return drawn([](QPainter& p) { cardWithArrow(p, false); });
}

QIcon cronologia()
{
    return drawn([](QPainter& p) {
        p.setPen(pen(kInk));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(8.5, 8.5), 5.5, 5.5);
        p.drawPolyline(QPolygonF{QPointF(8.5, 5.5), QPointF(8.5, 8.5), QPointF(10.5, 10)});
        // The arrow going back round the dial.
        p.setPen(pen(kBlue, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(1.5, 1.5, 14, 14), 100 * 16, 120 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF{QPointF(0.8, 3.2), QPointF(4.6, 3.4), QPointF(2.2, 6.4)});
    });
}

QIcon sincronizza()
{
    return drawn([](QPainter& p) {
        p.setBrush(Qt::NoBrush);
        p.setPen(pen(kBlue, 1.6));
        p.drawArc(QRectF(2.5, 2.5, 12, 12), 30 * 16, 150 * 16);
        p.drawArc(QRectF(2.5, 2.5, 12, 12), 210 * 16, 150 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF{QPointF(14.8, 2.8), QPointF(15.2, 7.6), QPointF(10.8, 5.6)});
        p.drawPolygon(QPolygonF{QPointF(2.2, 14.2), QPointF(1.8, 9.4), QPointF(6.2, 11.4)});
    });
}

QIcon doppioni()
{
    return drawn([](QPainter& p) {
        for (const QPointF origin : {QPointF(1.5, 1.5), QPointF(5.5, 5.5)}) {
            p.setPen(pen(kInk, 1));
            p.setBrush(QColor(0xfd, 0xf6, 0xe3));
            p.drawRoundedRect(QRectF(origin, QSizeF(9, 9)), 1, 1);
            p.setPen(Qt::NoPen);
            p.setBrush(kGreen);
            p.drawEllipse(origin + QPointF(3, 3.2), 1.4, 1.4);
            p.drawChord(QRectF(origin + QPointF(0.8, 4.6), QSizeF(4.4, 4)), 0, 180 * 16);
        }
    });
}

QIcon ImageList1(int numero)
{
    switch (numero) {
    case 1:
        return drawn([](QPainter& p) { arrow(p, true); });
    case 2:
        return drawn([](QPainter& p) { arrow(p, false); });
    case 8:
        return drawn([](QPainter& p) {
            p.setPen(pen(kInk, 1));
            for (qreal y : {3.0, 6.0, 9.0}) p.drawLine(QPointF(1.5, y), QPointF(7, y));
            magnifier(p, QPointF(9.5, 8.5), 3.2);
        });
    case 12:
        return drawn([](QPainter& p) {
            for (qreal y : {2.5, 6.5, 10.5}) {
                p.setPen(Qt::NoPen);
                p.setBrush(kGreen);
                p.drawRect(QRectF(1.5, y, 3, 3));
                p.setPen(pen(kInk, 1.2));
                p.drawLine(QPointF(6.5, y + 1.5), QPointF(14.5, y + 1.5));
            }
        });
    case 19:
        return esci();
    default:
        return {};
    }
}

}  // namespace brenzola::Immagini
