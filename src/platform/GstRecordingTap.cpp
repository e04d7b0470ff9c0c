#include "platform/GstRecordingTap.h"

#include "platform/LogCategories.h"
#include "platform/QueuedReceiver.h"

#include <QByteArray>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <atomic>
#include <mutex>
#include <utility>

namespace {
// Drops an element that no bin took (its reference may still be floating).
void drop(GstElement* element) {
    gst_object_unref(gst_object_ref_sink(element));
}

constexpr qsizetype kPcmBytesPerSecond = 44100 * 4;
// Beyond this much undelivered audio the UI thread is stuck; dropping beats growing without bound.
constexpr qsizetype kMaxPendingPcm = kPcmBytesPerSecond * 10;
// Recorded audio is handed to the UI thread in batches of about this much, not once per buffer.
constexpr qsizetype kPcmBatchBytes = kPcmBytesPerSecond / 4;
} // namespace

// Audio handed from the appsink's streaming thread to the UI thread.
struct GstRecordingTap::Bridge {
    std::mutex mutex;
    QByteArray pcm;
    bool wakePosted = false;
    bool eos = false;
    bool abandoned = false; // nobody reads any more
};

// What the idle probe needs; it holds its own reference to the branch.
struct GstRecordingTap::Link {
    GstElement* bin = nullptr;
    std::atomic<bool> unlinked{false};
    ~Link() {
        if (bin)
            gst_object_unref(bin);
    }
    // Unlinks the branch from the tee pad once; true for the call that did it.
    bool unlink(GstPad* teePad) {
        if (unlinked.exchange(true))
            return false;
        GstPad* binSink = gst_element_get_static_pad(bin, "sink");
        gst_pad_unlink(teePad, binSink);
        gst_object_unref(binSink);
        return true;
    }
};

namespace {

// Lives as long as the appsink, which may outlive the stream: the receiver drops calls once closed.
struct CallbackContext {
    std::shared_ptr<QueuedReceiver> receiver;
    GstRecordingTap::Ready ready;
    GstRecordingTap::Id id;
    std::shared_ptr<GstRecordingTap::Bridge> bridge;
};

// Streaming thread: the UI thread is woken once a batch is full (the rest is handed over when the
// tap ends).
void wake(CallbackContext* ctx, bool needed) {
    if (!needed)
        return;
    ctx->receiver->post([ready = ctx->ready, id = ctx->id] { ready(id); });
}

GstFlowReturn onSample(GstAppSink* sink, gpointer data) {
    auto* ctx = static_cast<CallbackContext*>(data);
    GstSample* sample = gst_app_sink_pull_sample(sink);
    if (!sample)
        return GST_FLOW_OK;
    bool needWake = false;
    GstMapInfo map;
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    if (buffer && gst_buffer_map(buffer, &map, GST_MAP_READ)) {
        std::lock_guard lock(ctx->bridge->mutex);
        QByteArray& pcm = ctx->bridge->pcm;
        if (!ctx->bridge->abandoned && pcm.size() < kMaxPendingPcm) {
            if (pcm.capacity() == 0)
                pcm.reserve(kPcmBatchBytes + 64 * 1024);
            pcm.append(reinterpret_cast<const char*>(map.data), qsizetype(map.size));
        }
        if (pcm.size() >= kPcmBatchBytes)
            needWake = !std::exchange(ctx->bridge->wakePosted, true);
        gst_buffer_unmap(buffer, &map);
    }
    gst_sample_unref(sample);
    wake(ctx, needWake);
    return GST_FLOW_OK;
}

void onEos(GstAppSink*, gpointer data) {
    auto* ctx = static_cast<CallbackContext*>(data);
    bool needWake;
    {
        std::lock_guard lock(ctx->bridge->mutex);
        ctx->bridge->eos = true;
        needWake = !std::exchange(ctx->bridge->wakePosted, true);
    }
    wake(ctx, needWake);
}

GstPadProbeReturn onTeePadIdle(GstPad* teePad, GstPadProbeInfo*, gpointer data) {
    auto& link = *static_cast<std::shared_ptr<GstRecordingTap::Link>*>(data);
    if (link->unlink(teePad)) {
        GstPad* binSink = gst_element_get_static_pad(link->bin, "sink");
        gst_pad_send_event(binSink, gst_event_new_eos());
        gst_object_unref(binSink);
    }
    return GST_PAD_PROBE_REMOVE;
}

} // namespace

GstRecordingTap::GstRecordingTap(Id id, std::shared_ptr<PcmConsumer> consumer)
    : id_(id), consumer_(std::move(consumer)), bridge_(std::make_shared<Bridge>()) {}

GstRecordingTap::~GstRecordingTap() {
    settle();
}

bool GstRecordingTap::link(GstElement* sinkBin, GstElement* tee, std::shared_ptr<QueuedReceiver> receiver,
                           Ready ready) {
    GstElement* bin = gst_bin_new(nullptr);
    GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
    GstElement* resample = gst_element_factory_make("audioresample", nullptr);
    GstElement* filter = gst_element_factory_make("capsfilter", nullptr);
    GstElement* sink = gst_element_factory_make("appsink", nullptr);
    if (!convert || !resample || !filter || !sink) {
        qCWarning(lcAudio) << "recording: an element of the tap is missing";
        for (GstElement* e : {convert, resample, filter, sink})
            if (e)
                drop(e);
        drop(bin);
        return false;
    }
    GstCaps* caps = gst_caps_from_string("audio/x-raw,format=S16LE,rate=44100,channels=2,layout=interleaved");
    g_object_set(filter, "caps", caps, nullptr);
    gst_caps_unref(caps);
    // async=false: a sink joining a running pipeline must not ask it to preroll again.
    g_object_set(sink, "sync", FALSE, "async", FALSE, "emit-signals", FALSE, nullptr);
    GstAppSinkCallbacks callbacks{};
    callbacks.eos = &onEos;
    callbacks.new_sample = &onSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks,
                               new CallbackContext{std::move(receiver), std::move(ready), id_, bridge_},
                               [](gpointer p) { delete static_cast<CallbackContext*>(p); });
    gst_bin_add_many(GST_BIN(bin), convert, resample, filter, sink, nullptr);
    GstPad* convertSink = gst_element_get_static_pad(convert, "sink");
    const bool inside = gst_element_link_many(convert, resample, filter, sink, nullptr) &&
                        gst_element_add_pad(bin, gst_ghost_pad_new("sink", convertSink));
    gst_object_unref(convertSink);
    if (!inside) {
        qCWarning(lcAudio) << "recording: the tap's elements do not link";
        drop(bin);
        return false;
    }

    GstPad* teePad = gst_element_request_pad_simple(tee, "src_%u");
    if (!teePad) {
        qCWarning(lcAudio) << "recording: the tee gave no pad";
        drop(bin);
        return false;
    }
    gst_bin_add(GST_BIN(sinkBin), bin);
    GstPad* binSink = gst_element_get_static_pad(bin, "sink");
    const GstPadLinkReturn linked = gst_pad_link(teePad, binSink);
    gst_object_unref(binSink);
    if (linked != GST_PAD_LINK_OK) {
        qCWarning(lcAudio) << "recording: linking the tap failed:" << gst_pad_link_get_name(linked);
        gst_bin_remove(GST_BIN(sinkBin), bin);
        gst_element_release_request_pad(tee, teePad);
        gst_object_unref(teePad);
        return false;
    }
    gst_element_sync_state_with_parent(bin);
    sinkBin_ = sinkBin;
    tee_ = tee;
    bin_ = bin;
    teePad_ = teePad;
    link_ = std::make_shared<Link>();
    link_->bin = GST_ELEMENT(gst_object_ref(bin));
    return true;
}

void GstRecordingTap::unlinkWhenIdle() {
    if (!bin_ || probe_)
        return;
    probe_ =
        gst_pad_add_probe(teePad_, GST_PAD_PROBE_TYPE_IDLE, &onTeePadIdle, new std::shared_ptr<Link>(link_),
                          [](gpointer p) { delete static_cast<std::shared_ptr<Link>*>(p); });
}

bool GstRecordingTap::deliver() {
    QByteArray pcm;
    bool eos;
    {
        std::lock_guard lock(bridge_->mutex);
        pcm.swap(bridge_->pcm);
        bridge_->wakePosted = false;
        eos = bridge_->eos;
    }
    if (!pcm.isEmpty() && consumer_)
        consumer_->writePcm(pcm);
    return eos;
}

void GstRecordingTap::abandon() {
    if (bin_) {
        if (probe_)
            gst_pad_remove_probe(teePad_, probe_);
        probe_ = 0;
        bin_ = nullptr;
        gst_object_unref(teePad_);
        teePad_ = nullptr;
        link_.reset();
    }
    endConsumer();
}

void GstRecordingTap::settle() {
    if (bin_) {
        if (probe_)
            gst_pad_remove_probe(teePad_, probe_);
        probe_ = 0;
        link_->unlink(teePad_);
        gst_element_set_state(bin_, GST_STATE_NULL);
        gst_bin_remove(GST_BIN(sinkBin_), bin_);
        bin_ = nullptr;
        gst_element_release_request_pad(tee_, teePad_);
        gst_object_unref(teePad_);
        teePad_ = nullptr;
    }
    endConsumer();
}

void GstRecordingTap::endConsumer() {
    QByteArray pcm;
    {
        std::lock_guard lock(bridge_->mutex);
        bridge_->abandoned = true;
        pcm.swap(bridge_->pcm);
    }
    if (auto consumer = std::move(consumer_)) {
        if (!pcm.isEmpty())
            consumer->writePcm(pcm);
        consumer->endOfPcm();
    }
}
