#include "settings/ui/SkinStyle.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

namespace {
double luminance(const QColor& c) {
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

QColor markOn(const QColor& fill) {
    // Black stands out more than white exactly when the fill's luminance is above ~0.18.
    return luminance(fill) > 0.179 ? QColor(Qt::black) : QColor(Qt::white);
}

void drawCheckIndicator(const QStyleOption& option, QPainter& p) {
    const QPalette& pal = option.palette;
    const bool ticked = option.state & QStyle::State_On;
    const bool partly = option.state & QStyle::State_NoChange;
    const QColor fill = ticked || partly ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base);
    const QColor frame = ticked || partly ? fill.darker(140) : pal.color(QPalette::Mid);
    const QRectF box = QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5);

    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(frame);
    p.setBrush(fill);
    p.drawRoundedRect(box, 2, 2);
    QPen mark(markOn(fill), qMax(1.5, box.width() / 6.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(mark);
    p.setBrush(Qt::NoBrush);
    const double x = box.x(), y = box.y(), w = box.width(), h = box.height();
    if (ticked) {
        QPainterPath tick;
        tick.moveTo(x + 0.24 * w, y + 0.52 * h);
        tick.lineTo(x + 0.43 * w, y + 0.72 * h);
        tick.lineTo(x + 0.78 * w, y + 0.28 * h);
        p.drawPath(tick);
    } else if (partly) {
        p.drawLine(QPointF(x + 0.25 * w, y + 0.5 * h), QPointF(x + 0.75 * w, y + 0.5 * h));
    }
    p.restore();
}
} // namespace

SkinStyle::SkinStyle() : QProxyStyle(QStringLiteral("Fusion")) {}

void SkinStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
    if (element == PE_IndicatorCheckBox && option && painter) {
        drawCheckIndicator(*option, *painter);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}
