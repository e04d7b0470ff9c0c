#pragma once
#include "platform/AudioEngine.h"
#include "platform/GstWarmup.h"

// Plays each stream through its own GStreamer playbin into PulseAudio.
class GstAudioEngine : public AudioEngine {
public:
    GstAudioEngine();
    ~GstAudioEngine() override;

    bool init() override;
    void shutdown() override;
    bool canDecodeWma() const override;
    std::unique_ptr<AudioStream> open(const QUrl& url) override;

    // How long an open may go without any audio before it is given up (default 5 s).
    void setOpenTimeout(int msecs) { openTimeoutMs_ = msecs; }
    // The PulseAudio sink to play into; empty for the default one.
    void setDevice(const QByteArray& device) { device_ = device; }

private:
    bool initialised_ = false;
    bool busWatchWorks_ = false;
    int openTimeoutMs_ = 5000;
    QByteArray device_;
    GstPluginWarmer warmer_;
};
