#include "platform/GstAudioEngine.h"

#include "platform/GstAudioStream.h"
#include "platform/LogCategories.h"

#include <QAbstractEventDispatcher>

#include <gst/gst.h>

#include <algorithm>

namespace {

constexpr guint kPlayFlagAudio = 1u << 1;
// The output bin converts for itself, so playbin need not insert a second converter in front of it.
constexpr guint kPlayFlagNativeAudio = 1u << 5;
// Large output buffers written in large pieces: a few wake-ups a second instead of a hundred. The
// buffer also bounds how late a volume change is heard.
constexpr gint64 kSinkBufferUs = 300000;
constexpr gint64 kSinkLatencyUs = 100000;
constexpr guint kHttpTimeoutSeconds = 3;
// The plug-ins are loaded once the program's own start-up (window, web engine) is behind it.
constexpr std::chrono::milliseconds kWarmUpDelay{1500};

void onSourceSetup(GstElement*, GstElement* source, gpointer) {
    // Defaults block 15 s on a silent server and retry; a radio click should give up quickly.
    GObjectClass* klass = G_OBJECT_GET_CLASS(source);
    if (GParamSpec* p = g_object_class_find_property(klass, "timeout"); p && p->value_type == G_TYPE_UINT)
        g_object_set(source, "timeout", kHttpTimeoutSeconds, nullptr);
    if (GParamSpec* p = g_object_class_find_property(klass, "retries"); p && p->value_type == G_TYPE_INT)
        g_object_set(source, "retries", 0, nullptr);
}

// Drops an element that no bin took (its reference may still be floating).
void drop(GstElement* element) {
    if (element)
        gst_object_unref(gst_object_ref_sink(element));
}

} // namespace

GstAudioEngine::GstAudioEngine()
    : loading_(std::async(std::launch::async, [] {
          Loaded result;
          GError* err = nullptr;
          result.ok = gst_init_check(nullptr, nullptr, &err);
          if (!result.ok)
              result.error = QString::fromUtf8(err ? err->message : "");
          g_clear_error(&err);
          if (result.ok) {
              GstWarmup::PreferLightDecoders();
              GstWarmup::SkipHeavyTypeFinders();
          }
          return result;
      })) {}
GstAudioEngine::~GstAudioEngine() {
    shutdown();
}

bool GstAudioEngine::ready() const {
    return !loading_.valid() || loading_.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

bool GstAudioEngine::init() {
    if (initialised_)
        return true;
    if (loading_.valid())
        loaded_ = loading_.get(); // at once, unless the registry is still being built
    if (!loaded_.ok) {
        qCWarning(lcAudio) << "GStreamer does not start:" << loaded_.error;
        return false;
    }
    // Bus messages come through the GLib main context, which Qt's own loop dispatches on Linux;
    // with any other event dispatcher the bus is polled instead.
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    busWatchWorks_ = dispatcher && dispatcher->inherits("QEventDispatcherGlib");
    warmer_.start(kWarmUpDelay);
    initialised_ = true;
    return true;
}

void GstAudioEngine::shutdown() {
    // Streams freed just before let their output close properly; one whose source hangs in the
    // kernel is left behind rather than holding up the exit.
    if (initialised_ && !waitForStopped(std::chrono::milliseconds(stopTimeoutMs_)))
        qCWarning(lcAudio) << "shutdown: a stream did not stop within" << stopTimeoutMs_ << "ms; left behind";
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
        qCWarning(lcAudio)
            << "open: an element of the player is missing (playbin, tee, audioconvert, volume, "
               "pulsesink)";
        for (GstElement* e : parts)
            drop(e);
        drop(sinkBin);
        drop(playbin);
        return nullptr;
    }
    g_object_set(tee, "allow-not-linked", TRUE, nullptr);
    g_object_set(sink, "client-name", ZELMO_NAME, "buffer-time", kSinkBufferUs, "latency-time",
                 kSinkLatencyUs, nullptr);
    if (!device_.isEmpty())
        g_object_set(sink, "device", device_.constData(), nullptr);
    gst_bin_add_many(GST_BIN(sinkBin), tee, convert, volume, sink, nullptr);
    GstPad* in = gst_element_get_static_pad(tee, "sink");
    const bool linked = gst_element_link_many(tee, convert, volume, sink, nullptr) &&
                        gst_element_add_pad(sinkBin, gst_ghost_pad_new("sink", in));
    gst_object_unref(in);
    if (!linked) {
        qCWarning(lcAudio) << "open: the output elements do not link";
        drop(sinkBin);
        drop(playbin);
        return nullptr;
    }

    g_object_set(playbin, "uri", uri.constData(), "flags", kPlayFlagAudio | kPlayFlagNativeAudio,
                 "audio-sink", sinkBin, nullptr);
    g_signal_connect(playbin, "source-setup", G_CALLBACK(onSourceSetup), nullptr);
    return std::make_unique<GstAudioStream>(playbin, sinkBin, tee, volume, busWatchWorks_, openTimeoutMs_,
                                            stopping_);
}
