#pragma once
#include "settings/TickSource.h"

#include <QObject>
#include <QString>

#include <memory>

// The auto-close timer: the user confirms a number of minutes, the countdown shows the seconds
// left once a tick, and the tick that reaches zero asks for the program to close. Nothing is
// stored; every run starts with the countdown off.
class AutoCloseCountdown : public QObject {
    Q_OBJECT
public:
    static inline const QString IdleLabel = QStringLiteral("0000000");

    // A null source means a real one-second timer.
    explicit AutoCloseCountdown(std::unique_ptr<TickSource> ticks = nullptr, QObject* parent = nullptr);
    ~AutoCloseCountdown() override;

    // Starts (or restarts, keeping the tick rhythm) a countdown of the typed minutes. False, with
    // nothing changed, when the text is not an integer (sign, decimal or "0x" hexadecimal digits),
    // is zero or below, or gives more seconds than a 32-bit count holds; the caller then shows
    // the message that the value is not valid. The label changes only from the next tick on.
    bool confirm(const QString& minutesText);
    // Stops the countdown and shows the idle label; the seconds left are kept.
    void reset();

    bool running() const;
    qint32 secondsLeft() const { return secondsLeft_; }
    QString labelText() const { return label_; }

signals:
    void labelChanged(const QString& text);
    void closeRequested(); // the count reached zero; the countdown has stopped

private:
    void tick();

    std::unique_ptr<TickSource> ticks_;
    qint32 secondsLeft_ = 0;
    QString label_ = IdleLabel;
};
