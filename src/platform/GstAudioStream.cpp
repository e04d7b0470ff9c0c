#include "platform/GstAudioStream.h"

#include "platform/LogCategories.h"

#include <gst/gst.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kTapDrainTimeoutMs = 1500;
constexpr int kBusPollMs = 20;

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

// Streaming threads: drop the messages handle() ignores (buffering levels arrive dozens of times a
// second) before they wake the UI thread.
GstBusSyncReply filterBus(GstBus*, GstMessage* msg, gpointer pipeline) {
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
} // namespace

GstAudioStream::GstAudioStream(GstElement* pipeline, GstElement* sinkBin, GstElement* tee, GstElement* volume,
                               bool useBusWatch, int openTimeoutMs)
    : pipeline_(pipeline), sinkBin_(sinkBin), tee_(tee), volume_(volume) {
    GstBus* bus = gst_pipeline_get_bus(GST_PIPELINE(pipeline_));
    gst_bus_set_sync_handler(bus, &filterBus, pipeline_, nullptr);
    if (useBusWatch) {
        busWatch_ = gst_bus_add_watch(
            bus,
            [](GstBus*, GstMessage* msg, gpointer self) -> gboolean {
                static_cast<GstAudioStream*>(self)->handle(msg);
                return G_SOURCE_CONTINUE;
            },
            this);
    } else {
        busPoll_.setInterval(kBusPollMs);
        connect(&busPoll_, &QTimer::timeout, this, &GstAudioStream::pollBus);
        busPoll_.start();
    }
    gst_object_unref(bus);
    watchdog_.setSingleShot(true);
    watchdog_.setInterval(openTimeoutMs);
    connect(&watchdog_, &QTimer::timeout, this, [this] {
        if (state_ == State::Opening) {
            qCWarning(lcAudio) << "stream: no audio within" << watchdog_.interval() << "ms";
            end(Failure::Unreachable);
        }
    });
    watchdog_.start();
}

GstAudioStream::~GstAudioStream() {
    watchdog_.stop();
    busPoll_.stop();
    if (busWatch_)
        g_source_remove(busWatch_);
    // Once NULL no streaming thread runs, so the taps can be settled from here.
    gst_element_set_state(pipeline_, GST_STATE_NULL);
    retiring_.clear();
    tap_.reset();
    gst_object_unref(pipeline_);
}

void GstAudioStream::play() {
    if (state_ == State::Ended)
        return;
    if (gst_element_set_state(pipeline_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        qCWarning(lcAudio) << "stream: the pipeline refused to play";
        // Reported from the event loop so that callers never see a signal inside play().
        QTimer::singleShot(0, this, [this] { end(Failure::Other); });
    }
}

void GstAudioStream::setVolume(float volume) {
    const double v = std::isnan(volume) ? 0.0 : std::clamp(static_cast<double>(volume), 0.0, 1.0);
    g_object_set(volume_, "volume", v, nullptr);
}

void GstAudioStream::attachConsumer(std::shared_ptr<PcmConsumer> consumer) {
    detachConsumer();
    if (!consumer)
        return;
    if (state_ == State::Ended) {
        consumer->endOfPcm();
        return;
    }
    tap_ = std::make_unique<GstRecordingTap>(++lastTapId_, std::move(consumer));
    if (isPlaying())
        linkTap();
}

void GstAudioStream::detachConsumer() {
    if (!tap_)
        return;
    std::unique_ptr<GstRecordingTap> tap = std::move(tap_);
    if (!tap->isLinked())
        return; // destroying it ends its consumer
    const GstRecordingTap::Id id = tap->id();
    tap->unlinkWhenIdle();
    retiring_.push_back(std::move(tap));
    QTimer::singleShot(kTapDrainTimeoutMs, this, [this, id] { finishRetiring(id); });
}

bool GstAudioStream::isPlaying() const {
    GstState current = GST_STATE_NULL;
    gst_element_get_state(pipeline_, &current, nullptr, 0);
    return state_ == State::Playing && current == GST_STATE_PLAYING;
}

void GstAudioStream::pollBus() {
    GstBus* bus = gst_pipeline_get_bus(GST_PIPELINE(pipeline_));
    while (GstMessage* msg = gst_bus_pop(bus)) {
        handle(msg);
        gst_message_unref(msg);
    }
    gst_object_unref(bus);
}

void GstAudioStream::handle(GstMessage* msg) {
    switch (GST_MESSAGE_TYPE(msg)) {
    case GST_MESSAGE_ERROR: {
        GError* err = nullptr;
        gchar* debug = nullptr;
        gst_message_parse_error(msg, &err, &debug);
        Failure why = classify(err);
        if (why == Failure::NotAudio && state_ != State::Opening)
            why = Failure::Other;
        qCWarning(lcAudio) << "stream:" << err->message << why;
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
        if (tap_ && !tap_->isLinked())
            linkTap();
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

void GstAudioStream::end(Failure why) {
    if (state_ == State::Ended)
        return;
    state_ = State::Ended;
    failure_ = why;
    watchdog_.stop();
    gst_element_set_state(pipeline_, GST_STATE_NULL);
    retiring_.clear();
    tap_.reset();
    emit ended(why);
}

void GstAudioStream::linkTap() {
    if (!tap_->link(sinkBin_, tee_, this, [this](GstRecordingTap::Id id) { deliver(id); }))
        tap_.reset(); // its consumer is ended: nothing will be recorded
}

// UI thread: hand queued audio to the tap's consumer; a retiring tap that saw its end is done.
void GstAudioStream::deliver(GstRecordingTap::Id id) {
    GstRecordingTap* tap = findTap(id);
    if (tap && tap->deliver() && tap != tap_.get())
        finishRetiring(id);
}

GstRecordingTap* GstAudioStream::findTap(GstRecordingTap::Id id) const {
    if (tap_ && tap_->id() == id)
        return tap_.get();
    for (const auto& t : retiring_)
        if (t->id() == id)
            return t.get();
    return nullptr;
}

void GstAudioStream::finishRetiring(GstRecordingTap::Id id) {
    // Destroying the tap settles it.
    std::erase_if(retiring_, [id](const auto& t) { return t->id() == id; });
}
