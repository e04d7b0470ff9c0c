#include "platform/GstAudioEngine.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QMetaObject>
#include <QTimer>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <vector>

namespace {

constexpr guint kPlayFlagAudio = 1u << 1;
// The output bin converts for itself, so playbin need not insert a second converter in front of it.
constexpr guint kPlayFlagNativeAudio = 1u << 5;
constexpr qsizetype kPcmBytesPerSecond = 44100 * 4;
// Beyond this much undelivered audio the UI thread is stuck; dropping beats growing without bound.
constexpr qsizetype kMaxPendingPcm = kPcmBytesPerSecond * 10;
// Recorded audio is handed to the UI thread in batches of about this much, not once per buffer.
constexpr qsizetype kPcmBatchBytes = kPcmBytesPerSecond / 4;
// Large output buffers written in large pieces: a few wake-ups a second instead of a hundred. The
// buffer also bounds how late a volume change is heard.
constexpr gint64 kSinkBufferUs = 300000;
constexpr gint64 kSinkLatencyUs = 100000;
constexpr int kTapDrainTimeoutMs = 1500;
constexpr guint kHttpTimeoutSeconds = 3;

// Audio handed from the appsink's streaming thread to the UI thread.
struct PcmBridge {
    std::mutex mutex;
    QByteArray pcm;
    bool wakePosted = false;
    bool eos = false;
};

// The recording branch: audioconvert ! audioresample ! capsfilter ! appsink in one bin, fed from a
// tee request pad. No queue: the appsink callback only copies and never blocks the player.
struct Tap {
    std::shared_ptr<PcmConsumer> consumer;
    std::shared_ptr<PcmBridge> bridge = std::make_shared<PcmBridge>();
    GstElement* bin = nullptr; // owned by the sink bin once added; null while waiting for PLAYING
    GstPad* teePad = nullptr;  // our ref
    std::atomic<bool> unlinked{false};
    gulong probe = 0;
};

void onSourceSetup(GstElement*, GstElement* source, gpointer) {
    // Defaults block 15 s on a silent server and retry; a radio click should give up quickly.
    GObjectClass* klass = G_OBJECT_GET_CLASS(source);
    if (GParamSpec* p = g_object_class_find_property(klass, "timeout"); p && p->value_type == G_TYPE_UINT)
        g_object_set(source, "timeout", kHttpTimeoutSeconds, nullptr);
    if (GParamSpec* p = g_object_class_find_property(klass, "retries"); p && p->value_type == G_TYPE_INT)
        g_object_set(source, "retries", 0, nullptr);
}

AudioStream::Failure classify(const GError* err) {
    if (err->domain == GST_RESOURCE_ERROR)
        return AudioStream::Failure::Unreachable;
    if (err->domain == GST_CORE_ERROR && err->code == GST_CORE_ERROR_MISSING_PLUGIN)
        return AudioStream::Failure::NotAudio;
    if (err->domain == GST_STREAM_ERROR &&
        (err->code == GST_STREAM_ERROR_TYPE_NOT_FOUND || err->code == GST_STREAM_ERROR_CODEC_NOT_FOUND ||
         err->code == GST_STREAM_ERROR_WRONG_TYPE || err->code == GST_STREAM_ERROR_DEMUX))
        return AudioStream::Failure::NotAudio;
    return AudioStream::Failure::Other;
}

class GstAudioStream final : public AudioStream {
public:
    GstAudioStream(GstElement* pipeline, GstElement* sinkBin, GstElement* tee, GstElement* volume,
                   bool useBusWatch, int openTimeoutMs)
        : pipeline_(pipeline), sinkBin_(sinkBin), tee_(tee), volume_(volume) {
        GstBus* bus = gst_pipeline_get_bus(GST_PIPELINE(pipeline_));
        gst_bus_set_sync_handler(bus, &GstAudioStream::filterBus, pipeline_, nullptr);
        if (useBusWatch) {
            busWatch_ = gst_bus_add_watch(bus, &GstAudioStream::onBus, this);
        } else {
            busPoll_.setInterval(20);
            connect(&busPoll_, &QTimer::timeout, this, &GstAudioStream::pollBus);
            busPoll_.start();
        }
        gst_object_unref(bus);
        watchdog_.setSingleShot(true);
        watchdog_.setInterval(openTimeoutMs);
        connect(&watchdog_, &QTimer::timeout, this, [this] {
            if (state_ == State::Opening)
                end(Failure::Unreachable);
        });
        watchdog_.start();
    }

    ~GstAudioStream() override {
        watchdog_.stop();
        busPoll_.stop();
        if (busWatch_)
            g_source_remove(busWatch_);
        // Once NULL no streaming thread runs, so the taps can be settled from here.
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        for (auto& tap : retiring_)
            settleTap(*tap);
        if (tap_)
            settleTap(*tap_);
        gst_object_unref(pipeline_);
    }

    State state() const override { return state_; }
    Failure failure() const override { return failure_; }

    void play() override {
        if (state_ == State::Ended)
            return;
        if (gst_element_set_state(pipeline_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
            // Reported from the event loop so that callers never see a signal inside play().
            QTimer::singleShot(0, this, [this] { end(Failure::Other); });
        }
    }

    void setVolume(float volume) override {
        const double v = std::isnan(volume) ? 0.0 : std::clamp(static_cast<double>(volume), 0.0, 1.0);
        g_object_set(volume_, "volume", v, nullptr);
    }

    void attachConsumer(std::shared_ptr<PcmConsumer> consumer) override {
        detachConsumer();
        if (!consumer)
            return;
        if (state_ == State::Ended) {
            consumer->endOfPcm();
            return;
        }
        tap_ = std::make_unique<Tap>();
        tap_->consumer = std::move(consumer);
        if (isPlaying())
            linkTap(*tap_);
    }

    void detachConsumer() override {
        if (!tap_)
            return;
        std::unique_ptr<Tap> tap = std::move(tap_);
        if (!tap->bin) {
            tap->consumer->endOfPcm();
            return;
        }
        Tap* raw = tap.get();
        retiring_.push_back(std::move(tap));
        // Unlink between two buffers, then let EOS carry what the queue holds out to the consumer.
        raw->probe = gst_pad_add_probe(raw->teePad, GST_PAD_PROBE_TYPE_IDLE, &GstAudioStream::onTeePadIdle,
                                       raw, nullptr);
        QTimer::singleShot(kTapDrainTimeoutMs, this, [this, raw] { finishRetiring(raw); });
    }

private:
    bool isPlaying() const {
        GstState current = GST_STATE_NULL;
        gst_element_get_state(pipeline_, &current, nullptr, 0);
        return state_ == State::Playing && current == GST_STATE_PLAYING;
    }

    // Streaming threads: drop the messages handle() ignores (buffering levels arrive dozens of
    // times a second) before they wake the UI thread.
    static GstBusSyncReply filterBus(GstBus*, GstMessage* msg, gpointer pipeline) {
        switch (GST_MESSAGE_TYPE(msg)) {
        case GST_MESSAGE_ERROR:
        case GST_MESSAGE_EOS:
        case GST_MESSAGE_CLOCK_LOST:
            return GST_BUS_PASS;
        case GST_MESSAGE_STATE_CHANGED:
            return GST_MESSAGE_SRC(msg) == GST_OBJECT(pipeline) ? GST_BUS_PASS : GST_BUS_DROP;
        default:
            return GST_BUS_DROP;
        }
    }

    static gboolean onBus(GstBus*, GstMessage* msg, gpointer self) {
        static_cast<GstAudioStream*>(self)->handle(msg);
        return G_SOURCE_CONTINUE;
    }

    void pollBus() {
        GstBus* bus = gst_pipeline_get_bus(GST_PIPELINE(pipeline_));
        while (GstMessage* msg = gst_bus_pop(bus)) {
            handle(msg);
            gst_message_unref(msg);
        }
        gst_object_unref(bus);
    }

    void handle(GstMessage* msg) {
        switch (GST_MESSAGE_TYPE(msg)) {
        case GST_MESSAGE_ERROR: {
            GError* err = nullptr;
            gchar* debug = nullptr;
            gst_message_parse_error(msg, &err, &debug);
            Failure why = classify(err);
            if (why == Failure::NotAudio && state_ != State::Opening)
                why = Failure::Other;
            g_clear_error(&err);
            g_free(debug);
            end(why);
            break;
        }
        case GST_MESSAGE_EOS:
            end(state_ == State::Opening ? Failure::Other : Failure::None);
            break;
        case GST_MESSAGE_STATE_CHANGED: {
            if (GST_MESSAGE_SRC(msg) != GST_OBJECT(pipeline_) || state_ == State::Ended)
                break;
            GstState oldState, newState, pending;
            gst_message_parse_state_changed(msg, &oldState, &newState, &pending);
            if (newState != GST_STATE_PLAYING)
                break;
            const bool first = state_ == State::Opening;
            state_ = State::Playing;
            watchdog_.stop();
            // The tap joins only a playing pipeline: linking while paused stalls playback.
            if (tap_ && !tap_->bin)
                linkTap(*tap_);
            if (first)
                emit started();
            break;
        }
        case GST_MESSAGE_CLOCK_LOST:
            gst_element_set_state(pipeline_, GST_STATE_PAUSED);
            gst_element_set_state(pipeline_, GST_STATE_PLAYING);
            break;
        default:
            // BUFFERING is ignored on purpose (filterBus drops it): pausing a live stream to refill
            // only adds gaps.
            break;
        }
    }

    void end(Failure why) {
        if (state_ == State::Ended)
            return;
        state_ = State::Ended;
        failure_ = why;
        watchdog_.stop();
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        for (auto& tap : retiring_)
            settleTap(*tap);
        retiring_.clear();
        if (tap_) {
            settleTap(*tap_);
            tap_.reset();
        }
        emit ended(why);
    }

    void linkTap(Tap& tap) {
        GstElement* bin = gst_bin_new(nullptr);
        GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
        GstElement* resample = gst_element_factory_make("audioresample", nullptr);
        GstElement* filter = gst_element_factory_make("capsfilter", nullptr);
        GstElement* sink = gst_element_factory_make("appsink", nullptr);
        if (!convert || !resample || !filter || !sink) {
            for (GstElement* e : {convert, resample, filter, sink})
                if (e)
                    gst_object_unref(e);
            gst_object_unref(bin);
            tap.consumer->endOfPcm();
            tap_.reset();
            return;
        }
        GstCaps* caps =
            gst_caps_from_string("audio/x-raw,format=S16LE,rate=44100,channels=2,layout=interleaved");
        g_object_set(filter, "caps", caps, nullptr);
        gst_caps_unref(caps);
        // async=false: a sink joining a running pipeline must not ask it to preroll again.
        g_object_set(sink, "sync", FALSE, "async", FALSE, "emit-signals", FALSE, nullptr);
        GstAppSinkCallbacks callbacks{};
        callbacks.eos = &GstAudioStream::onTapEos;
        callbacks.new_sample = &GstAudioStream::onTapSample;
        auto* ctx = new CallbackContext{this, tap.bridge};
        gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, ctx,
                                   [](gpointer p) { delete static_cast<CallbackContext*>(p); });
        gst_bin_add_many(GST_BIN(bin), convert, resample, filter, sink, nullptr);
        gst_element_link_many(convert, resample, filter, sink, nullptr);
        GstPad* convertSink = gst_element_get_static_pad(convert, "sink");
        gst_element_add_pad(bin, gst_ghost_pad_new("sink", convertSink));
        gst_object_unref(convertSink);

        gst_bin_add(GST_BIN(sinkBin_), bin);
        gst_element_sync_state_with_parent(bin);
        tap.bin = bin;
        tap.teePad = gst_element_request_pad_simple(tee_, "src_%u");
        GstPad* binSink = gst_element_get_static_pad(bin, "sink");
        gst_pad_link(tap.teePad, binSink);
        gst_object_unref(binSink);
    }

    static GstPadProbeReturn onTeePadIdle(GstPad* teePad, GstPadProbeInfo*, gpointer data) {
        auto* tap = static_cast<Tap*>(data);
        if (!tap->unlinked.exchange(true)) {
            GstPad* binSink = gst_element_get_static_pad(tap->bin, "sink");
            gst_pad_unlink(teePad, binSink);
            gst_pad_send_event(binSink, gst_event_new_eos());
            gst_object_unref(binSink);
        }
        return GST_PAD_PROBE_REMOVE;
    }

    struct CallbackContext {
        GstAudioStream* stream;
        std::shared_ptr<PcmBridge> bridge;
    };

    // Streaming thread: collect the audio; the UI thread is woken once a batch is full (the rest
    // is handed over when the tap ends).
    static void wake(CallbackContext* ctx, bool needed) {
        if (!needed)
            return;
        QMetaObject::invokeMethod(
            ctx->stream, [stream = ctx->stream, bridge = ctx->bridge] { stream->deliver(bridge); },
            Qt::QueuedConnection);
    }

    static GstFlowReturn onTapSample(GstAppSink* sink, gpointer data) {
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
            if (pcm.size() < kMaxPendingPcm) {
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

    static void onTapEos(GstAppSink*, gpointer data) {
        auto* ctx = static_cast<CallbackContext*>(data);
        bool needWake;
        {
            std::lock_guard lock(ctx->bridge->mutex);
            ctx->bridge->eos = true;
            needWake = !std::exchange(ctx->bridge->wakePosted, true);
        }
        wake(ctx, needWake);
    }

    // UI thread: hand queued audio to the tap's consumer; a retiring tap that saw EOS is done.
    void deliver(const std::shared_ptr<PcmBridge>& bridge) {
        Tap* tap = findTap(bridge);
        if (!tap)
            return;
        QByteArray pcm;
        bool eos;
        {
            std::lock_guard lock(bridge->mutex);
            pcm.swap(bridge->pcm);
            bridge->wakePosted = false;
            eos = bridge->eos;
        }
        if (!pcm.isEmpty() && tap->consumer)
            tap->consumer->writePcm(pcm);
        if (eos && tap != tap_.get())
            finishRetiring(tap);
    }

    Tap* findTap(const std::shared_ptr<PcmBridge>& bridge) const {
        if (tap_ && tap_->bridge == bridge)
            return tap_.get();
        for (const auto& t : retiring_)
            if (t->bridge == bridge)
                return t.get();
        return nullptr;
    }

    void finishRetiring(Tap* tap) {
        auto it =
            std::find_if(retiring_.begin(), retiring_.end(), [tap](const auto& t) { return t.get() == tap; });
        if (it == retiring_.end())
            return;
        if (tap->probe)
            gst_pad_remove_probe(tap->teePad, tap->probe);
        settleTap(*tap);
        retiring_.erase(it);
    }

    // Takes the tap out of the pipeline, hands over its last audio and ends its consumer.
    void settleTap(Tap& tap) {
        if (tap.bin) {
            if (!tap.unlinked.exchange(true)) {
                GstPad* binSink = gst_element_get_static_pad(tap.bin, "sink");
                gst_pad_unlink(tap.teePad, binSink);
                gst_object_unref(binSink);
            }
            gst_element_set_state(tap.bin, GST_STATE_NULL);
            gst_bin_remove(GST_BIN(sinkBin_), tap.bin);
            tap.bin = nullptr;
            gst_element_release_request_pad(tee_, tap.teePad);
            gst_object_unref(tap.teePad);
            tap.teePad = nullptr;
        }
        QByteArray pcm;
        {
            std::lock_guard lock(tap.bridge->mutex);
            pcm.swap(tap.bridge->pcm);
        }
        if (auto consumer = std::move(tap.consumer)) {
            if (!pcm.isEmpty())
                consumer->writePcm(pcm);
            consumer->endOfPcm();
        }
    }

    GstElement* pipeline_;
    GstElement* sinkBin_;
    GstElement* tee_;
    GstElement* volume_;
    guint busWatch_ = 0;
    QTimer busPoll_;
    QTimer watchdog_;
    State state_ = State::Opening;
    Failure failure_ = Failure::None;
    std::unique_ptr<Tap> tap_; // the attached consumer's branch, linked or waiting for PLAYING
    std::vector<std::unique_ptr<Tap>> retiring_;
};

} // namespace

GstAudioEngine::GstAudioEngine() = default;
GstAudioEngine::~GstAudioEngine() = default;

bool GstAudioEngine::init() {
    if (initialised_)
        return true;
    GError* err = nullptr;
    if (!gst_init_check(nullptr, nullptr, &err)) {
        g_clear_error(&err);
        return false;
    }
    // Bus messages come through the GLib main context, which Qt's own loop dispatches on Linux;
    // with any other event dispatcher the bus is polled instead.
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    busWatchWorks_ = dispatcher && dispatcher->inherits("QEventDispatcherGlib");
    initialised_ = true;
    return true;
}

void GstAudioEngine::shutdown() {
    // GStreamer stays loaded for the process: gst_deinit() cannot be followed by another init.
    initialised_ = false;
}

bool GstAudioEngine::canDecodeWma() const {
    if (!gst_is_initialized())
        return false;
    GstRegistry* registry = gst_registry_get();
    GstPluginFeature* demux = gst_registry_lookup_feature(registry, "asfdemux");
    if (!demux)
        return false;
    gst_object_unref(demux);
    GList* decoders = gst_element_factory_list_get_elements(
        GST_ELEMENT_FACTORY_TYPE_DECODER | GST_ELEMENT_FACTORY_TYPE_MEDIA_AUDIO, GST_RANK_MARGINAL);
    GstCaps* wma = gst_caps_from_string("audio/x-wma");
    GList* fitting = gst_element_factory_list_filter(decoders, wma, GST_PAD_SINK, FALSE);
    const bool found = fitting != nullptr;
    gst_plugin_feature_list_free(fitting);
    gst_plugin_feature_list_free(decoders);
    gst_caps_unref(wma);
    return found;
}

std::unique_ptr<AudioStream> GstAudioEngine::open(const QUrl& url) {
    if (!initialised_ || !url.isValid() || url.scheme().isEmpty())
        return nullptr;
    const QByteArray uri = url.toEncoded();
    if (!gst_uri_is_valid(uri.constData()))
        return nullptr;

    // tee ! audioconvert ! volume ! pulsesink; the recording tap hangs off the tee. playbin already
    // queues in front of its audio sink, and PulseAudio takes any rate, so no queue or resampler
    // here; audioconvert passes through untouched when the decoder's format suits the volume.
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    GstElement* sinkBin = gst_bin_new("audio-out");
    GstElement* tee = gst_element_factory_make("tee", nullptr);
    GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
    GstElement* volume = gst_element_factory_make("volume", nullptr);
    // pulsesink, not autoaudiosink: the latter silently falls back to a fake sink.
    GstElement* sink = gst_element_factory_make("pulsesink", nullptr);
    GstElement* parts[] = {tee, convert, volume, sink};
    if (!playbin || std::any_of(std::begin(parts), std::end(parts), [](GstElement* e) { return !e; })) {
        for (GstElement* e : parts)
            if (e)
                gst_object_unref(e);
        gst_object_unref(sinkBin);
        if (playbin)
            gst_object_unref(playbin);
        return nullptr;
    }
    g_object_set(tee, "allow-not-linked", TRUE, nullptr);
    g_object_set(sink, "client-name", "Zelmo Player", "buffer-time", kSinkBufferUs, "latency-time",
                 kSinkLatencyUs, nullptr);
    if (!device_.isEmpty())
        g_object_set(sink, "device", device_.constData(), nullptr);
    gst_bin_add_many(GST_BIN(sinkBin), tee, convert, volume, sink, nullptr);
    gst_element_link_many(tee, convert, volume, sink, nullptr);
    GstPad* in = gst_element_get_static_pad(tee, "sink");
    gst_element_add_pad(sinkBin, gst_ghost_pad_new("sink", in));
    gst_object_unref(in);

    g_object_set(playbin, "uri", uri.constData(), "flags", kPlayFlagAudio | kPlayFlagNativeAudio,
                 "audio-sink", sinkBin, nullptr);
    g_signal_connect(playbin, "source-setup", G_CALLBACK(onSourceSetup), nullptr);
    return std::make_unique<GstAudioStream>(playbin, sinkBin, tee, volume, busWatchWorks_, openTimeoutMs_);
}
