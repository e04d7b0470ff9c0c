#pragma once
#include "platform/StreamSource.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QUrl>

#include <chrono>

// Plays one network video stream: pictures become QImages for a widget to paint as they are, sound goes to
// the sound server. Every call returns at once; what happens afterwards arrives as signals on the thread that
// owns the player.
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

    // Ends whatever plays, then opens source.url (http or https). Every request of the stream
    // carries source.headers; a browser's User-Agent unless they name one.
    virtual void play(const StreamSource& source) = 0;
    void play(const QUrl& url) { play(StreamSource{url, {}}); }
    // The size, in device pixels, the picture is shown at: frames come scaled to it, letter-boxed,
    // where that is cheapest (before conversion). An empty size: the stream's own.
    virtual void setViewSize(QSize size) { Q_UNUSED(size); }
    // Ends playback; the status becomes Idle. Returns promptly even while an open hangs.
    virtual void stop() = 0;
    // Waits at most timeout for the pipelines of ended streams to stop and be freed (at exit, so
    // that the sound output is closed properly). False when one is still busy.
    virtual bool waitForStopped(std::chrono::milliseconds timeout) = 0;
    // 0.0 .. 1.0 (linear, as the radio's): the current stream and every stream opened after it.
    virtual void setVolume(double volume) { volume_ = volume; }
    double volume() const { return volume_; }

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
    double volume_ = 1.0;
};
