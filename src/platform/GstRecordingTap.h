#pragma once
#include "platform/PcmConsumer.h"

#include <QtGlobal>

#include <functional>
#include <memory>

class QueuedReceiver;
typedef struct _GstElement GstElement;
typedef struct _GstPad GstPad;

// One recording branch of a stream: audioconvert ! audioresample ! capsfilter ! appsink in one bin,
// fed from a tee request pad. No queue: the appsink callback only copies and never blocks the
// player. The tap lives on the UI thread; its audio crosses over in batches.
class GstRecordingTap {
public:
    // Unique within its stream, so a late wake-up can never reach a newer tap at the same address.
    using Id = quint64;
    // Called on the UI thread (posted through the receiver) when audio or the end is waiting.
    using Ready = std::function<void(Id)>;

    GstRecordingTap(Id id, std::shared_ptr<PcmConsumer> consumer);
    // Settles the tap if that has not happened yet.
    ~GstRecordingTap();
    GstRecordingTap(const GstRecordingTap&) = delete;
    GstRecordingTap& operator=(const GstRecordingTap&) = delete;

    Id id() const { return id_; }
    bool isLinked() const { return bin_ != nullptr; }

    // Builds the branch inside sinkBin and links it to a new pad of tee; the pipeline must be
    // playing. False, with nothing left behind, when an element is missing or a link fails.
    bool link(GstElement* sinkBin, GstElement* tee, std::shared_ptr<QueuedReceiver> receiver, Ready ready);
    // Unlinks between two buffers and sends EOS down the branch, so what it holds reaches the
    // consumer; ready() follows once the end arrived.
    void unlinkWhenIdle();
    // UI thread: hands waiting audio to the consumer; true when the branch saw its end.
    bool deliver();
    // Takes the tap out of the pipeline, hands over its last audio and ends its consumer. Safe to
    // call more than once; an unlinked tap only ends its consumer.
    void settle();
    // For a pipeline that is being stopped elsewhere: hands over the audio that arrived and ends
    // the consumer without touching the pipeline; the branch goes with it.
    void abandon();

    // Shared with the streaming threads; defined with the implementation.
    struct Bridge;
    struct Link;

private:
    void endConsumer();

    Id id_;
    std::shared_ptr<PcmConsumer> consumer_;
    std::shared_ptr<Bridge> bridge_;
    std::shared_ptr<Link> link_; // shared with the idle probe, which may run on a streaming thread
    GstElement* sinkBin_ = nullptr;
    GstElement* tee_ = nullptr;
    GstElement* bin_ = nullptr; // owned by sinkBin_ while linked
    GstPad* teePad_ = nullptr;  // our ref
    unsigned long probe_ = 0;   // the idle probe of unlinkWhenIdle, a gulong
};
