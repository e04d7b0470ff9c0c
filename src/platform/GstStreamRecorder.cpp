#include "platform/GstStreamRecorder.h"

#include "platform/FreeFileName.h"
#include "platform/GstHttpSource.h"
#include "platform/GstPipelineControl.h"
#include "platform/GstVideoPlayer.h"
#include "platform/LogCategories.h"
#include "platform/PendingStops.h"
#include "platform/QueuedReceiver.h"
#include "platform/UserAgent.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gst/gst.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

const QString kTs = QStringLiteral(".ts");
const QString kMkv = QStringLiteral(".mkv");
// What one stream may hold back while the others show up (a few seconds of HD at most).
constexpr guint kQueueBytes = 64u << 20;

bool hasProperty(GObject* object, const char* name) {
    return g_object_class_find_property(G_OBJECT_GET_CLASS(object), name) != nullptr;
}

// What MPEG-TS carries, as its muxer says: the union of its sink templates; null without it.
GstCaps* tsMuxerCaps() {
    static GstCaps* caps = [] {
        GstElementFactory* factory = gst_element_factory_find("mpegtsmux");
        if (!factory)
            return static_cast<GstCaps*>(nullptr);
        GstCaps* all = gst_caps_new_empty();
        for (const GList* l = gst_element_factory_get_static_pad_templates(factory); l; l = l->next) {
            auto* tmpl = static_cast<GstStaticPadTemplate*>(l->data);
            if (tmpl->direction == GST_PAD_SINK)
                all = gst_caps_merge(all, gst_static_caps_get(&tmpl->static_caps));
        }
        gst_object_unref(factory);
        return all;
    }();
    return caps;
}

// Where decoding stops: at what either muxer takes, the encoded streams only.
GstCaps* recordableCaps() {
    GstCaps* all = gst_caps_new_empty();
    for (const char* name : {"mpegtsmux", "matroskamux"}) {
        GstElementFactory* factory = gst_element_factory_find(name);
        if (!factory)
            continue;
        for (const GList* l = gst_element_factory_get_static_pad_templates(factory); l; l = l->next) {
            auto* tmpl = static_cast<GstStaticPadTemplate*>(l->data);
            if (tmpl->direction != GST_PAD_SINK)
                continue;
            GstCaps* caps = gst_static_caps_get(&tmpl->static_caps);
            for (guint i = 0; i < gst_caps_get_size(caps); ++i) {
                const GstStructure* s = gst_caps_get_structure(caps, i);
                const char* type = gst_structure_get_name(s);
                if (g_str_has_suffix(type, "/x-raw") ||
                    !(g_str_has_prefix(type, "video/") || g_str_has_prefix(type, "audio/")))
                    continue;
                // Any variant of the codec: the parser in front of the muxer repackages it.
                all = gst_caps_merge_structure(all, gst_structure_new_empty(type));
            }
            gst_caps_unref(caps);
        }
        gst_object_unref(factory);
    }
    return gst_caps_simplify(all);
}

// Whether MPEG-TS takes a stream of these caps. How the stream is packaged (AVC or byte stream,
// raw or ADTS) does not count: the parser in front of the muxer converts it.
bool tsCarries(GstCaps* caps) {
    GstCaps* ts = tsMuxerCaps();
    if (!ts || !caps || gst_caps_is_empty(caps))
        return false;
    GstCaps* loose = gst_caps_copy(caps);
    for (guint i = 0; i < gst_caps_get_size(loose); ++i)
        gst_structure_remove_fields(gst_caps_get_structure(loose, i), "stream-format", "alignment", nullptr);
    const bool carried = gst_caps_can_intersect(loose, ts);
    gst_caps_unref(loose);
    return carried;
}

QString capsText(GstCaps* caps) {
    if (!caps)
        return QStringLiteral("(no caps)");
    gchar* text = gst_caps_to_string(caps);
    const QString result = QString::fromUtf8(text).left(160);
    g_free(text);
    return result;
}

GstCaps* padCaps(GstPad* pad) {
    GstCaps* caps = gst_pad_get_current_caps(pad);
    return caps ? caps : gst_pad_query_caps(pad, nullptr);
}

// A parser for a stream of these caps, or null. Put between a stream's queue and the muxer, it
// repackages what it holds (AVC into byte stream, say) in the form the muxer asks for.
GstElement* makeParser(GstCaps* caps) {
    if (!caps)
        return nullptr;
    GList* parsers =
        gst_element_factory_list_get_elements(GST_ELEMENT_FACTORY_TYPE_PARSER, GST_RANK_MARGINAL);
    GList* fitting = gst_element_factory_list_filter(parsers, caps, GST_PAD_SINK, FALSE);
    fitting = g_list_sort(fitting, gst_plugin_feature_rank_compare_func);
    GstElement* parser =
        fitting ? gst_element_factory_create(GST_ELEMENT_FACTORY(fitting->data), nullptr) : nullptr;
    gst_plugin_feature_list_free(fitting);
    gst_plugin_feature_list_free(parsers);
    return parser;
}

// A stream that is not recorded is still taken, so that its demuxer is not stopped by it.
void discard(GstElement* pipeline, GstPad* pad) {
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    if (!sink)
        return;
    g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
    gst_bin_add(GST_BIN(pipeline), sink);
    GstPad* in = gst_element_get_static_pad(sink, "sink");
    gst_pad_link(pad, in);
    gst_object_unref(in);
    gst_element_sync_state_with_parent(sink);
}

} // namespace

// What the streaming threads share with the recorder. Owned jointly by the session and every
// callback, so none of them outlives it.
struct GstStreamRecorder::Shared {
    struct Branch {
        GstElement* queue = nullptr; // the pipeline's
        GstPad* src = nullptr;       // the queue's output, held
        gulong probe = 0;            // holds its data back until the muxer is there
        GstCaps* caps = nullptr;     // what the demuxer said it is, held
    };

    ~Shared() {
        for (Branch& b : branches) {
            gst_object_unref(b.src);
            if (b.caps)
                gst_caps_unref(b.caps);
        }
        for (GstPad* p : muxPads)
            gst_object_unref(p);
    }

    GstStreamRecorder* recorder = nullptr; // only touched in calls posted through receiver
    std::shared_ptr<QueuedReceiver> receiver;
    GstHttpSource::Setup http;
    GstElement* pipeline = nullptr; // the session's; valid while its callbacks can run
    QString folder;
    QString stem;
    QString reserved; // folder/stem.ts, made empty at the start so that nobody takes the name

    std::mutex mutex;
    std::vector<Branch> branches;
    bool decided = false;
    GstElement* mux = nullptr;
    std::vector<GstPad*> muxPads; // held
    QString path;

    std::atomic<bool> writing{false}; // the muxer has its streams: the file fills
    std::atomic<bool> stopping{false};
    std::mutex eosMutex;
    std::condition_variable eosSeen;
    bool eos = false; // the muxer's end reached the file
};

struct GstStreamRecorder::Session {
    std::shared_ptr<GstPipelineControl> control; // owns the pipeline
    std::shared_ptr<Shared> shared;
    std::shared_ptr<void> httpClaim;
};

// GStreamer's callbacks, on its streaming threads: they build the rest of the pipeline as the
// streams show up and never touch Qt objects but through the receiver.
struct GstStreamRecorderAccess {
    using SharedPtr = std::shared_ptr<GstStreamRecorder::Shared>;
    using Branch = GstStreamRecorder::Shared::Branch;

    static void release(gpointer p) { delete static_cast<SharedPtr*>(p); }
    static void releaseClosure(gpointer p, GClosure*) { release(p); }
    static SharedPtr& of(gpointer p) { return *static_cast<SharedPtr*>(p); }

    template <typename Call> static void post(const SharedPtr& sh, Call call) {
        sh->receiver->post([recorder = sh->recorder, sh, call] { call(recorder, sh); });
    }

    static void onSourceSetup(GstElement*, GstElement* element, gpointer data) {
        GstHttpSource::apply(element, of(data)->http);
    }
    static void onElementAdded(GstBin*, GstBin*, GstElement* element, gpointer data) {
        GstHttpSource::apply(element, of(data)->http);
    }

    // One elementary stream, as the demuxer gives it: queued and held until the muxer is chosen.
    static void onPad(GstElement*, GstPad* pad, gpointer data) {
        const SharedPtr& sh = of(data);
        GstCaps* caps = padCaps(pad);
        const QString type = caps && !gst_caps_is_empty(caps)
                                 ? QString::fromUtf8(gst_structure_get_name(gst_caps_get_structure(caps, 0)))
                                 : QString();
        qCDebug(lcTv) << "recording: stream" << capsText(caps);
        const bool media =
            type.startsWith(QLatin1String("video/")) || type.startsWith(QLatin1String("audio/"));
        GstElement* queue = nullptr;
        {
            std::lock_guard lock(sh->mutex);
            if (media && !sh->decided)
                queue = gst_element_factory_make("queue", nullptr);
        }
        if (!queue) {
            if (caps)
                gst_caps_unref(caps);
            if (media)
                qCInfo(lcTv) << "recording: a stream that came late is left out:" << type;
            discard(sh->pipeline, pad);
            return;
        }
        g_object_set(queue, "max-size-bytes", kQueueBytes, "max-size-time", guint64(0), "max-size-buffers",
                     0u, nullptr);
        gst_bin_add(GST_BIN(sh->pipeline), queue);
        GstPad* in = gst_element_get_static_pad(queue, "sink");
        gst_pad_link(pad, in);
        gst_object_unref(in);
        Branch branch;
        branch.queue = queue;
        branch.caps = caps;
        branch.src = gst_element_get_static_pad(queue, "src");
        branch.probe = gst_pad_add_probe(
            branch.src, GstPadProbeType(GST_PAD_PROBE_TYPE_BLOCK | GST_PAD_PROBE_TYPE_BUFFER), &onData,
            new SharedPtr(sh), &release);
        {
            std::lock_guard lock(sh->mutex);
            sh->branches.push_back(branch);
        }
        gst_element_sync_state_with_parent(queue);
    }

    // Holds a stream's data back until the muxer is there (the demuxer shows every stream before
    // any data, so this only guards the order).
    static GstPadProbeReturn onData(GstPad*, GstPadProbeInfo*, gpointer data) {
        const SharedPtr& sh = of(data);
        std::lock_guard lock(sh->mutex);
        return sh->decided ? GST_PAD_PROBE_REMOVE : GST_PAD_PROBE_OK;
    }

    // Every stream of the source is known.
    static void onNoMorePads(GstElement*, gpointer data) {
        const SharedPtr& sh = of(data);
        std::lock_guard lock(sh->mutex);
        if (!sh->decided)
            decideLocked(sh);
    }

    // The muxer that takes every stream as it is, into the file.
    static void decideLocked(const SharedPtr& sh) {
        sh->decided = true;
        bool ts = true;
        for (const Branch& b : sh->branches) {
            if (!tsCarries(b.caps)) {
                qCInfo(lcTv) << "recording: MPEG-TS cannot carry" << capsText(b.caps) << "; Matroska instead";
                ts = false;
            }
        }
        QString path = sh->reserved;
        if (!ts) {
            // The name was kept free for both: the Matroska file takes it, the reserved one goes.
            const QString base = path.left(path.size() - kTs.size());
            QFile mkv(base + kMkv);
            if (mkv.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
                path = mkv.fileName();
            } else {
                QString why;
                path = reserveFreeFile(sh->folder, sh->stem, {kMkv, kTs}, &why);
            }
            mkv.close();
            if (QFileInfo(sh->reserved).size() == 0)
                QFile::remove(sh->reserved);
        }
        if (sh->branches.empty()) {
            post(sh, [](GstStreamRecorder* r, const SharedPtr& s) {
                if (r->session_ && r->session_->shared == s)
                    r->giveUp(StreamRecorder::Failure::NoStream, QString());
            });
            return;
        }
        GstElement* mux = gst_element_factory_make(ts ? "mpegtsmux" : "matroskamux", nullptr);
        GstElement* sink = gst_element_factory_make("filesink", nullptr);
        if (!mux || !sink || path.isEmpty()) {
            for (GstElement* e : {mux, sink})
                if (e)
                    gst_object_unref(e);
            qCWarning(lcTv) << "recording: no muxer or no file";
            post(sh, [](GstStreamRecorder* r, const SharedPtr& s) {
                if (r->session_ && r->session_->shared == s)
                    r->giveUp(StreamRecorder::Failure::Other, QStringLiteral("no muxer"));
            });
            return;
        }
        sh->path = path;
        sh->mux = mux;
        const QByteArray location = QFile::encodeName(path);
        g_object_set(sink, "location", location.constData(), "async", FALSE, nullptr);
        gst_bin_add_many(GST_BIN(sh->pipeline), mux, sink, nullptr);
        gst_element_link(mux, sink);
        GstPad* sinkIn = gst_element_get_static_pad(sink, "sink");
        gst_pad_add_probe(sinkIn, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &onSinkEvent, new SharedPtr(sh),
                          &release);
        gst_object_unref(sinkIn);
        for (Branch& b : sh->branches) {
            GstCaps* caps = b.caps;
            // A parser of its own in front of the muxer frames the stream and packages it as the
            // muxer wants it (AVC or byte stream, raw AAC or ADTS).
            GstPad* out = GST_PAD(gst_object_ref(b.src));
            if (GstElement* parser = makeParser(caps)) {
                gst_bin_add(GST_BIN(sh->pipeline), parser);
                GstPad* parserIn = gst_element_get_static_pad(parser, "sink");
                if (gst_pad_link(b.src, parserIn) == GST_PAD_LINK_OK) {
                    gst_object_unref(out);
                    out = gst_element_get_static_pad(parser, "src");
                }
                gst_object_unref(parserIn);
                gst_element_sync_state_with_parent(parser);
            }
            GstPad* muxPad = gst_element_get_compatible_pad(mux, out, nullptr);
            if (muxPad && gst_pad_link(out, muxPad) == GST_PAD_LINK_OK) {
                sh->muxPads.push_back(muxPad);
            } else {
                qCWarning(lcTv) << "recording: the muxer refuses" << capsText(caps) << "; left out";
                if (muxPad)
                    gst_object_unref(muxPad);
                discard(sh->pipeline, out);
            }
            gst_object_unref(out);
        }
        gst_element_sync_state_with_parent(sink);
        gst_element_sync_state_with_parent(mux);
        sh->writing = !sh->muxPads.empty();
        for (Branch& b : sh->branches)
            if (b.probe)
                gst_pad_remove_probe(b.src, std::exchange(b.probe, 0));
        qCInfo(lcTv) << "recording into" << path << "with" << sh->muxPads.size() << "streams";
        post(sh, [path](GstStreamRecorder* r, const SharedPtr& s) { r->decided(s, path); });
    }

    static GstPadProbeReturn onSinkEvent(GstPad*, GstPadProbeInfo* info, gpointer data) {
        if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) != GST_EVENT_EOS)
            return GST_PAD_PROBE_OK;
        const SharedPtr& sh = of(data);
        {
            std::lock_guard lock(sh->eosMutex);
            sh->eos = true;
        }
        sh->eosSeen.notify_all();
        if (!sh->stopping)
            post(sh, [](GstStreamRecorder* r, const SharedPtr& s) { r->ended(s); });
        return GST_PAD_PROBE_OK;
    }

    static GstBusSyncReply onBus(GstBus*, GstMessage* msg, gpointer data) {
        const SharedPtr& sh = of(data);
        if (GST_MESSAGE_TYPE(msg) == GST_MESSAGE_ERROR && !sh->stopping) {
            std::shared_ptr<GstMessage> held(gst_message_ref(msg), gst_message_unref);
            post(sh, [held](GstStreamRecorder* r, const SharedPtr& s) { r->handleError(s, held.get()); });
        }
        gst_message_unref(msg);
        return GST_BUS_DROP;
    }

    static void sendEos(GstElement*, gpointer pad) { gst_pad_send_event(GST_PAD(pad), gst_event_new_eos()); }

    // Worker thread, at the end: the muxer completes the file (Matroska writes its index and
    // duration) before the pipeline stops. Each input gets its end on a thread of its own, so that
    // one held up by a stalled stream holds up none of the others; the wait is bounded.
    static void complete(const SharedPtr& sh, int boundMs) {
        sh->stopping = true;
        std::vector<GstPad*> pads;
        GstElement* mux = nullptr;
        {
            std::lock_guard lock(sh->mutex);
            sh->decided = true; // no muxer comes after this
            for (GstPad* p : sh->muxPads)
                pads.push_back(GST_PAD(gst_object_ref(p)));
            mux = sh->mux;
        }
        if (!pads.empty()) {
            bool ended;
            {
                std::lock_guard lock(sh->eosMutex);
                ended = sh->eos;
            }
            for (GstPad* p : pads) {
                if (ended)
                    gst_object_unref(p);
                else
                    gst_element_call_async(mux, &sendEos, p, gst_object_unref);
            }
            std::unique_lock lock(sh->eosMutex);
            if (!sh->eosSeen.wait_for(lock, std::chrono::milliseconds(boundMs), [&] { return sh->eos; }))
                qCWarning(lcTv) << "recording: the muxer did not finish within" << boundMs << "ms;"
                                << sh->path << "may lack its end";
        }
        // Nothing was written: the name taken at the start is given back.
        if (!sh->writing && QFileInfo(sh->reserved).size() == 0)
            QFile::remove(sh->reserved);
    }
};

namespace {
using Access = GstStreamRecorderAccess;
}

GstStreamRecorder::GstStreamRecorder(QObject* parent)
    : StreamRecorder(parent), receiver_(std::make_shared<QueuedReceiver>(this)),
      stopping_(std::make_shared<PendingStops>()) {
    noData_.setSingleShot(true);
    connect(&noData_, &QTimer::timeout, this, [this] {
        qCWarning(lcTv) << "recording: nothing to record within" << limits_.firstDataMs << "ms";
        giveUp(Failure::NoStream, QString());
    });
}

GstStreamRecorder::~GstStreamRecorder() {
    receiver_->close();
    endSession();
}

bool GstStreamRecorder::waitForStopped(std::chrono::milliseconds timeout) {
    return stopping_->waitForAll(timeout);
}

bool GstStreamRecorder::start(const StreamSource& source, const QString& folder, const QString& stem,
                              QString* error) {
    endSession();
    path_.clear();
    auto refuse = [error](const QString& why) {
        qCWarning(lcTv) << "recording not started:" << why;
        if (error)
            *error = why;
        return false;
    };
    const QString scheme = source.url.scheme().toLower();
    if (!source.url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return refuse(QStringLiteral("not a network stream: %1").arg(source.url.toDisplayString()));
    if (!GstVideoPlayer::initGStreamer())
        return refuse(QStringLiteral("GStreamer cannot be loaded"));
    GstElement* pipeline = gst_pipeline_new("tvrecording");
    GstElement* uriSource = gst_element_factory_make("uridecodebin", nullptr);
    if (!pipeline || !uriSource) {
        for (GstElement* e : {pipeline, uriSource})
            if (e)
                gst_object_unref(e);
        return refuse(QStringLiteral("GStreamer lacks uridecodebin"));
    }
    QString why;
    const QString reserved = reserveFreeFile(folder, stem, {kTs, kMkv}, &why);
    if (reserved.isEmpty()) {
        gst_object_unref(pipeline);
        gst_object_unref(uriSource);
        return refuse(why);
    }

    auto sh = std::make_shared<Shared>();
    sh->recorder = this;
    sh->receiver = receiver_;
    sh->http = GstHttpSource::Setup{UserAgent::Browser, source.headers, limits_.sourceTimeoutS};
    sh->pipeline = pipeline;
    sh->folder = folder;
    sh->stem = stem;
    sh->reserved = reserved;

    const QByteArray uri = source.url.toEncoded();
    GstCaps* stopAt = recordableCaps();
    g_object_set(uriSource, "uri", uri.constData(), "caps", stopAt, nullptr);
    gst_caps_unref(stopAt);
    gst_bin_add(GST_BIN(pipeline), uriSource);
    g_signal_connect_data(uriSource, "source-setup", G_CALLBACK(Access::onSourceSetup),
                          new Access::SharedPtr(sh), &Access::releaseClosure, GConnectFlags(0));
    g_signal_connect_data(uriSource, "pad-added", G_CALLBACK(Access::onPad), new Access::SharedPtr(sh),
                          &Access::releaseClosure, GConnectFlags(0));
    g_signal_connect_data(uriSource, "no-more-pads", G_CALLBACK(Access::onNoMorePads),
                          new Access::SharedPtr(sh), &Access::releaseClosure, GConnectFlags(0));
    // The adaptive demuxers' segment sources live inside the decoding bin; source-setup never sees
    // them, and their playlist downloads are reached through the claim below.
    g_signal_connect_data(pipeline, "deep-element-added", G_CALLBACK(Access::onElementAdded),
                          new Access::SharedPtr(sh), &Access::releaseClosure, GConnectFlags(0));
    GstBus* bus = gst_pipeline_get_bus(GST_PIPELINE(pipeline));
    gst_bus_set_sync_handler(bus, &Access::onBus, new Access::SharedPtr(sh), &Access::release);
    gst_object_unref(bus);

    server_ = source.url.authority();
    session_ = std::make_unique<Session>();
    session_->shared = sh;
    session_->httpClaim = GstHttpSource::claim(source.url, sh->http);
    session_->control = std::make_shared<GstPipelineControl>(
        GST_ELEMENT(gst_object_ref_sink(pipeline)), stopping_,
        [sh](GstState) {
            Access::post(sh, [](GstStreamRecorder* r, const Access::SharedPtr& s) {
                if (r->session_ && r->session_->shared == s)
                    r->giveUp(Failure::Other, QStringLiteral("the stream cannot be started"));
            });
        },
        lcTv);
    path_ = reserved;
    qCInfo(lcTv) << "recording" << source.url.toDisplayString() << "into" << reserved;
    noData_.start(limits_.firstDataMs);
    session_->control->change(GST_STATE_PLAYING);
    return true;
}

void GstStreamRecorder::stop() {
    endSession();
}

void GstStreamRecorder::endSession() {
    noData_.stop();
    if (!session_)
        return;
    std::unique_ptr<Session> s = std::move(session_);
    const int bound = limits_.completeMs;
    s->control->release(nullptr, [sh = s->shared, bound](GstElement*) { Access::complete(sh, bound); });
}

void GstStreamRecorder::decided(const std::shared_ptr<Shared>& shared, const QString& path) {
    if (!session_ || session_->shared != shared)
        return;
    noData_.stop();
    path_ = path;
}

void GstStreamRecorder::ended(const std::shared_ptr<Shared>& shared) {
    if (!session_ || session_->shared != shared)
        return;
    qCInfo(lcTv) << "recording: the stream ended;" << path_ << "is complete";
    giveUp(Failure::Ended, path_);
}

void GstStreamRecorder::handleError(const std::shared_ptr<Shared>& shared, void* message) {
    if (!session_ || session_->shared != shared)
        return;
    auto* msg = static_cast<GstMessage*>(message);
    GError* err = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(msg, &err, &debug);
    const QString text = QString::fromUtf8(err->message);
    const QString details = QString::fromUtf8(debug ? debug : "");
    const GQuark domain = err->domain;
    g_clear_error(&err);
    g_free(debug);
    GstObject* from = GST_MESSAGE_SRC(msg);
    const bool fromFile = from && GST_IS_ELEMENT(from) && hasProperty(G_OBJECT(from), "location") &&
                          !hasProperty(G_OBJECT(from), "user-agent") &&
                          GST_OBJECT_FLAG_IS_SET(from, GST_ELEMENT_FLAG_SINK);
    const bool fromHttp = from && GST_IS_ELEMENT(from) && hasProperty(G_OBJECT(from), "user-agent");
    qCWarning(lcTv) << "recording error:" << text << details;
    if (fromFile)
        return giveUp(Failure::WriteError, path_);
    // souphttpsrc words it "Forbidden (403), URL: …" in the details.
    static const QRegularExpression statusCode(QStringLiteral("\\((\\d{3})\\)"));
    const QRegularExpressionMatch m = statusCode.match(details);
    if (domain == GST_RESOURCE_ERROR && m.hasMatch())
        return giveUp(Failure::HttpError, m.captured(1));
    if (domain == GST_RESOURCE_ERROR || fromHttp)
        return giveUp(Failure::Unreachable, server_);
    giveUp(Failure::Other, text);
}

void GstStreamRecorder::giveUp(Failure failure, const QString& detail) {
    const bool wrote = session_ && session_->shared->writing;
    endSession();
    emit failed(failure, detail, wrote);
}
