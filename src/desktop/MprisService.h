#pragma once
#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariantMap>

class QDBusAbstractAdaptor;

// What is playing, as desktop shells show it: the song or programme as the title, the station or
// channel as the artist (and album), its picture and its address.
struct MprisTrack {
    QString title;
    QString artist;
    QUrl artUrl;
    QUrl url;
    bool operator==(const MprisTrack&) const = default;
};

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
    // The title exactly as decoded.
    void setTrack(const MprisTrack& track);
    // The station's name and the stream's title (a radio without picture or address).
    void setNowPlaying(const QString& station, const QString& title) { setTrack({title, station, {}, {}}); }
    // 0.0 .. 1.0, as the volume bar shows it.
    void setVolume(double volume);
    // What the controls can do now: step to another station or channel, start playing.
    void setCanGoNext(bool can);
    void setCanGoPrevious(bool can);
    void setCanPlay(bool can);

    Status status() const { return status_; }
    double volume() const { return volume_; }
    const MprisTrack& track() const { return track_; }
    bool canGoNext() const { return canGoNext_; }
    bool canGoPrevious() const { return canGoPrevious_; }
    bool canPlay() const { return canPlay_; }
    QVariantMap metadata() const;
    QString playbackStatusText() const;

signals:
    void playRequested(); // the last station or channel again
    void stopRequested(); // radio or TV off
    void nextRequested();
    void previousRequested();
    void quitRequested(); // as the main window's close
    void volumeRequested(double volume);
    void raiseRequested();
    void openUriRequested(const QString& uri);

private:
    void announce(const QString& interface, const QVariantMap& changed);

    QString busName_;
    Status status_ = Status::Stopped;
    MprisTrack track_;
    double volume_ = 1.0;
    bool canGoNext_ = false;
    bool canGoPrevious_ = false;
    bool canPlay_ = false;
    int trackNumber_ = 0;
};
