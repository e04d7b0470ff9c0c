#pragma once
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QUrl>

#include <chrono>

// Plays one network video stream: pictures become QImages for a widget to paint, sound goes to the
// sound server. Every call returns at once; what happens afterwards arrives as signals on the
// thread that owns the player.
class VideoPlayer : public QObject {
    Q_OBJECT
public:
    enum class Status {
        Idle,         // nothing asked for, or stopped
        Connecting,   // opened, no picture yet
        Playing,      // pictures arrive
        NoSignal,     // no picture in time, the picture stopped, or the stream ended
        CodecMissing, // no decoder for the picture here; reason() names what is missing
        HttpError,    // the server answered with an error; httpStatus() and reason()
        Unreachable,  // no connection, or the server never answered; reason() names the server
        Failed,       // anything else; reason() holds the library's words
    };
    Q_ENUM(Status)

    using QObject::QObject;

    // Ends whatever plays, then opens url (http or https).
    virtual void play(const QUrl& url) = 0;
    // Ends playback; the status becomes Idle. Returns promptly even while an open hangs.
    virtual void stop() = 0;
    // Waits at most timeout for the pipelines of ended streams to stop and be freed (at exit, so
    // that the sound output is closed properly). False when one is still busy.
    virtual bool waitForStopped(std::chrono::milliseconds timeout) = 0;

    Status status() const { return status_; }
    int httpStatus() const { return httpStatus_; }
    QString reason() const { return reason_; }
    // The latest picture (null before the first one) and the size it is meant to be seen at.
    const QImage& frame() const { return frame_; }
    QSize displaySize() const { return displaySize_; }
    // Pictures shown since the last play().
    quint64 frameCount() const { return frameCount_; }

signals:
    void statusChanged(VideoPlayer::Status status);
    void frameChanged();

protected:
    Status status_ = Status::Idle;
    int httpStatus_ = 0;
    QString reason_;
    QImage frame_;
    QSize displaySize_;
    quint64 frameCount_ = 0;
};
