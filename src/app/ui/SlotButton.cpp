#include "app/ui/SlotButton.h"

#include "platform/ui/ButtonCaption.h"

#include <QStyleOptionButton>
#include <QStylePainter>

void SlotButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(rect().adjusted(2, 1, -2, -1), Qt::AlignCenter | Qt::TextWordWrap, ButtonCaption(this));
}
