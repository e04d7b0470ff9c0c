#include "tv/ui/TvVideoView.h"

#include "platform/HttpReason.h"
#include "platform/UiText.h"
#include "tv/TvScreen.h"

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
    const VideoPlayer& v = screen_.video();
    switch (v.status()) {
    case VideoPlayer::Status::Idle:
    case VideoPlayer::Status::Playing:
        return {};
    case VideoPlayer::Status::Connecting:
        return UiText("TvScreen", "connecting", QStringLiteral("Подключение…"));
    case VideoPlayer::Status::NoSignal:
        return UiText("TvScreen", "noSignal", QStringLiteral("нет сигнала"));
    case VideoPlayer::Status::CodecMissing:
        return UiText("TvScreen", "noDecoder", QStringLiteral("Нет декодера для этого канала: %1"))
            .arg(v.reason());
    case VideoPlayer::Status::HttpError:
        return UiText("TvScreen", "httpError", QStringLiteral("Ошибка HTTP %1: %2"))
            .arg(v.httpStatus())
            .arg(HttpReasonText(v.httpStatus(), v.reason()));
    case VideoPlayer::Status::Unreachable:
        return UiText("TvScreen", "unreachable", QStringLiteral("Нет соединения с сервером %1"))
            .arg(v.reason());
    case VideoPlayer::Status::Failed:
        return UiText("TvScreen", "failed", QStringLiteral("Ошибка воспроизведения: %1")).arg(v.reason());
    }
    return {};
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
    p.fillRect(rect(), Qt::black);
    const VideoPlayer& v = screen_.video();
    const QImage& frame = v.frame();
    if (!frame.isNull()) {
        const QSize shown = v.displaySize().isValid() ? v.displaySize() : frame.size();
        const QSize fitted = shown.scaled(size(), Qt::KeepAspectRatio);
        const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(target, frame);
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

bool TvVideoView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == covered_ && (e->type() == QEvent::Move || e->type() == QEvent::Resize))
        follow();
    return QWidget::eventFilter(watched, e);
}

void TvVideoView::follow() {
    setGeometry(covered_->geometry());
}
