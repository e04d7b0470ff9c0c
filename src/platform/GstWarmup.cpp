#include "platform/GstWarmup.h"

#include "platform/LogCategories.h"

#include <gst/app/gstappsrc.h>
#include <gst/base/gsttypefindhelper.h>
#include <gst/gst.h>

// GIO names a structure member after Qt's "signals" keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <algorithm>

namespace {

// Lighter decoders that handle what libav's decoders would otherwise be chosen for.
constexpr const char* kLightDecoders[] = {"mpg123audiodec", "faad"};
// Plug-ins too heavy to load just for a type finder.
constexpr const char* kHeavyPlugins[] = {"libav"};

bool pluginLoaded(GstPluginFeature* feature) {
    GstPlugin* plugin = gst_plugin_feature_get_plugin(feature);
    const bool loaded = plugin && gst_plugin_is_loaded(plugin);
    if (plugin)
        gst_object_unref(plugin);
    return loaded;
}

// A first decode runs code that loading alone does not reach: every type finder (the rest of them
// run whenever a stream's start leaves the MP3 one unsure, and some load their plug-in then), then
// type finding, parsing and decoding of MP3 inside decodebin. Both once here, on silence.
void warmDecoding() {
    // Silent MPEG-1 layer III frames, 128 kbit/s at 44.1 kHz: a header, then side info and data
    // all zero.
    constexpr int kFrameBytes = 417;
    constexpr int kFrames = 12;
    QByteArray mp3(kFrameBytes * kFrames, '\0');
    for (int i = 0; i < kFrames; ++i)
        mp3.replace(i * kFrameBytes, 4, QByteArray::fromHex("fffb9064"));

    GstWarmup::SkipHeavyTypeFinders();
    QByteArray noise(4096, '\0'); // nothing any type finder is sure of, so they all run
    for (qsizetype i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919) % 251);
    GstCaps* found = gst_type_find_helper_for_data(
        nullptr, reinterpret_cast<const guint8*>(noise.constData()), size_t(noise.size()), nullptr);
    if (found)
        gst_caps_unref(found);

    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch("appsrc name=in ! decodebin ! fakesink", &error);
    if (!pipeline) {
        qCDebug(lcAudio) << "Warm-up: no decoding pipeline:" << (error ? error->message : "");
        g_clear_error(&error);
        return;
    }
    g_clear_error(&error);
    GstElement* in = gst_bin_get_by_name(GST_BIN(pipeline), "in");
    gst_app_src_push_buffer(GST_APP_SRC(in), gst_buffer_new_memdup(mp3.constData(), gsize(mp3.size())));
    gst_app_src_end_of_stream(GST_APP_SRC(in));
    gst_object_unref(in);
    gst_element_set_state(pipeline, GST_STATE_PAUSED);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* done = gst_bus_timed_pop_filtered(
        bus, 2 * GST_SECOND, GstMessageType(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR | GST_MESSAGE_EOS));
    if (!done || GST_MESSAGE_TYPE(done) == GST_MESSAGE_ERROR)
        qCDebug(lcAudio) << "Warm-up: the decoding run did not complete";
    if (done)
        gst_message_unref(done);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
}

// The first HTTP request otherwise loads these, a few tens of milliseconds inside this process.
void warmNetwork() {
    GProxyResolver* resolver = g_proxy_resolver_get_default(); // not ours
    if (resolver)
        g_strfreev(g_proxy_resolver_lookup(resolver, "http://127.0.0.1/", nullptr, nullptr));
    if (GTlsBackend* tls = g_tls_backend_get_default()) {
        if (GTlsDatabase* database = g_tls_backend_get_default_database(tls))
            g_object_unref(database);
    }
}

// The first station otherwise pays the sound server's first connection: libpulse's own start
// (its configuration, cookie and threads) and the server's welcome of a new client. A sink opened
// and closed once pays it here. Nothing is kept open: a connection kept across stations would fail
// the next station if the sound server restarted meanwhile.
void warmSoundServer() {
    GstElement* sink = gst_element_factory_make("pulsesink", nullptr);
    if (!sink)
        return;
    gst_object_ref_sink(sink);
    g_object_set(sink, "client-name", ZELMO_NAME, nullptr);
    if (gst_element_set_state(sink, GST_STATE_READY) == GST_STATE_CHANGE_FAILURE)
        qCDebug(lcAudio) << "Warm-up: no sound server to connect to";
    gst_element_set_state(sink, GST_STATE_NULL);
    gst_object_unref(sink);
}

GstCaps* sinkCaps(GstElementFactory* factory) {
    GstCaps* caps = gst_caps_new_empty();
    for (const GList* l = gst_element_factory_get_static_pad_templates(factory); l; l = l->next) {
        auto* templ = static_cast<GstStaticPadTemplate*>(l->data);
        if (templ->direction == GST_PAD_SINK)
            caps = gst_caps_merge(caps, gst_static_caps_get(&templ->static_caps));
    }
    return caps;
}

// The highest rank among the other decoders that take any of caps.
guint highestCompetingRank(GstElementFactory* light, GstCaps* caps) {
    GList* decoders = gst_element_factory_list_get_elements(
        GST_ELEMENT_FACTORY_TYPE_DECODER | GST_ELEMENT_FACTORY_TYPE_MEDIA_AUDIO, GST_RANK_NONE);
    GList* fitting = gst_element_factory_list_filter(decoders, caps, GST_PAD_SINK, FALSE);
    guint highest = GST_RANK_NONE;
    for (const GList* l = fitting; l; l = l->next) {
        auto* other = static_cast<GstPluginFeature*>(l->data);
        if (other != GST_PLUGIN_FEATURE(light))
            highest = std::max(highest, gst_plugin_feature_get_rank(other));
    }
    gst_plugin_feature_list_free(fitting);
    gst_plugin_feature_list_free(decoders);
    return highest;
}

} // namespace

namespace GstWarmup {

QStringList PreferLightDecoders() {
    QStringList moved;
    if (!gst_is_initialized())
        return moved;
    for (const char* name : kLightDecoders) {
        GstElementFactory* light = gst_element_factory_find(name);
        if (!light)
            continue;
        GstCaps* caps = sinkCaps(light);
        const guint competing = highestCompetingRank(light, caps);
        gst_caps_unref(caps);
        if (gst_plugin_feature_get_rank(GST_PLUGIN_FEATURE(light)) <= competing) {
            gst_plugin_feature_set_rank(GST_PLUGIN_FEATURE(light), competing + 1);
            moved << QString::fromLatin1(name);
            qCDebug(lcAudio) << "Decoder" << name << "now ranked" << competing + 1;
        }
        gst_object_unref(light);
    }
    return moved;
}

QStringList SkipHeavyTypeFinders() {
    QStringList skipped;
    if (!gst_is_initialized())
        return skipped;
    GstRegistry* registry = gst_registry_get();
    GList* finders = gst_registry_get_feature_list(registry, GST_TYPE_TYPE_FIND_FACTORY);
    for (const GList* l = finders; l; l = l->next) {
        auto* finder = static_cast<GstPluginFeature*>(l->data);
        const gchar* plugin = gst_plugin_feature_get_plugin_name(finder);
        const bool heavy =
            plugin && std::any_of(std::begin(kHeavyPlugins), std::end(kHeavyPlugins),
                                  [plugin](const char* h) { return g_strcmp0(plugin, h) == 0; });
        if (heavy && !pluginLoaded(finder)) {
            skipped << QString::fromUtf8(gst_plugin_feature_get_name(finder));
            gst_registry_remove_feature(registry, finder);
        }
    }
    gst_plugin_feature_list_free(finders);
    if (!skipped.isEmpty())
        qCDebug(lcAudio) << "Type finders skipped:" << skipped;
    return skipped;
}

const QStringList& StationElements() {
    static const QStringList elements = {
        QStringLiteral("playbin"),
        QStringLiteral("uridecodebin"),
        QStringLiteral("souphttpsrc"),
        QStringLiteral("typefind"),
        QStringLiteral("queue2"),
        QStringLiteral("decodebin"),
        QStringLiteral("icydemux"),
        QStringLiteral("id3demux"),
        QStringLiteral("mpegaudioparse"),
        QStringLiteral("mpg123audiodec"),
        QStringLiteral("aacparse"),
        QStringLiteral("faad"),
        QStringLiteral("tee"),
        QStringLiteral("queue"),
        QStringLiteral("audioconvert"),
        QStringLiteral("volume"),
        QStringLiteral("pulsesink"),
    };
    return elements;
}

} // namespace GstWarmup

GstPluginWarmer::~GstPluginWarmer() {
    stop();
}

void GstPluginWarmer::stop() {
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable())
        worker_.join();
}

void GstPluginWarmer::start(std::chrono::milliseconds delay) {
    if (worker_.joinable() || !gst_is_initialized())
        return;
    worker_ = std::thread([this, delay] { run(delay); });
}

void GstPluginWarmer::run(std::chrono::milliseconds delay) {
    {
        std::unique_lock lock(mutex_);
        if (wake_.wait_for(lock, delay, [this] { return cancelled_; }))
            return;
    }
    // Type finding runs every type finder until one knows the stream.
    if (GstPlugin* typefinders = gst_plugin_load_by_name("typefindfunctions"))
        gst_object_unref(typefinders);
    for (const QString& name : GstWarmup::StationElements()) {
        {
            std::lock_guard lock(mutex_);
            if (cancelled_)
                return;
        }
        // One instance loads the plug-in with its libraries and sets up the element's class.
        GstElement* element = gst_element_factory_make(name.toLatin1().constData(), nullptr);
        if (!element) {
            qCDebug(lcAudio) << "Warm-up: no element" << name;
            continue;
        }
        gst_object_unref(gst_object_ref_sink(element));
    }
    warmDecoding();
    warmNetwork();
    warmSoundServer();
    qCDebug(lcAudio) << "Warm-up: station elements loaded";
    finished_ = true;
}
