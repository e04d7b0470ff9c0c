#include "settings/AutoCloseCountdown.h"

#include "settings/IntegerText.h"

#include <limits>

AutoCloseCountdown::AutoCloseCountdown(std::unique_ptr<TickSource> ticks, QObject* parent)
    : QObject(parent), ticks_(ticks ? std::move(ticks) : std::make_unique<TimerTickSource>(1000)) {
    ticks_->setHandler([this] { tick(); });
}

AutoCloseCountdown::~AutoCloseCountdown() {
    ticks_->stop();
}

bool AutoCloseCountdown::confirm(const QString& minutesText) {
    const std::optional<qint32> minutes = ParseInt32(minutesText);
    // A start at or below zero would never reach zero again and count on into negative numbers.
    if (!minutes || *minutes <= 0 || *minutes > std::numeric_limits<qint32>::max() / 60)
        return false;
    secondsLeft_ = *minutes * 60;
    if (!ticks_->active())
        ticks_->start();
    return true;
}

void AutoCloseCountdown::reset() {
    ticks_->stop();
    label_ = IdleLabel;
    emit labelChanged(label_);
}

bool AutoCloseCountdown::running() const {
    return ticks_->active();
}

void AutoCloseCountdown::tick() {
    if (!ticks_->active())
        return; // a tick already queued when the countdown was stopped
    --secondsLeft_;
    label_ = QString::number(secondsLeft_);
    emit labelChanged(label_);
    if (secondsLeft_ == 0) {
        ticks_->stop();
        emit closeRequested();
    }
}
