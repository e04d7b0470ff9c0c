#pragma once
#include <QObject>
#include <QString>

// Desktop notifications (org.freedesktop.Notifications on the session bus). Each new one replaces
// the previous one of this program, so a station changing songs leaves one bubble, not a pile.
// Sent without waiting for an answer: a desktop without a notification service costs nothing.
// The body is plain text: for a service that reads markup in it ("body-markup") it is escaped, so
// a title such as "AC/DC & <Friends>" shows as it is; until the service has named what it reads,
// it is escaped too.
class DesktopNotifier : public QObject {
    Q_OBJECT
public:
    explicit DesktopNotifier(QObject* parent = nullptr);
    void notify(const QString& summary, const QString& body);

    static constexpr int kShowMs = 6000;
    // The id the service gave the last bubble; 0 before any answer.
    uint lastId() const { return lastId_; }
    // The body as it goes to the service.
    static QString bodyFor(const QString& text, bool serviceReadsMarkup);

private:
    void askCapabilities();

    uint lastId_ = 0;
    enum class Markup { Unknown, Asking, Read, NotRead } markup_ = Markup::Unknown;
};
