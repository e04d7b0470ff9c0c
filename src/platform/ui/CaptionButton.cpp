#include "platform/ui/CaptionButton.h"

#include "platform/ui/ButtonCaption.h"

#include <QFontMetrics>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
constexpr int kSmallestPixelSize = 7;
constexpr int kTextFlagsOneLine = Qt::AlignCenter | Qt::TextSingleLine;
constexpr int kTextFlagsWrapped = Qt::AlignCenter | Qt::TextWordWrap;

bool fits(const QFont& font, const QString& text, QSize box, bool wrap) {
    const QFontMetrics fm(font);
    const QRect area(QPoint(0, 0), box);
    const QRect needed = fm.boundingRect(area, wrap ? kTextFlagsWrapped : kTextFlagsOneLine, text);
    return needed.width() <= box.width() && needed.height() <= box.height();
}
} // namespace

QFont FitCaptionFont(const QFont& base, const QString& text, QSize box, bool wrap) {
    const int start = base.pixelSize() > 0 ? base.pixelSize() : QFontMetrics(base).height();
    QFont candidate = base;
    for (int px = start; px >= kSmallestPixelSize; --px) {
        for (int stretch : {int(QFont::Unstretched), int(QFont::SemiCondensed), int(QFont::Condensed)}) {
            candidate.setPixelSize(px);
            candidate.setStretch(stretch);
            if (fits(candidate, text, box, wrap))
                return candidate;
        }
    }
    return candidate;
}

QRect CaptionButton::captionRect() const {
    return rect().adjusted(2, 1, -2, -1);
}

QFont CaptionButton::captionFont() const {
    return FitCaptionFont(font(), ButtonCaption(this), captionRect().size(), wrap_);
}

void CaptionButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);
    p.setFont(captionFont());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(captionRect(), wrap_ ? kTextFlagsWrapped : kTextFlagsOneLine, ButtonCaption(this));
}
