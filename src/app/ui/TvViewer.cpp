#include "app/ui/TvViewer.h"

#include "app/ui/TForm1.h"
#include "navigation/StreamLookup.h"
#include "radio/ui/TRadioForm.h"
#include "tv/TvScreen.h"
#include "tv/ui/ChannelLine.h"
#include "tv/ui/TvFullscreen.h"
#include "tv/ui/TvVideoView.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QWheelEvent>

#include <algorithm>

namespace {

QString clock(qint64 ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toLocalTime().toString(QStringLiteral("HH:mm"));
}

// Keys typed into a text field are the field's.
bool typingInto(QWidget* w) {
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
           qobject_cast<QAbstractSpinBox*>(w) ||
           (qobject_cast<QComboBox*>(w) && static_cast<QComboBox*>(w)->isEditable());
}

} // namespace

TvViewer::TvViewer(Deps deps)
    : d_(std::move(deps)), volume_(d_.main->radioStrip().volume), line_(new ChannelLine(d_.view)) {
    // Every stream plays at the bar's volume, the first one too.
    const auto apply = [this](int value) {
        d_.tv->video().setVolume(volume_->maximum() > 0 ? double(value) / volume_->maximum() : 1.0);
    };
    apply(volume_->value());
    connect(volume_, &QAbstractSlider::valueChanged, this, apply);
    connect(d_.tv, &TvScreen::channelStarted, this, &TvViewer::channelStarted);
    connect(d_.tv, &TvScreen::activeChanged, this, [this](bool active) {
        if (!active)
            emit channelChanged();
    });
    d_.view->installEventFilter(this);
    qApp->installEventFilter(this);
}

TvFullscreen& TvViewer::fullscreen() {
    if (!fullscreen_)
        fullscreen_ = std::make_unique<TvFullscreen>(*d_.tv, *d_.view, d_.main);
    return *fullscreen_;
}

TvViewer::~TvViewer() {
    qApp->removeEventFilter(this);
}

QString TvViewer::text(const char* key, const QString& fallback) const {
    const QString t = d_.lang ? d_.lang(QStringLiteral("TvViewer"), QString::fromLatin1(key)) : QString();
    return t.isEmpty() || t == QLatin1String("0") ? fallback : t;
}

QStringList TvViewer::candidates() const {
    QStringList names;
    if (!d_.streams)
        return names;
    for (int slot = 1; slot <= GridSurface::kSlots; ++slot) {
        QPushButton* b = d_.main->slotButton(slot);
        if (!b || b->isHidden())
            continue;
        const QString name = d_.main->slotCaption(slot);
        if (!name.isEmpty() && !names.contains(name) && d_.streams->streamFor(name))
            names << name;
    }
    return names;
}

bool TvViewer::canStep() const {
    return !candidates().isEmpty();
}

bool TvViewer::step(int direction) {
    const QStringList names = candidates();
    if (names.isEmpty() || !d_.startChannel)
        return false;
    qsizetype at = d_.tv->isPlaying() ? names.indexOf(current_) : -1;
    if (at < 0 && d_.tv->isPlaying()) {
        // Started under another name (a favourite): found by its stream.
        const QUrl url = d_.tv->stream().url;
        for (qsizetype i = 0; i < names.size() && at < 0; ++i)
            if (const auto s = d_.streams->streamFor(names[i]); s && s->url == url)
                at = i;
    }
    const qsizetype n = names.size();
    const qsizetype next = at < 0 ? (direction > 0 ? 0 : n - 1) : ((at + direction) % n + n) % n;
    noteRequested(names[next]);
    d_.startChannel(names[next]);
    return true;
}

QString TvViewer::channelName() const {
    return current_.isEmpty() ? d_.tv->channelName() : current_;
}

NowNext TvViewer::nowNext(qint64 nowMs) const {
    if (!d_.programmes)
        return {};
    const std::vector<Programme>* list = d_.programmes(current_);
    if (!list && current_ != d_.tv->channelName())
        list = d_.programmes(d_.tv->channelName());
    return NowNext::at(list, nowMs);
}

void TvViewer::channelStarted() {
    // The name it was asked for when the stream is the one that name plays; the same name when
    // the same stream plays again (media keys); the playlist's otherwise.
    const QUrl url = d_.tv->stream().url;
    if (requested_.isEmpty() && url == lastUrl_ && !current_.isEmpty()) {
        showChannelLine();
        emit channelChanged();
        return;
    }
    lastUrl_ = url;
    current_ = d_.tv->channelName();
    if (!requested_.isEmpty() && d_.streams) {
        if (const auto s = d_.streams->streamFor(requested_); s && s->url == d_.tv->stream().url)
            current_ = requested_;
    }
    requested_.clear();
    showChannelLine();
    emit channelChanged();
}

void TvViewer::showChannelLine() {
    QString line = channelName();
    const NowNext nn = nowNext(QDateTime::currentMSecsSinceEpoch());
    QStringList guide;
    if (nn.now)
        guide << QStringLiteral("%1 %2–%3 %4")
                     .arg(text("now", QStringLiteral("Сейчас")), clock(nn.now->start), clock(nn.now->stop),
                          nn.now->title);
    if (nn.next)
        guide << QStringLiteral("%1 %2 %3")
                     .arg(text("next", QStringLiteral("Далее")), clock(nn.next->start), nn.next->title);
    if (!guide.isEmpty())
        line += u'\n' + guide.join(QStringLiteral("  ·  "));
    line_->showText(line);
}

void TvViewer::changeVolume(int delta) {
    volumeBeforeMute_ = -1;
    volume_->setValue(std::clamp(volume_->value() + delta, volume_->minimum(), volume_->maximum()));
    line_->showText(text("volume", QStringLiteral("Громкость: %1%")).arg(volume_->value()));
}

void TvViewer::toggleMute() {
    if (volumeBeforeMute_ >= 0) {
        volume_->setValue(volumeBeforeMute_);
        volumeBeforeMute_ = -1;
        line_->showText(text("volume", QStringLiteral("Громкость: %1%")).arg(volume_->value()));
        return;
    }
    volumeBeforeMute_ = volume_->value();
    volume_->setValue(volume_->minimum());
    line_->showText(text("muted", QStringLiteral("Звук выключен")));
}

bool TvViewer::handleKey(QKeyEvent* e) {
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (e->key()) {
    case Qt::Key_F:
    case Qt::Key_F11:
        fullscreen().toggle();
        return true;
    case Qt::Key_PageDown:
        step(+1);
        return true;
    case Qt::Key_PageUp:
        step(-1);
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        changeVolume(+kWheelStep);
        return true;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        changeVolume(-kWheelStep);
        return true;
    case Qt::Key_M:
        toggleMute();
        return true;
    default:
        return false;
    }
}

bool TvViewer::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress && d_.tv->isPlaying() && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        QWidget* window = w->window();
        if ((window == d_.main || window == fullscreen_.get()) && !typingInto(w))
            return handleKey(static_cast<QKeyEvent*>(e));
        return false;
    }
    // The full-screen window is made on first use; from then on it takes the double-clicks itself.
    if (watched == d_.view && e->type() == QEvent::MouseButtonDblClick && !fullscreen_ &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        fullscreen().toggle();
        return true;
    }
    if (watched == d_.view && e->type() == QEvent::Wheel) {
        const int notches = static_cast<QWheelEvent*>(e)->angleDelta().y() / 120;
        if (notches != 0)
            changeVolume(notches * kWheelStep);
        return true;
    }
    return QObject::eventFilter(watched, e);
}
