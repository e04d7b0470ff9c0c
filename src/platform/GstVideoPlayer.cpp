#include "platform/GstVideoPlayer.h"

#include "platform/GstHttpSource.h"
#include "platform/GstPipelineControl.h"
#include "platform/LogCategories.h"
#include "platform/PendingStops.h"
#include "platform/QueuedReceiver.h"
#include "platform/UserAgent.h"

#include <QRegularExpression>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/pbutils/missing-plugins.h>
#include <gst/video/video.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <mutex>

namespace {

constexpr guint kPlayFlagVideo = 1u << 0;
constexpr guint kPlayFlagAudio = 1u << 1;
constexpr guint kPlayFlagSoftVolume = 1u << 4;
constexpr guint kPlayFlagNativeVideo = 1u << 6; // the video sink converts and scales itself
constexpr int kWatchdogTickMs = 250;

qint64 nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool hasProperty(GObject* object, const char* name, GType type) {
    GParamSpec* p = g_object_class_find_property(G_OBJECT_GET_CLASS(object), name);
    return p && p->value_type == type;
}

// The size the pictures are scaled to before they are converted: the view's, letter-boxed with
// square pixels; the stream's own while the view has none.
GstCaps* sizeCaps(QSize view) {
    if (view.width() < 2 || view.height() < 2)
        return gst_caps_new_empty_simple("video/x-raw");
    return gst_caps_new_simple("video/x-raw", "width", G_TYPE_INT, view.width(), "height", G_TYPE_INT,
                               view.height(), "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, nullptr);
}

// appsink behind a scaler and a converter: the decoder's picture is made the view's size first,
// and only that many pixels are converted to what the painter draws as it is (BGRx). Without the
// scaler (a GStreamer without it), playbin converts and the view scales.
GstElement* makeVideoSink(GstElement* appsink, QSize view, GstElement** sizeFilter) {
    GstElement* scale = gst_element_factory_make("videoscale", nullptr);
    GstElement* filter = gst_element_factory_make("capsfilter", nullptr);
    GstElement* convert = gst_element_factory_make("videoconvert", nullptr);
    if (!scale || !filter || !convert) {
        for (GstElement* e : {scale, filter, convert})
            if (e)
                gst_object_unref(e);
        *sizeFilter = nullptr;
        return appsink;
    }
    GstCaps* caps = sizeCaps(view);
    g_object_set(filter, "caps", caps, nullptr);
    gst_caps_unref(caps);
    GstElement* bin = gst_bin_new("tvvideo");
    gst_bin_add_many(GST_BIN(bin), scale, filter, convert, appsink, nullptr);
    gst_element_link_many(scale, filter, convert, appsink, nullptr);
    GstPad* pad = gst_element_get_static_pad(scale, "sink");
    gst_element_add_pad(bin, gst_ghost_pad_new("sink", pad));
    gst_object_unref(pad);
    *sizeFilter = GST_ELEMENT(gst_object_ref(filter));
    return bin;
}

// Worker thread, before the pipeline starts: opening the output is a connection to the sound
// server, which may take its time. Without a sound server the picture still plays, silently, on
// the stream's own clock.
void openAudioOutput(GstElement* playbin) {
    GstElement* sink = nullptr;
    g_object_get(playbin, "audio-sink", &sink, nullptr);
    if (!sink)
        return;
    const bool opened = gst_element_set_state(sink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
    if (!opened)
        gst_element_set_state(sink, GST_STATE_NULL);
    gst_object_unref(sink);
    if (opened)
        return;
    qCWarning(lcTv) << "no audio output (PulseAudio); the channel plays without sound";
    GstElement* silent = gst_element_factory_make("fakesink", nullptr);
    if (!silent)
        return;
    g_object_set(silent, "sync", TRUE, nullptr);
    // Nothing to set the volume of: playbin's own volume element, put in front of a sink without
    // one, would outlive the stream.
    guint flags = 0;
    g_object_get(playbin, "flags", &flags, nullptr);
    g_object_set(playbin, "audio-sink", silent, "flags", flags & ~kPlayFlagSoftVolume, nullptr);
}

} // namespace

// What the streaming threads hand to the UI thread. Owned jointly by the session and by every
// callback and queued call, so none of them outlives it.
struct GstVideoPlayer::Bridge {
    GstVideoPlayer* player = nullptr; // only touched in calls posted through receiver
    std::shared_ptr<QueuedReceiver> receiver;
    GstHttpSource::Setup http; // how every request of the stream goes out
    std::mutex mutex;
    QImage pending; // the newest picture not yet taken by the UI thread
    QSize pendingDisplay;
    bool posted = false;
    std::atomic<qint64> lastFrameMs{0}; // when the last picture arrived, 0 before the first
};

struct GstVideoPlayer::Session {
    std::shared_ptr<GstPipelineControl> control; // owns the pipeline
    GstElement* playbin = nullptr;               // the control's; valid while the session lasts
    std::shared_ptr<Bridge> bridge;
    std::shared_ptr<void> httpClaim; // the demuxer's own downloads carry the stream's headers too
    // Where the view's size goes; null when playbin scales. Held so that a resize can reach it.
    std::unique_ptr<GstElement, decltype(&gst_object_unref)> sizeFilter{nullptr, &gst_object_unref};
};

// The GStreamer callbacks. Streaming threads: copy the picture, post once per batch; never touch
// Qt objects.
struct GstVideoPlayerAccess {
    using BridgePtr = std::shared_ptr<GstVideoPlayer::Bridge>;

    static void releaseBridge(gpointer p) { delete static_cast<BridgePtr*>(p); }

    // The decoded picture itself, not a copy: the image holds the mapped buffer until it is
    // replaced, and then unmaps and frees it.
    struct HeldFrame {
        GstVideoFrame frame;
        GstSample* sample;
    };
    static void releaseFrame(void* p) {
        auto* held = static_cast<HeldFrame*>(p);
        gst_video_frame_unmap(&held->frame);
        gst_sample_unref(held->sample);
        delete held;
    }

    static void takeSample(const BridgePtr& bridge, GstSample* sample) {
        GstCaps* caps = gst_sample_get_caps(sample);
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        GstVideoInfo info;
        if (!caps || !buffer || !gst_video_info_from_caps(&info, caps))
            return;
        auto* held = new HeldFrame{};
        if (!gst_video_frame_map(&held->frame, &info, buffer, GST_MAP_READ)) {
            delete held;
            return;
        }
        held->sample = gst_sample_ref(sample);
        const int width = GST_VIDEO_FRAME_WIDTH(&held->frame);
        const int height = GST_VIDEO_FRAME_HEIGHT(&held->frame);
        QImage image(static_cast<const uchar*>(GST_VIDEO_FRAME_PLANE_DATA(&held->frame, 0)), width, height,
                     GST_VIDEO_FRAME_PLANE_STRIDE(&held->frame, 0), QImage::Format_RGB32, &releaseFrame,
                     held);
        if (image.isNull()) {
            releaseFrame(held);
            return;
        }
        // Non-square pixels (SD broadcasts not scaled for the view) are shown at their intended width.
        const int parN = GST_VIDEO_INFO_PAR_N(&info) > 0 ? GST_VIDEO_INFO_PAR_N(&info) : 1;
        const int parD = GST_VIDEO_INFO_PAR_D(&info) > 0 ? GST_VIDEO_INFO_PAR_D(&info) : 1;
        const QSize display(int(qint64(width) * parN / parD), height);

        bridge->lastFrameMs.store(nowMs());
        bool post;
        {
            std::lock_guard lock(bridge->mutex);
            bridge->pending = std::move(image);
            bridge->pendingDisplay = display;
            post = !std::exchange(bridge->posted, true);
        }
        if (post)
            bridge->receiver->post([player = bridge->player, bridge] { player->deliver(bridge); });
    }

    static GstFlowReturn onPreroll(GstAppSink* sink, gpointer data) {
        if (GstSample* sample = gst_app_sink_pull_preroll(sink)) {
            takeSample(*static_cast<BridgePtr*>(data), sample);
            gst_sample_unref(sample);
        }
        return GST_FLOW_OK;
    }

    static GstFlowReturn onSample(GstAppSink* sink, gpointer data) {
        if (GstSample* sample = gst_app_sink_pull_sample(sink)) {
            takeSample(*static_cast<BridgePtr*>(data), sample);
            gst_sample_unref(sample);
        }
        return GST_FLOW_OK;
    }

    // Only what the UI thread acts on crosses over; the rest (buffering levels, tags, QoS) is dropped
    // here before it wakes anything.
    static GstBusSyncReply onBus(GstBus*, GstMessage* msg, gpointer data) {
        const BridgePtr& bridge = *static_cast<BridgePtr*>(data);
        bool wanted = false;
        switch (GST_MESSAGE_TYPE(msg)) {
        case GST_MESSAGE_ERROR:
        case GST_MESSAGE_EOS:
            wanted = true;
            break;
        case GST_MESSAGE_ELEMENT:
            wanted = gst_is_missing_plugin_message(msg);
            break;
        default:
            break;
        }
        if (wanted) {
            // Unreferenced with the call, also when the call is dropped with a freed player.
            std::shared_ptr<GstMessage> held(gst_message_ref(msg), gst_message_unref);
            bridge->receiver->post(
                [player = bridge->player, bridge, held] { player->handleMessage(bridge, held.get()); });
        }
        // A dropped message is the handler's to free; kept, it would keep its source element and
        // with it the whole pipeline alive.
        gst_message_unref(msg);
        return GST_BUS_DROP;
    }

    static void onSourceSetup(GstElement*, GstElement* element, gpointer data) {
        GstHttpSource::apply(element, (*static_cast<BridgePtr*>(data))->http);
    }

    static void onElementAdded(GstBin*, GstBin*, GstElement* element, gpointer data) {
        GstHttpSource::apply(element, (*static_cast<BridgePtr*>(data))->http);
    }
};

using videobridge = GstVideoPlayerAccess;
namespace {
using BridgePtr = GstVideoPlayerAccess::BridgePtr;
void releaseBridge(gpointer p) {
    GstVideoPlayerAccess::releaseBridge(p);
}
} // namespace

GstVideoPlayer::GstVideoPlayer(QObject* parent) : GstVideoPlayer(std::make_shared<PendingStops>(), parent) {}

GstVideoPlayer::GstVideoPlayer(std::shared_ptr<PendingStops> stopping, QObject* parent)
    : VideoPlayer(parent), receiver_(std::make_shared<QueuedReceiver>(this)), stopping_(std::move(stopping)) {
    watchdog_.setInterval(kWatchdogTickMs);
    connect(&watchdog_, &QTimer::timeout, this, &GstVideoPlayer::checkSignal);
}

GstVideoPlayer::~GstVideoPlayer() {
    receiver_->close();
    endSession();
}

bool GstVideoPlayer::waitForStopped(std::chrono::milliseconds timeout) {
    return stopping_->waitForAll(timeout);
}

bool GstVideoPlayer::initGStreamer() {
    if (gst_is_initialized())
        return GstHttpSource::install(), true;
    GError* err = nullptr;
    if (!gst_init_check(nullptr, nullptr, &err)) {
        qCWarning(lcTv) << "GStreamer cannot be loaded:" << (err ? err->message : "unknown reason");
        g_clear_error(&err);
        return false;
    }
    GstHttpSource::install();
    return true;
}

void GstVideoPlayer::play(const StreamSource& source) {
    const QUrl& url = source.url;
    endSession();
    frame_ = QImage();
    displaySize_ = QSize();
    frameCount_ = 0;
    httpStatus_ = 0;
    reason_.clear();
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        qCWarning(lcTv) << "not a network stream:" << url.toDisplayString();
        fail(Status::Failed, QStringLiteral("unsupported address"));
        return;
    }
    if (!initGStreamer()) {
        fail(Status::Failed, QStringLiteral("GStreamer cannot be loaded"));
        return;
    }
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    GstElement* videoSink = gst_element_factory_make("appsink", nullptr);
    // pulsesink, as the radio: autoaudiosink would fall back to a silent fake sink unnoticed.
    GstElement* audioSink = gst_element_factory_make("pulsesink", nullptr);
    if (!playbin || !videoSink || !audioSink) {
        for (GstElement* e : {playbin, videoSink, audioSink})
            if (e)
                gst_object_unref(e);
        qCWarning(lcTv) << "GStreamer lacks playbin, appsink or pulsesink";
        fail(Status::Failed, QStringLiteral("GStreamer elements missing"));
        return;
    }

    auto bridge = std::make_shared<Bridge>();
    bridge->player = this;
    bridge->receiver = receiver_;
    bridge->http = GstHttpSource::Setup{UserAgent::Browser, source.headers, limits_.sourceTimeoutS};

    GstCaps* caps = gst_caps_from_string("video/x-raw,format=BGRx");
    g_object_set(videoSink, "caps", caps, "max-buffers", 2u, "drop", TRUE, "sync", TRUE, "emit-signals",
                 FALSE, nullptr);
    gst_caps_unref(caps);
    // The preroll callback shows the first picture as soon as it is decoded, not once the whole
    // pipeline has prerolled.
    GstAppSinkCallbacks callbacks{};
    callbacks.new_preroll = &videobridge::onPreroll;
    callbacks.new_sample = &videobridge::onSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(videoSink), &callbacks, new BridgePtr(bridge), releaseBridge);

    GstElement* sizeFilter = nullptr;
    GstElement* videoOut = makeVideoSink(videoSink, viewSize_, &sizeFilter);
    const guint videoFlags = sizeFilter ? kPlayFlagVideo | kPlayFlagNativeVideo : kPlayFlagVideo;

    g_object_set(audioSink, "client-name", ZELMO_NAME, nullptr);
    if (!audioDevice_.isEmpty())
        g_object_set(audioSink, "device", audioDevice_.constData(), nullptr);

    const QByteArray uri = url.toEncoded();
    // The stream starts at the volume already set, never louder for a moment.
    g_object_set(playbin, "volume", volume_, nullptr);
    g_object_set(playbin, "uri", uri.constData(), "flags", videoFlags | kPlayFlagAudio | kPlayFlagSoftVolume,
                 "video-sink", videoOut, "audio-sink", audioSink, nullptr);
    g_signal_connect_data(playbin, "source-setup", G_CALLBACK(videobridge::onSourceSetup),
                          new BridgePtr(bridge),
                          GClosureNotify(+[](gpointer p, GClosure*) { releaseBridge(p); }), GConnectFlags(0));
    // Segment downloads of HLS and DASH use sources of their own, inside the demuxer, which
    // source-setup never sees; its playlist downloads are reached through the claim below.
    g_signal_connect_data(playbin, "deep-element-added", G_CALLBACK(videobridge::onElementAdded),
                          new BridgePtr(bridge),
                          GClosureNotify(+[](gpointer p, GClosure*) { releaseBridge(p); }), GConnectFlags(0));
    GstBus* bus = gst_pipeline_get_bus(GST_PIPELINE(playbin));
    gst_bus_set_sync_handler(bus, &videobridge::onBus, new BridgePtr(bridge), releaseBridge);
    gst_object_unref(bus);

    url_ = url;
    session_ = std::make_unique<Session>();
    session_->bridge = bridge;
    session_->httpClaim = GstHttpSource::claim(url, bridge->http);
    session_->sizeFilter.reset(sizeFilter);
    session_->playbin = playbin;
    // The reason of a refused start comes as an error message; this is the fallback should none
    // arrive.
    session_->control = std::make_shared<GstPipelineControl>(
        GST_ELEMENT(gst_object_ref_sink(playbin)), stopping_,
        [bridge](GstState) {
            bridge->receiver->post([player = bridge->player, bridge] {
                if (player->session_ && player->session_->bridge == bridge &&
                    player->status_ == Status::Connecting)
                    player->fail(Status::Failed, QStringLiteral("the stream cannot be started"));
            });
        },
        lcTv);
    qCDebug(lcTv) << "opening" << url.toDisplayString();
    setStatus(Status::Connecting);
    sinceOpen_.start();
    watchdog_.start();
    session_->control->prepare(&openAudioOutput);
    // A network source reports ASYNC and opens in its own thread.
    session_->control->change(GST_STATE_PLAYING);
}

void GstVideoPlayer::setViewSize(QSize size) {
    if (size == viewSize_)
        return;
    viewSize_ = size;
    if (!session_ || !session_->sizeFilter)
        return;
    // The scaler renegotiates on its streaming thread; the pictures already on their way keep the
    // old size and the view scales those few.
    GstCaps* caps = sizeCaps(size);
    g_object_set(session_->sizeFilter.get(), "caps", caps, nullptr);
    gst_caps_unref(caps);
}

void GstVideoPlayer::setVolume(double volume) {
    volume_ = std::isnan(volume) ? 0.0 : std::clamp(volume, 0.0, 1.0);
    // A property of the pipeline's volume element: taken by the streaming thread as it goes.
    if (session_ && session_->playbin)
        g_object_set(session_->playbin, "volume", volume_, nullptr);
}

void GstVideoPlayer::stop() {
    endSession();
    // The last picture is the decoder's own buffer: a stopped player keeps none of the stream.
    frame_ = QImage();
    displaySize_ = QSize();
    setStatus(Status::Idle);
}

void GstVideoPlayer::endSession() {
    watchdog_.stop();
    if (!session_)
        return;
    // Stopped and freed on a worker. Its callbacks reach this player only through the receiver,
    // and calls of an ended session are told apart by their bridge.
    std::unique_ptr<Session> s = std::move(session_);
    s->control->release(nullptr);
}

void GstVideoPlayer::deliver(const std::shared_ptr<Bridge>& bridge) {
    if (!session_ || session_->bridge != bridge)
        return; // a picture of a stream already ended
    {
        std::lock_guard lock(bridge->mutex);
        frame_ = std::move(bridge->pending);
        bridge->pending = QImage();
        displaySize_ = bridge->pendingDisplay;
        bridge->posted = false;
    }
    if (frame_.isNull())
        return;
    ++frameCount_;
    if (status_ == Status::Connecting || status_ == Status::NoSignal)
        setStatus(Status::Playing);
    emit frameChanged();
}

void GstVideoPlayer::checkSignal() {
    if (!session_)
        return;
    if (status_ == Status::CodecMissing)
        return; // sound may go on; the picture never comes
    const qint64 last = session_->bridge->lastFrameMs.load();
    if (last == 0) {
        if (sinceOpen_.elapsed() > limits_.firstFrameMs) {
            qCWarning(lcTv) << "no picture within" << limits_.firstFrameMs << "ms; giving up the open";
            fail(Status::NoSignal, QString());
        }
        return;
    }
    // GStreamer reports nothing when a stream stalls mid-way: only the missing pictures tell.
    if (nowMs() - last > limits_.stallMs && status_ == Status::Playing) {
        qCWarning(lcTv) << "no new picture for" << limits_.stallMs << "ms";
        setStatus(Status::NoSignal);
    }
}

void GstVideoPlayer::handleMessage(const std::shared_ptr<Bridge>& bridge, void* message) {
    if (!session_ || session_->bridge != bridge)
        return;
    auto* msg = static_cast<GstMessage*>(message);
    switch (GST_MESSAGE_TYPE(msg)) {
    case GST_MESSAGE_EOS:
        qCWarning(lcTv) << "the stream ended";
        fail(Status::NoSignal, QStringLiteral("end of stream"));
        return;
    case GST_MESSAGE_ELEMENT: {
        gchar* description = gst_missing_plugin_message_get_description(msg);
        const QString what = QString::fromUtf8(description ? description : "");
        g_free(description);
        const GstStructure* s = gst_message_get_structure(msg);
        const GValue* detail = s ? gst_structure_get_value(s, "detail") : nullptr;
        QString caps;
        if (detail && GST_VALUE_HOLDS_CAPS(detail)) {
            gchar* text = gst_caps_to_string(gst_value_get_caps(detail));
            caps = QString::fromUtf8(text);
            g_free(text);
        }
        qCWarning(lcTv) << "missing plug-in:" << what << caps;
        // A missing audio decoder leaves the picture; a missing video decoder leaves only sound.
        if (!caps.startsWith(QLatin1String("audio/")) && frameCount_ == 0 && status_ == Status::Connecting) {
            reason_ = what;
            setStatus(Status::CodecMissing);
        }
        return;
    }
    case GST_MESSAGE_ERROR: {
        GError* err = nullptr;
        gchar* debug = nullptr;
        gst_message_parse_error(msg, &err, &debug);
        const QString text = QString::fromUtf8(err->message);
        const QString details = QString::fromUtf8(debug ? debug : "");
        GstElement* from = GST_IS_ELEMENT(GST_MESSAGE_SRC(msg)) ? GST_ELEMENT(GST_MESSAGE_SRC(msg)) : nullptr;
        const bool fromHttp = from && hasProperty(G_OBJECT(from), "user-agent", G_TYPE_STRING);
        const GQuark domain = err->domain;
        const int code = err->code;
        g_clear_error(&err);
        g_free(debug);
        qCWarning(lcTv) << "stream error:" << text << details;

        if (status_ == Status::CodecMissing)
            return endSession(); // the missing codec is the better explanation
        if (frameCount_ > 0)
            return fail(Status::NoSignal, text); // the picture was there and is gone
        // souphttpsrc words it "Not Found (404), URL: …" in the details.
        static const QRegularExpression statusCode(QStringLiteral("\\((\\d{3})\\)"));
        const QRegularExpressionMatch m = statusCode.match(details);
        if (domain == GST_RESOURCE_ERROR && m.hasMatch())
            return fail(Status::HttpError, text, m.captured(1).toInt());
        // A refused connection and a silent server both end in "Internal data stream error":
        // the address says more.
        if (domain == GST_RESOURCE_ERROR || fromHttp)
            return fail(Status::Unreachable, url_.authority());
        if ((domain == GST_CORE_ERROR && code == GST_CORE_ERROR_MISSING_PLUGIN) ||
            (domain == GST_STREAM_ERROR &&
             (code == GST_STREAM_ERROR_CODEC_NOT_FOUND || code == GST_STREAM_ERROR_TYPE_NOT_FOUND)))
            return fail(Status::CodecMissing, reason_.isEmpty() ? text : reason_);
        return fail(Status::Failed, text);
    }
    default:
        return;
    }
}

void GstVideoPlayer::fail(Status status, const QString& reason, int httpStatus) {
    endSession();
    if (!reason.isEmpty() || status != Status::NoSignal)
        reason_ = reason;
    httpStatus_ = httpStatus;
    setStatus(status);
}

void GstVideoPlayer::setStatus(Status status) {
    if (status_ == status)
        return;
    status_ = status;
    qCDebug(lcTv) << "status" << status;
    emit statusChanged(status);
}
