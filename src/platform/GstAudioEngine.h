#pragma once
#include "platform/AudioEngine.h"
#include "platform/GstWarmup.h"
#include "platform/PendingStops.h"

#include <QString>

#include <future>

// Plays each stream through its own GStreamer playbin into PulseAudio.
class GstAudioEngine : public AudioEngine {
public:
    GstAudioEngine();
    ~GstAudioEngine() override;

    bool init() override;
    bool ready() const override;
    void shutdown() override;
    bool canDecodeWma() const override;
    std::unique_ptr<AudioStream> open(const QUrl& url) override;

    // How long an open may go without any audio before it is given up (default 5 s).
    void setOpenTimeout(int msecs) { openTimeoutMs_ = msecs; }
    // How long shutdown() waits for freed streams to stop before it leaves them (default 2 s).
    void setStopTimeout(int msecs) { stopTimeoutMs_ = msecs; }
    // True once every freed stream's pipeline has stopped and gone; false after timeout.
    bool waitForStopped(std::chrono::milliseconds timeout) { return stopping_->waitForAll(timeout); }
    // The PulseAudio sink to play into; empty for the default one.
    void setDevice(const QByteArray& device) { device_ = device; }

private:
    struct Loaded {
        bool ok = false;
        QString error;
    };
    // GStreamer's registry is read (or built, on the first run ever) on a thread of its own from
    // construction on; init() takes the result. The program constructs the engine on its
    // low-priority loading thread, which this thread inherits (see MediaBackend).
    std::future<Loaded> loading_;
    Loaded loaded_;
    bool initialised_ = false;
    bool busWatchWorks_ = false;
    int openTimeoutMs_ = 5000;
    int stopTimeoutMs_ = 2000;
    QByteArray device_;
    GstPluginWarmer warmer_;
    // Pipelines of freed streams still being stopped on GStreamer's workers.
    std::shared_ptr<PendingStops> stopping_ = std::make_shared<PendingStops>();
};
