#include "settings/ui/AboutPicture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

QPixmap AboutPicture(const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    // A rounded screen with a play triangle, the name beneath.
    const QRectF screen(size.width() * 0.25, size.height() * 0.06, size.width() * 0.5, size.height() * 0.56);
    QLinearGradient face(screen.topLeft(), screen.bottomRight());
    face.setColorAt(0, QColor(0x2f, 0x80, 0xed));
    face.setColorAt(1, QColor(0x1b, 0x3a, 0x8c));
    p.setPen(QPen(QColor(0x10, 0x20, 0x50), 3));
    p.setBrush(face);
    p.drawRoundedRect(screen, 18, 18);

    const QPointF c = screen.center();
    const qreal r = screen.height() * 0.26;
    QPainterPath play;
    play.moveTo(c.x() - r * 0.6, c.y() - r);
    play.lineTo(c.x() + r, c.y());
    play.lineTo(c.x() - r * 0.6, c.y() + r);
    play.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xff, 0xff, 230));
    p.drawPath(play);

    QFont font = p.font();
    font.setPixelSize(qMax(10, size.height() / 8));
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0x1b, 0x3a, 0x8c));
    const QRectF text(0, screen.bottom() + 6, size.width(), size.height() - screen.bottom() - 6);
    p.drawText(text, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral(ZELMO_NAME " " ZELMO_VERSION));
    return pixmap;
}

void AboutPictureLabel::showEvent(QShowEvent* e) {
    if (pixmap().isNull())
        setPixmap(AboutPicture(pictureSize_));
    QLabel::showEvent(e);
}
