#pragma once
#include "platform/AudioEngine.h"
#include "platform/GstRecordingTap.h"
#include "platform/PendingStops.h"

#include <QTimer>

#include <memory>
#include <vector>

class GstPipelineControl;
class QueuedReceiver;
typedef struct _GstElement GstElement;
typedef struct _GstMessage GstMessage;

// One playbin whose audio sink is tee ! audioconvert ! volume ! pulsesink; recording taps hang off
// the tee. Bus messages arrive through a GLib watch, or a poll where Qt runs its own dispatcher.
// State changes run on GStreamer's workers: play(), an end and the destructor return at once, and
// a source that hangs is given up by the open watchdog.
class GstAudioStream final : public AudioStream {
    Q_OBJECT
public:
    // Takes the pipeline's reference; sinkBin, tee and volume are elements inside it. pending counts
    // the pipelines still being stopped.
    GstAudioStream(GstElement* pipeline, GstElement* sinkBin, GstElement* tee, GstElement* volume,
                   bool useBusWatch, int openTimeoutMs, std::shared_ptr<PendingStops> pending);
    ~GstAudioStream() override;

    State state() const override { return state_; }
    Failure failure() const override { return failure_; }
    void play() override;
    void setVolume(float volume) override;
    void attachConsumer(std::shared_ptr<PcmConsumer> consumer) override;
    void detachConsumer() override;

private:
    bool isPlaying() const;
    void pollBus();
    void handle(GstMessage* msg);
    void end(Failure why);
    void abandonTaps();
    void linkTap();
    void deliver(GstRecordingTap::Id id);
    GstRecordingTap* findTap(GstRecordingTap::Id id) const;
    void finishRetiring(GstRecordingTap::Id id);
    void deliverTitle();

    struct IcyReader;

    std::shared_ptr<QueuedReceiver> receiver_; // how GStreamer's threads reach this object
    GstElement* pipeline_;                     // owned by control_
    std::shared_ptr<GstPipelineControl> control_;
    GstElement* sinkBin_;
    GstElement* tee_;
    GstElement* volume_;
    unsigned busWatch_ = 0;
    QTimer busPoll_;
    QTimer watchdog_;
    QTimer titleGap_;
    quint64 deliveredTitles_ = 0;
    State state_ = State::Opening;
    Failure failure_ = Failure::None;
    GstRecordingTap::Id lastTapId_ = 0;
    std::unique_ptr<GstRecordingTap> tap_; // the attached consumer's branch, linked or waiting for PLAYING
    std::vector<std::unique_ptr<GstRecordingTap>> retiring_;
    std::shared_ptr<IcyReader> icy_; // used by the streaming thread until the pipeline stops
};
