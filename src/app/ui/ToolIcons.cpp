#include "app/ui/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

const QColor kInk(0x33, 0x33, 0x33);
const QColor kBlue(0x1e, 0x6f, 0xd9);

QPen ink(qreal width, const QColor& c = kInk) {
    QPen p(c, width);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

void drawGear(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(16, 16);
        p.rotate(i * 45.0);
        p.drawRect(QRectF(-2.5, -14, 5, 6));
        p.restore();
    }
    p.drawEllipse(QPointF(16, 16), 10, 10);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 4, 4);
}

void drawPower(QPainter& p) {
    p.setPen(ink(3.5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(5, 6, 22, 22), 60 * 16, -300 * 16);
    p.drawLine(QPointF(16, 3), QPointF(16, 15));
}

void drawGrid(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            p.drawRect(QRectF(4 + c * 9, 4 + r * 9, 7, 7));
}

void drawHeart(QPainter& p) {
    QPainterPath path;
    path.moveTo(16, 28);
    path.cubicTo(2, 18, 2, 6, 10, 6);
    path.cubicTo(13, 6, 16, 9, 16, 11);
    path.cubicTo(16, 9, 19, 6, 22, 6);
    path.cubicTo(30, 6, 30, 18, 16, 28);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd0, 0x1c, 0x2c));
    p.drawPath(path);
}

void drawStar(QPainter& p) {
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal r = (i % 2 == 0) ? 14 : 6;
        const qreal a = qDegreesToRadians(-90.0 + i * 36.0);
        star << QPointF(16 + r * qCos(a), 17 + r * qSin(a));
    }
    p.setPen(ink(1.0, QColor(0xa0, 0x70, 0x00)));
    p.setBrush(QColor(0xf5, 0xb8, 0x00));
    p.drawPolygon(star);
}

// The "$" and "?" are drawn as strokes, not as characters: a font would tie the picture to the
// window's thread and cost a font of its own before the first paint.
void drawDollar(QPainter& p) {
    p.setPen(ink(3.5, QColor(0x1b, 0x8a, 0x3a)));
    p.setBrush(Qt::NoBrush);
    QPainterPath s;
    s.moveTo(22, 10);
    s.cubicTo(20.5, 6.5, 10, 6, 10, 11.5);
    s.cubicTo(10, 16.5, 22, 14.5, 22, 20.5);
    s.cubicTo(22, 26, 11.5, 26, 9.5, 22);
    p.drawPath(s);
    p.drawLine(QPointF(16, 3), QPointF(16, 29));
}

void drawQuestion(QPainter& p) {
    p.setPen(ink(4.0, kBlue));
    p.setBrush(Qt::NoBrush);
    QPainterPath hook;
    hook.moveTo(9.5, 11);
    hook.cubicTo(9.5, 3, 22.5, 3, 22.5, 10.5);
    hook.cubicTo(22.5, 15.5, 16, 15, 16, 20.5);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(16, 27), 2.5, 2.5);
}

void drawBoxArrow(QPainter& p, const QColor& arrow) {
    p.setPen(ink(2.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(4, 10, 18, 18));
    p.setPen(ink(3.0, arrow));
    p.drawLine(QPointF(12, 20), QPointF(27, 5));
    p.drawLine(QPointF(27, 5), QPointF(19, 5));
    p.drawLine(QPointF(27, 5), QPointF(27, 13));
}

void drawMiniRadio(QPainter& p) {
    p.setPen(ink(2.0));
    p.setBrush(QColor(0xdd, 0xdd, 0xdd));
    p.drawRoundedRect(QRectF(3, 10, 26, 17), 3, 3);
    p.drawLine(QPointF(8, 10), QPointF(22, 3));
    p.setBrush(kInk);
    p.drawEllipse(QPointF(10, 18.5), 4, 4);
    p.drawLine(QPointF(18, 15), QPointF(25, 15));
    p.drawLine(QPointF(18, 21), QPointF(25, 21));
}

void drawNote(QPainter& p) {
    p.setPen(ink(2.5));
    p.setBrush(kInk);
    p.drawEllipse(QPointF(10, 24), 5, 4);
    p.drawEllipse(QPointF(24, 21), 5, 4);
    p.drawLine(QPointF(15, 24), QPointF(15, 6));
    p.drawLine(QPointF(29, 21), QPointF(29, 3));
    p.drawLine(QPointF(15, 6), QPointF(29, 3));
}

void drawProgram(QPainter& p) {
    p.setPen(ink(2.0));
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(2, 5, 28, 20), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(13, 10), QPointF(21, 15), QPointF(13, 20)}));
    p.setPen(ink(2.5));
    p.drawLine(QPointF(10, 29), QPointF(22, 29));
}

} // namespace

QImage ToolPicture(ToolMotif motif) {
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (motif) {
    case ToolMotif::Gear:
        drawGear(p);
        break;
    case ToolMotif::Power:
        drawPower(p);
        break;
    case ToolMotif::Grid:
        drawGrid(p);
        break;
    case ToolMotif::Heart:
        drawHeart(p);
        break;
    case ToolMotif::Star:
        drawStar(p);
        break;
    case ToolMotif::Dollar:
        drawDollar(p);
        break;
    case ToolMotif::Question:
        drawQuestion(p);
        break;
    case ToolMotif::BoxArrow:
        drawBoxArrow(p, kInk);
        break;
    case ToolMotif::BoxArrowBlue:
        drawBoxArrow(p, kBlue);
        break;
    case ToolMotif::MiniRadio:
        drawMiniRadio(p);
        break;
    case ToolMotif::MyRadio:
        drawNote(p);
        break;
    case ToolMotif::Program:
        drawProgram(p);
        break;
    }
    p.end();
    return image;
}
