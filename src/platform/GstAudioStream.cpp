#include "platform/GstAudioStream.h"

#include "platform/GstPipelineControl.h"
#include "platform/IcyMetadataParser.h"
#include "platform/LogCategories.h"
#include "platform/QueuedReceiver.h"

#include <gst/gst.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>

namespace {
constexpr int kTapDrainTimeoutMs = 1500;
constexpr int kBusPollMs = 20;
constexpr int kTitleGapMs = 250;

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

bool isIcyDemuxer(GstObject* element) {
    if (!GST_IS_ELEMENT(element))
        return false;
    GstElementFactory* factory = gst_element_get_factory(GST_ELEMENT(element));
    return factory && g_strcmp0(GST_OBJECT_NAME(factory), "icydemux") == 0;
}

QString tagText(const GstTagList* list, const char* tag) {
    gchar* value = nullptr;
    if (!gst_tag_list_get_string(list, tag, &value))
        return {};
    QString text = QString::fromUtf8(value).trimmed();
    g_free(value);
    return text;
}

} // namespace

// The raw ICY stream as the HTTP source hands it on: its caps name the metadata interval, its
// buffers carry the metadata blocks. Lives on the streaming thread; titles are posted to the stream.
struct GstAudioStream::IcyReader {
    GstAudioStream* owner;
    std::shared_ptr<QueuedReceiver> receiver;
    std::unique_ptr<IcyMetadataParser> parser;
    // Set before the first title can arrive. From then on, titles in tag messages are GStreamer's
    // own reading of the same bytes (Latin-1 for anything not UTF-8), wherever in the pipeline the
    // tag is posted, and are ignored.
    std::atomic<bool> active{false};
    GstElement* pipeline = nullptr;

    // Titles reach the UI thread merged: at most one call is queued, and the stream hands on at
    // most one title per kTitleGapMs (the latest wins). A station changing its title thousands of
    // times a second then costs the window a few updates a second, and memory nothing.
    std::mutex titleMutex;
    QByteArray latestTitle;
    quint64 titleCount = 0;
    bool titleQueued = false; // a call is queued, or the UI thread is within its gap
    QByteArray lastOrganization;

    // Streaming threads: drop the messages handle() ignores (buffering levels arrive dozens of
    // times a second, tags at every buffer of a flooding station) before they wake the UI thread.
    static GstBusSyncReply filterBus(GstBus*, GstMessage* msg, gpointer self) {
        if (static_cast<IcyReader*>(self)->wanted(msg))
            return GST_BUS_PASS;
        // A dropped message is the handler's to free; kept, it would keep its source element and
        // with it the whole pipeline alive.
        gst_message_unref(msg);
        return GST_BUS_DROP;
    }

    bool wanted(GstMessage* msg) {
        switch (GST_MESSAGE_TYPE(msg)) {
        case GST_MESSAGE_ERROR:
        case GST_MESSAGE_EOS:
        case GST_MESSAGE_CLOCK_LOST:
            return true;
        case GST_MESSAGE_TAG:
            return wantsTags(msg);
        case GST_MESSAGE_STATE_CHANGED:
            return GST_MESSAGE_SRC(msg) == GST_OBJECT(pipeline);
        default:
            return false;
        }
    }

    // Tags worth waking the UI thread for: what is playing. With ICY titles, titles in tags are
    // GStreamer's reading of the same bytes and are skipped (the raw bytes are read from the
    // source instead); what is left is the station's name, passed on when it changes.
    bool wantsTags(GstMessage* msg) {
        GstTagList* list = nullptr;
        gst_message_parse_tag(msg, &list);
        if (!list)
            return false;
        const bool icy = active || isIcyDemuxer(GST_MESSAGE_SRC(msg));
        bool useful = !icy && (gst_tag_list_get_tag_size(list, GST_TAG_TITLE) > 0 ||
                               gst_tag_list_get_tag_size(list, GST_TAG_ARTIST) > 0);
        gchar* organization = nullptr;
        if (gst_tag_list_get_string(list, GST_TAG_ORGANIZATION, &organization)) {
            std::lock_guard lock(titleMutex);
            if (lastOrganization != organization) {
                lastOrganization = organization;
                useful = true;
            }
            g_free(organization);
        }
        gst_tag_list_unref(list);
        return useful;
    }

    void onTitle(const QByteArray& raw) {
        {
            std::lock_guard lock(titleMutex);
            latestTitle = raw;
            ++titleCount;
            if (std::exchange(titleQueued, true))
                return;
        }
        receiver->post([o = owner] { o->deliverTitle(); });
    }

    static void onSourceSetup(GstElement*, GstElement* source, gpointer self) {
        GstPad* pad = gst_element_get_static_pad(source, "src");
        if (!pad)
            return;
        gst_pad_add_probe(pad,
                          GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST |
                                          GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
                          &IcyReader::onData, self, nullptr);
        gst_object_unref(pad);
    }

    static gboolean feedBuffer(GstBuffer** buffer, guint, gpointer self) {
        static_cast<IcyReader*>(self)->feed(*buffer);
        return TRUE;
    }

    static GstPadProbeReturn onData(GstPad*, GstPadProbeInfo* info, gpointer self) {
        auto* reader = static_cast<IcyReader*>(self);
        if (info->type & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM) {
            GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
            if (GST_EVENT_TYPE(event) == GST_EVENT_CAPS)
                reader->onCaps(event);
        } else if (info->type & GST_PAD_PROBE_TYPE_BUFFER) {
            reader->feed(GST_PAD_PROBE_INFO_BUFFER(info));
        } else if (info->type & GST_PAD_PROBE_TYPE_BUFFER_LIST) {
            gst_buffer_list_foreach(GST_PAD_PROBE_INFO_BUFFER_LIST(info), &IcyReader::feedBuffer, reader);
        }
        return GST_PAD_PROBE_OK;
    }

    void onCaps(GstEvent* event) {
        GstCaps* caps = nullptr;
        gst_event_parse_caps(event, &caps);
        const GstStructure* st = caps ? gst_caps_get_structure(caps, 0) : nullptr;
        gint interval = 0;
        if (!st || !gst_structure_has_name(st, "application/x-icy") ||
            !gst_structure_get_int(st, "metadata-interval", &interval) || interval <= 0) {
            parser.reset();
            return;
        }
        active = true;
        parser =
            std::make_unique<IcyMetadataParser>(interval, [this](const QByteArray& raw) { onTitle(raw); });
    }

    void feed(GstBuffer* buffer) {
        if (!parser)
            return;
        GstMapInfo map;
        if (!gst_buffer_map(buffer, &map, GST_MAP_READ))
            return;
        parser->feed(reinterpret_cast<const char*>(map.data), qsizetype(map.size));
        gst_buffer_unmap(buffer, &map);
    }
};

GstAudioStream::GstAudioStream(GstElement* pipeline, GstElement* sinkBin, GstElement* tee, GstElement* volume,
                               bool useBusWatch, int openTimeoutMs, std::shared_ptr<PendingStops> pending)
    : receiver_(std::make_shared<QueuedReceiver>(this)), pipeline_(pipeline), sinkBin_(sinkBin), tee_(tee),
      volume_(volume), icy_(std::make_shared<IcyReader>()) {
    control_ = std::make_shared<GstPipelineControl>(
        pipeline_, std::move(pending),
        [receiver = receiver_, this](GstState) {
            receiver->post([this] {
                reason_ = QStringLiteral("the pipeline refused to play");
                end(Failure::Other);
            });
        },
        lcAudio);
    icy_->owner = this;
    icy_->receiver = receiver_;
    icy_->pipeline = pipeline_;
    g_signal_connect(pipeline_, "source-setup", G_CALLBACK(&IcyReader::onSourceSetup), icy_.get());
    titleGap_.setSingleShot(true);
    titleGap_.setInterval(kTitleGapMs);
    connect(&titleGap_, &QTimer::timeout, this, [this] {
        {
            std::lock_guard lock(icy_->titleMutex);
            if (icy_->titleCount == deliveredTitles_) {
                icy_->titleQueued = false; // the next title is handed on at once
                return;
            }
        }
        deliverTitle();
    });
    GstBus* bus = gst_pipeline_get_bus(GST_PIPELINE(pipeline_));
    // The reader outlives the pipeline's threads (see the destructor).
    gst_bus_set_sync_handler(bus, &IcyReader::filterBus, icy_.get(), nullptr);
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
            reason_ = QStringLiteral("no audio within %1 s").arg(watchdog_.interval() / 1000.0);
            end(Failure::Unreachable);
        }
    });
    watchdog_.start();
}

GstAudioStream::~GstAudioStream() {
    receiver_->close();
    watchdog_.stop();
    busPoll_.stop();
    titleGap_.stop();
    if (busWatch_)
        g_source_remove(busWatch_);
    abandonTaps();
    // The reader goes only once the pipeline stopped: a streaming thread may be feeding it.
    control_->release(std::move(icy_));
}

// UI thread: the latest title, then a pause before the next one.
void GstAudioStream::deliverTitle() {
    QByteArray title;
    {
        std::lock_guard lock(icy_->titleMutex);
        title = icy_->latestTitle;
        deliveredTitles_ = icy_->titleCount;
    }
    titleGap_.start();
    emit titleBytes(title);
}

void GstAudioStream::play() {
    if (state_ != State::Ended)
        control_->change(GST_STATE_PLAYING);
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
    if (state_ == State::Ended)
        return; // stopping; its reason is already given
    switch (GST_MESSAGE_TYPE(msg)) {
    case GST_MESSAGE_ERROR: {
        GError* err = nullptr;
        gchar* debug = nullptr;
        gst_message_parse_error(msg, &err, &debug);
        Failure why = classify(err);
        if (why == Failure::NotAudio && state_ != State::Opening)
            why = Failure::Other;
        qCWarning(lcAudio) << "stream:" << err->message << why;
        reason_ = QString::fromUtf8(err->message);
        g_clear_error(&err);
        g_free(debug);
        end(why);
        break;
    }
    case GST_MESSAGE_EOS:
        qCInfo(lcAudio) << "stream: end of stream";
        reason_ = QStringLiteral("end of stream");
        end(state_ == State::Opening ? Failure::Other : Failure::None);
        break;
    case GST_MESSAGE_TAG: {
        GstTagList* list = nullptr;
        gst_message_parse_tag(msg, &list);
        if (!list)
            break;
        const bool icy = icy_->active || isIcyDemuxer(GST_MESSAGE_SRC(msg));
        const QString title = icy ? QString() : tagText(list, GST_TAG_TITLE);
        const QString artist = icy ? QString() : tagText(list, GST_TAG_ARTIST);
        const QString organization = tagText(list, GST_TAG_ORGANIZATION);
        gst_tag_list_unref(list);
        if (!title.isEmpty() || !artist.isEmpty() || !organization.isEmpty())
            emit tags(title, artist, organization);
        break;
    }
    case GST_MESSAGE_STATE_CHANGED: {
        if (GST_MESSAGE_SRC(msg) != GST_OBJECT(pipeline_))
            break;
        GstState oldState, newState, pending;
        gst_message_parse_state_changed(msg, &oldState, &newState, &pending);
        if (newState != GST_STATE_PLAYING)
            break;
        const bool first = state_ == State::Opening;
        state_ = State::Playing;
        if (first) {
            // A file has a length; a live station has none and never ends by itself.
            gint64 duration = -1;
            bounded_ = gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &duration) && duration > 0;
        }
        watchdog_.stop();
        // The tap joins only a playing pipeline: linking while paused stalls playback.
        if (tap_ && !tap_->isLinked())
            linkTap();
        if (first)
            emit started();
        break;
    }
    case GST_MESSAGE_CLOCK_LOST:
        // Pausing and playing again makes the pipeline choose a new clock.
        control_->change(GST_STATE_PAUSED);
        control_->change(GST_STATE_PLAYING);
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
    control_->change(GST_STATE_NULL);
    abandonTaps();
    emit ended(why);
}

// The pipeline stops on a worker: the taps leave their branches to it and end their consumers now.
void GstAudioStream::abandonTaps() {
    for (const auto& t : retiring_)
        t->abandon();
    retiring_.clear();
    if (tap_)
        tap_->abandon();
    tap_.reset();
}

void GstAudioStream::linkTap() {
    if (!tap_->link(sinkBin_, tee_, receiver_, [this](GstRecordingTap::Id id) { deliver(id); }))
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
