#include "radio/ui/RadioIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {
// The pictures are drawn on a 24-pixel square and scaled to each size a button may ask for, so
// the main window's radio strip and the mini radio show the same picture at their own sizes.
constexpr int kDesignSide = 24;
constexpr int kSides[] = {24, 32, 48};

void draw(RadioIcons::Motif motif, QPainter& p) {
    switch (motif) {
    case RadioIcons::Motif::Record: {
        p.setPen(QPen(QColor(120, 0, 0), 1.5));
        p.setBrush(QColor(220, 30, 30));
        p.drawEllipse(QRectF(4, 4, 16, 16));
        break;
    }
    case RadioIcons::Motif::StopRecording: {
        p.setPen(QPen(QColor(220, 30, 30), 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(3, 3, 18, 18));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 40, 40));
        p.drawRect(QRectF(8, 8, 8, 8));
        break;
    }
    case RadioIcons::Motif::RadioOff: {
        QPen pen(QColor(40, 40, 40), 2.5);
        pen.setCapStyle(Qt::RoundCap);
        p.setPen(pen);
        p.drawArc(QRectF(4, 5, 16, 16), 120 * 16, 300 * 16);
        p.drawLine(QPointF(12, 3), QPointF(12, 12));
        break;
    }
    case RadioIcons::Motif::BackToMain: {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 180));
        QPainterPath arrow;
        arrow.moveTo(3, 12);
        arrow.lineTo(12, 4);
        arrow.lineTo(12, 9);
        arrow.lineTo(21, 9);
        arrow.lineTo(21, 15);
        arrow.lineTo(12, 15);
        arrow.lineTo(12, 20);
        arrow.closeSubpath();
        p.drawPath(arrow);
        break;
    }
    case RadioIcons::Motif::Search: {
        p.setPen(QPen(QColor(40, 40, 40), 2.5));
        p.setBrush(QColor(200, 225, 245));
        p.drawEllipse(QRectF(3, 3, 12, 12));
        p.setPen(QPen(QColor(40, 40, 40), 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, 14), QPointF(20.5, 20.5));
        break;
    }
    }
}
} // namespace

namespace RadioIcons {
std::vector<QImage> Pictures(Motif motif) {
    std::vector<QImage> pictures;
    for (int side : kSides) {
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(qreal(side) / kDesignSide, qreal(side) / kDesignSide);
        draw(motif, p);
        p.end();
        pictures.push_back(std::move(image));
    }
    return pictures;
}

QIcon FromPictures(const std::vector<QImage>& pictures) {
    QIcon icon;
    for (const QImage& image : pictures)
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

QIcon record() {
    return FromPictures(Pictures(Motif::Record));
}

QIcon stopRecording() {
    return FromPictures(Pictures(Motif::StopRecording));
}

QIcon radioOff() {
    return FromPictures(Pictures(Motif::RadioOff));
}

QIcon backToMain() {
    return FromPictures(Pictures(Motif::BackToMain));
}

QIcon search() {
    return FromPictures(Pictures(Motif::Search));
}
} // namespace RadioIcons
