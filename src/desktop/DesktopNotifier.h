#pragma once
#include <QObject>
#include <QString>

// Desktop notifications (org.freedesktop.Notifications on the session bus). Each new one replaces
// the previous one of this program, so a station changing songs leaves one bubble, not a pile.
// Sent without waiting for an answer: a desktop without a notification service costs nothing.
class DesktopNotifier : public QObject {
    Q_OBJECT
public:
    explicit DesktopNotifier(QObject* parent = nullptr);
    void notify(const QString& summary, const QString& body);

    static constexpr int kShowMs = 6000;
    // The id the service gave the last bubble; 0 before any answer.
    uint lastId() const { return lastId_; }

private:
    uint lastId_ = 0;
};
