#pragma once
#include <QByteArray>
#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <memory>

class GstPipelineControl;
class PendingStops;
class QueuedReceiver;

// Plays one network video stream with GStreamer: pictures become QImages for a widget to paint,
// sound goes to PulseAudio like the radio's. Every call returns at once, freeing the player too:
// state changes run on GStreamer's worker threads. What happens afterwards arrives as signals on
// the thread that owns the player.
class GstVideoPlayer : public QObject {
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

    struct Limits {
        int firstFrameMs = 10000;    // an open that shows no picture within this is given up
        int stallMs = 5000;          // a playing stream that shows no new picture this long has no signal
        unsigned sourceTimeoutS = 5; // network reads that stall this long fail
    };

    explicit GstVideoPlayer(QObject* parent = nullptr);
    // stopping counts this player's pipelines until they have stopped and gone, also after the
    // player itself has been freed.
    GstVideoPlayer(std::shared_ptr<PendingStops> stopping, QObject* parent = nullptr);
    ~GstVideoPlayer() override;

    // Loads GStreamer once per process; false when it cannot be loaded.
    static bool initGStreamer();

    void setLimits(const Limits& limits) { limits_ = limits; }
    // The PulseAudio sink to play into; empty for the default one.
    void setAudioDevice(const QByteArray& device) { audioDevice_ = device; }

    // Ends whatever plays, then opens url (http or https).
    void play(const QUrl& url);
    // Ends playback; the status becomes Idle. Returns promptly even while an open hangs.
    void stop();
    // Waits at most timeout for the pipelines of ended streams to stop and be freed (at exit, so
    // that the sound output is closed properly). False when one is still busy: a source that hangs
    // is left behind.
    bool waitForStopped(std::chrono::milliseconds timeout);

    Status status() const { return status_; }
    int httpStatus() const { return httpStatus_; }
    QString reason() const { return reason_; }
    // The latest picture (null before the first one) and the size it is meant to be seen at.
    const QImage& frame() const { return frame_; }
    QSize displaySize() const { return displaySize_; }
    // Pictures shown since the last play().
    quint64 frameCount() const { return frameCount_; }

signals:
    void statusChanged(GstVideoPlayer::Status status);
    void frameChanged();

private:
    friend struct GstVideoPlayerAccess;
    struct Bridge;
    struct Session;

    void deliver(const std::shared_ptr<Bridge>& bridge);
    void handleMessage(const std::shared_ptr<Bridge>& bridge, void* message);
    void checkSignal();
    void setStatus(Status status);
    void fail(Status status, const QString& reason, int httpStatus = 0);
    void endSession();

    std::shared_ptr<QueuedReceiver> receiver_; // how GStreamer's threads reach this object
    std::shared_ptr<PendingStops> stopping_;   // outlives the player while pipelines stop
    Limits limits_;
    QByteArray audioDevice_;
    QUrl url_;
    std::unique_ptr<Session> session_;
    QTimer watchdog_;
    QElapsedTimer sinceOpen_;
    Status status_ = Status::Idle;
    int httpStatus_ = 0;
    QString reason_;
    QImage frame_;
    QSize displaySize_;
    quint64 frameCount_ = 0;
};
