#pragma once
#include "platform/VideoPlayer.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QTimer>

#include <memory>

class GstPipelineControl;
class PendingStops;
class QueuedReceiver;

// Plays one network video stream with GStreamer: pictures become QImages for a widget to paint,
// sound goes to PulseAudio like the radio's. State changes run on GStreamer's worker threads,
// also when the player is freed.
class GstVideoPlayer : public VideoPlayer {
    Q_OBJECT
public:
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

    using VideoPlayer::play;
    void play(const StreamSource& source) override;
    void stop() override;
    void setViewSize(QSize size) override;
    bool waitForStopped(std::chrono::milliseconds timeout) override;
    void setVolume(double volume) override;

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
    QSize viewSize_;
    QUrl url_;
    std::unique_ptr<Session> session_;
    QTimer watchdog_;
    QElapsedTimer sinceOpen_;
};
