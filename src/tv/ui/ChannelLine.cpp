#include "tv/ui/ChannelLine.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

namespace {
constexpr int kMargin = 12;
constexpr int kPadding = 8;
} // namespace

ChannelLine::ChannelLine(QWidget* video) : QWidget(video) {
    setObjectName(QStringLiteral("TvChannelLine"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    hideTimer_.setSingleShot(true);
    hideTimer_.setInterval(kShowMs);
    connect(&hideTimer_, &QTimer::timeout, this, &QWidget::hide);
    video->installEventFilter(this);
}

void ChannelLine::showText(const QString& text) {
    text_ = text;
    place();
    show();
    raise();
    update();
    hideTimer_.start();
}

void ChannelLine::place() {
    const QWidget* video = parentWidget();
    QFont f = font();
    // Readable from the sofa in full screen, still modest in the main window.
    f.setPixelSize(std::max(13, video->height() / 24));
    setFont(f);
    const int lines = int(text_.count(u'\n')) + 1;
    const int h = fontMetrics().lineSpacing() * lines + 2 * kPadding;
    setGeometry(kMargin, video->height() - h - kMargin, video->width() - 2 * kMargin, h);
}

void ChannelLine::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 0, 0, 180));
    p.setPen(Qt::white);
    QStringList lines = text_.split(u'\n');
    for (QString& line : lines)
        line = fontMetrics().elidedText(line, Qt::ElideRight, width() - 2 * kPadding);
    const QString shown = lines.join(u'\n');
    p.drawText(rect().adjusted(kPadding, kPadding, -kPadding, -kPadding), Qt::AlignLeft | Qt::AlignVCenter,
               shown);
}

bool ChannelLine::eventFilter(QObject* watched, QEvent* e) {
    if (watched == parentWidget() && e->type() == QEvent::Resize && isVisible())
        place();
    return QWidget::eventFilter(watched, e);
}
