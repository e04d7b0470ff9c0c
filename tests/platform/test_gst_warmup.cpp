// The lighter decoders are ranked first, and the plug-in warm-up finishes or stops when told.
#include "platform/GstWarmup.h"

#include <QElapsedTimer>
#include <QTest>

#include <gst/base/gsttypefindhelper.h>
#include <gst/gst.h>

#include <memory>

namespace {
guint rankOf(const char* name) {
    GstPluginFeature* f = gst_registry_lookup_feature(gst_registry_get(), name);
    if (!f)
        return 0;
    const guint rank = gst_plugin_feature_get_rank(f);
    gst_object_unref(f);
    return rank;
}
bool installed(const char* name) {
    GstPluginFeature* f = gst_registry_lookup_feature(gst_registry_get(), name);
    if (f)
        gst_object_unref(f);
    return f != nullptr;
}
} // namespace

class TestGstWarmup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(gst_init_check(nullptr, nullptr, nullptr)); }

    void lighterDecodersRankAboveLibav_data() {
        QTest::addColumn<QByteArray>("light");
        QTest::addColumn<QByteArray>("heavy");
        QTest::newRow("MP3") << QByteArray("mpg123audiodec") << QByteArray("avdec_mp3float");
        QTest::newRow("MP3, integer") << QByteArray("mpg123audiodec") << QByteArray("avdec_mp3");
        QTest::newRow("AAC") << QByteArray("faad") << QByteArray("avdec_aac");
    }
    void lighterDecodersRankAboveLibav() {
        QFETCH(QByteArray, light);
        QFETCH(QByteArray, heavy);
        if (!installed(light) || !installed(heavy))
            QSKIP("decoder not installed");
        GstWarmup::PreferLightDecoders();
        QVERIFY2(rankOf(light) > rankOf(heavy), (light + " must rank above " + heavy).constData());
        // Asking again moves nothing further.
        const guint rank = rankOf(light);
        QVERIFY(GstWarmup::PreferLightDecoders().isEmpty());
        QCOMPARE(rankOf(light), rank);
    }

    // Data that no type finder is sure of runs them all; none of them may pull in libav.
    void unsureTypeFindingLeavesLibavUnloaded() {
        GstPlugin* libav = gst_registry_find_plugin(gst_registry_get(), "libav");
        if (!libav)
            QSKIP("libav not installed");
        if (gst_plugin_is_loaded(libav)) {
            gst_object_unref(libav);
            QSKIP("libav already loaded in this process");
        }
        QVERIFY(!GstWarmup::SkipHeavyTypeFinders().isEmpty());
        QVERIFY(GstWarmup::SkipHeavyTypeFinders().isEmpty()); // nothing left to take out
        QByteArray noise(4096, '\0');
        for (qsizetype i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919) % 251);
        GstTypeFindProbability probability = GST_TYPE_FIND_NONE;
        GstCaps* caps = gst_type_find_helper_for_data(
            nullptr, reinterpret_cast<const guint8*>(noise.constData()), size_t(noise.size()), &probability);
        if (caps)
            gst_caps_unref(caps);
        QVERIFY(!gst_plugin_is_loaded(libav));
        gst_object_unref(libav);
    }

    void warmerLoadsTheStationElements() {
        GstPluginWarmer warmer;
        warmer.start(std::chrono::milliseconds(0));
        QTRY_VERIFY_WITH_TIMEOUT(warmer.finished(), 60000);
        for (const QString& name : GstWarmup::StationElements()) {
            GstPluginFeature* f =
                gst_registry_lookup_feature(gst_registry_get(), name.toLatin1().constData());
            if (!f)
                continue; // not installed: nothing to load
            GstPlugin* plugin = gst_plugin_feature_get_plugin(f);
            const bool loaded = plugin && gst_plugin_is_loaded(plugin);
            if (plugin)
                gst_object_unref(plugin);
            gst_object_unref(f);
            QVERIFY2(loaded, qPrintable(name));
        }
        // The decoding run on silence kept to the light decoders.
        if (GstPlugin* libav = gst_registry_find_plugin(gst_registry_get(), "libav")) {
            QVERIFY(!gst_plugin_is_loaded(libav));
            gst_object_unref(libav);
        }
    }

    void warmerWaitingForItsTurnStopsAtOnce() {
        QElapsedTimer clock;
        clock.start();
        {
            GstPluginWarmer warmer;
            warmer.start(std::chrono::minutes(10));
        }
        QVERIFY(clock.elapsed() < 5000);
    }
};

QTEST_GUILESS_MAIN(TestGstWarmup)
#include "test_gst_warmup.moc"
