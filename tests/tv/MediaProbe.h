#pragma once
// What a player finds in a recorded file, through GStreamer's own discoverer.
#include <QString>
#include <QStringList>
#include <QUrl>

#include <gst/gst.h>
#include <gst/pbutils/pbutils.h>

namespace tvtest {

// What a player finds in a file: its length and the codec of each stream.
struct Probed {
    double seconds = 0;
    QStringList video;
    QStringList audio;
    QString container;
};

inline QString mediaType(GstCaps* caps) {
    if (!caps || gst_caps_is_empty(caps))
        return {};
    const GstStructure* s = gst_caps_get_structure(caps, 0);
    QString type = QString::fromUtf8(gst_structure_get_name(s));
    int version = 0;
    if (gst_structure_get_int(s, "mpegversion", &version))
        type += QStringLiteral(",mpegversion=%1").arg(version == 2 ? 4 : version); // AAC either way
    return type;
}

inline Probed probe(const QString& path) {
    Probed out;
    GError* err = nullptr;
    GstDiscoverer* discoverer = gst_discoverer_new(20 * GST_SECOND, &err);
    if (!discoverer) {
        g_clear_error(&err);
        return out;
    }
    const QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
    GstDiscovererInfo* info = gst_discoverer_discover_uri(discoverer, uri.constData(), &err);
    g_clear_error(&err);
    if (info) {
        out.seconds = double(gst_discoverer_info_get_duration(info)) / GST_SECOND;
        if (GstDiscovererStreamInfo* top = gst_discoverer_info_get_stream_info(info)) {
            GstCaps* caps = gst_discoverer_stream_info_get_caps(top);
            out.container = mediaType(caps);
            if (caps)
                gst_caps_unref(caps);
            gst_discoverer_stream_info_unref(top);
        }
        for (auto [list, target] : {std::pair{gst_discoverer_info_get_video_streams(info), &out.video},
                                    std::pair{gst_discoverer_info_get_audio_streams(info), &out.audio}}) {
            for (GList* l = list; l; l = l->next) {
                GstCaps* caps = gst_discoverer_stream_info_get_caps(GST_DISCOVERER_STREAM_INFO(l->data));
                *target << mediaType(caps);
                if (caps)
                    gst_caps_unref(caps);
            }
            gst_discoverer_stream_info_list_free(list);
        }
        gst_discoverer_info_unref(info);
    }
    g_object_unref(discoverer);
    return out;
}

} // namespace tvtest
