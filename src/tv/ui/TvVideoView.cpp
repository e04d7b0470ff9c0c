#include "tv/ui/TvVideoView.h"

#include "platform/UiText.h"
#include "tv/TvScreen.h"
#include "tv/TvStatus.h"

#include <QAccessible>
#include <QEvent>
#include <QPainter>

TvVideoView::TvVideoView(TvScreen& screen, QWidget* covered)
    : QWidget(covered->parentWidget()), screen_(screen), covered_(covered) {
    setObjectName(QStringLiteral("TvVideoView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
    follow();
    covered_->installEventFilter(this);
    VideoPlayer& video = screen_.video();
    connect(&video, &VideoPlayer::frameChanged, this, qOverload<>(&QWidget::update));
    connect(&video, &VideoPlayer::statusChanged, this, [this] {
        update();
        announceStatus();
    });
    connect(&screen_, &TvScreen::progressChanged, this, [this] {
        update();
        announceStatus();
    });
    announceStatus();
    connect(&screen_, &TvScreen::activeChanged, this, [this](bool active) {
        if (active) {
            follow();
            show();
            raise();
        } else {
            hide();
        }
    });
}

QString TvVideoView::statusText() const {
    return tvStatusText(screen_);
}

void TvVideoView::announceStatus() {
    // What the picture says in words, for a screen reader: the state, or that the channel plays.
    QString text = statusText();
    if (text.isEmpty())
        text = UiText("TvScreen", "playing", QStringLiteral("Телеканал"));
    if (accessibleName() == text)
        return;
    setAccessibleName(text);
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void TvVideoView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const VideoPlayer& v = screen_.video();
    const QImage& frame = v.frame();
    const qreal ratio = devicePixelRatioF();
    if (!frame.isNull() && frame.size() == viewPixels()) {
        // Scaled and letter-boxed in the pipeline: drawn as it is, no conversion, no scaling.
        if (ratio == 1.0) {
            p.drawImage(QPoint(0, 0), frame);
        } else {
            p.drawImage(rect(), frame);
        }
    } else {
        p.fillRect(rect(), Qt::black);
        if (!frame.isNull()) {
            // A picture of the size before a resize, until the pipeline follows: scaled here, cheaply.
            const QSize shown = v.displaySize().isValid() ? v.displaySize() : frame.size();
            const QSize fitted = shown.scaled(size(), Qt::KeepAspectRatio);
            const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2),
                               fitted);
            p.drawImage(target, frame);
        }
    }
    const QString text = statusText();
    if (!text.isEmpty()) {
        QRect box = rect().adjusted(20, 0, -20, 0);
        QRect needed = p.boundingRect(box, Qt::AlignCenter | Qt::TextWordWrap, text);
        needed.adjust(-10, -6, 10, 6);
        p.fillRect(needed, QColor(0, 0, 0, 170));
        p.setPen(Qt::white);
        p.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, text);
    }
}

void TvVideoView::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    screen_.video().setViewSize(viewPixels());
}

void TvVideoView::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    screen_.video().setViewSize(viewPixels());
}

QSize TvVideoView::viewPixels() const {
    return size() * devicePixelRatioF();
}

bool TvVideoView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == covered_ && (e->type() == QEvent::Move || e->type() == QEvent::Resize))
        follow();
    return QWidget::eventFilter(watched, e);
}

void TvVideoView::dock() {
    if (!docked())
        setParent(covered_->parentWidget());
    follow();
    if (screen_.isPlaying()) {
        show();
        raise();
    } else {
        hide();
    }
}

void TvVideoView::follow() {
    setGeometry(docked() ? covered_->geometry() : parentWidget()->rect());
    // Known before the first play, so that the first picture already comes at this size.
    screen_.video().setViewSize(viewPixels());
}
