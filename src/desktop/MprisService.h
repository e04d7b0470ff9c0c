#pragma once
#include <QObject>
#include <QString>
#include <QVariantMap>

class QDBusAbstractAdaptor;

// The player as the desktop sees it on the session bus (media keys, sound menus, playerctl). It
// holds what the desktop may read and asks the program, through its signals, to act; the program
// pushes every change back so that listeners hear of it.
class MprisService : public QObject {
    Q_OBJECT
public:
    enum class Status { Stopped, Playing };

    static inline const QString kServiceName = QStringLiteral("org.mpris.MediaPlayer2.zelmoplayer");
    static inline const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");

    explicit MprisService(QObject* parent = nullptr);
    ~MprisService() override;

    // Claims the name on the session bus (a second instance gets a name of its own, with its
    // process id appended). False with a reason in the log when no session bus is reachable.
    bool publish();
    QString busName() const { return busName_; }

    void setStatus(Status status);
    // The stream's title exactly as decoded, and the station's name.
    void setNowPlaying(const QString& station, const QString& title);
    // 0.0 .. 1.0, as the volume bar shows it.
    void setVolume(double volume);

    Status status() const { return status_; }
    double volume() const { return volume_; }
    QVariantMap metadata() const;
    QString playbackStatusText() const;

signals:
    void playRequested(); // the last station again
    void stopRequested(); // radio off
    void volumeRequested(double volume);
    void raiseRequested();
    void openUriRequested(const QString& uri);

private:
    void announce(const QString& interface, const QVariantMap& changed);

    QString busName_;
    Status status_ = Status::Stopped;
    QString station_;
    QString title_;
    double volume_ = 1.0;
    int track_ = 0;
};
