// Channel and station switches against loopback servers: every stopped or replaced stream's
// pipeline, sinks, sources and sockets go with it. GStreamer's own leaks tracer counts the live
// elements; /proc/self/fd counts the process's descriptors.
#include "platform/GstAudioEngine.h"
#include "platform/GstVideoPlayer.h"
#include "radio/RadioTestKit.h"
#include "tv/TvTestKit.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <gst/gst.h>

#include <unistd.h>

using namespace std::chrono_literals;

namespace {
// Takes what a recording would and drops it.
class NullConsumer : public PcmConsumer {
public:
    void writePcm(const QByteArray& pcm) override { bytes += pcm.size(); }
    void endOfPcm() override { ended = true; }
    qsizetype bytes = 0;
    bool ended = false;
};

constexpr int kWaitMs = 30000; // generous: the machine running the suite may be very busy
constexpr int kSwitches = 8;

// Every element, whatever its type (sources of our own type, the adaptive demuxers' downloaders,
// decoders, sinks): a stream's elements all go with it.
const char* const kTracked[] = {"GstElement"};

QByteArray tracerSetting() {
    QByteArray filters;
    for (const char* t : kTracked)
        filters += (filters.isEmpty() ? "" : ",") + QByteArray(t);
    return "leaks(" + filters + ")";
}

GstTracer* leaksTracer() {
    GstTracer* found = nullptr;
    GList* tracers = gst_tracing_get_active_tracers();
    for (GList* l = tracers; l; l = l->next)
        if (!found && g_strcmp0(G_OBJECT_TYPE_NAME(l->data), "GstLeaksTracer") == 0)
            found = GST_TRACER(gst_object_ref(l->data));
    g_list_free_full(tracers, gst_object_unref);
    return found;
}

// The tracked objects created since tracking started and not yet freed, by type name. The tracer's
// checkpoints name addresses only: asking it for the live objects themselves would take references
// to objects that another thread may be freeing at that moment.
class LiveObjects {
public:
    explicit LiveObjects(GstTracer* tracer) : tracer_(tracer) {
        g_signal_emit_by_name(tracer_, "activity-start-tracking");
    }
    ~LiveObjects() { g_signal_emit_by_name(tracer_, "activity-stop-tracking"); }
    QMap<QString, int> now() {
        GstStructure* checkpoint = nullptr;
        g_signal_emit_by_name(tracer_, "activity-get-checkpoint", &checkpoint);
        if (checkpoint) {
            visit(checkpoint, "objects-created-list",
                  [this](const QByteArray& a, const QString& type) { live_.insert(a, type); });
            visit(checkpoint, "objects-removed-list",
                  [this](const QByteArray& a, const QString&) { live_.remove(a); });
            gst_structure_free(checkpoint);
        }
        QMap<QString, int> counts;
        for (const QString& type : std::as_const(live_))
            ++counts[type];
        return counts;
    }

private:
    template <typename F> static void visit(const GstStructure* checkpoint, const char* field, F f) {
        const GValue* list = gst_structure_get_value(checkpoint, field);
        for (guint i = 0; list && i < gst_value_list_get_size(list); ++i) {
            const GstStructure* s = gst_value_get_structure(gst_value_list_get_value(list, i));
            const gchar* type = gst_structure_get_string(s, "type-name");
            const gchar* address = gst_structure_get_string(s, "address");
            if (type && address)
                f(QByteArray(address), QString::fromUtf8(type));
        }
    }
    GstTracer* tracer_;
    QHash<QByteArray, QString> live_;
};

QString describe(const QMap<QString, int>& counts) {
    QStringList parts;
    for (auto it = counts.begin(); it != counts.end(); ++it)
        parts << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    return parts.join(QStringLiteral(", "));
}

// The process's open sockets (unix and TCP alike).
int socketCount() {
    int n = 0;
    QDir dir(QStringLiteral("/proc/self/fd"));
    for (const QString& name : dir.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        char target[256] = {};
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        const ssize_t len = ::readlink(path.constData(), target, sizeof target - 1);
        if (len > 0 && QByteArray(target, int(len)).startsWith("socket:"))
            ++n;
    }
    return n;
}
int descriptorCount() {
    return int(QDir(QStringLiteral("/proc/self/fd"))
                   .entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)
                   .size());
}
} // namespace

class TestStreamTeardown : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void tvSwitchesFreeEveryPipeline_data();
    void tvSwitchesFreeEveryPipeline();
    void radioSwitchesFreeEveryPipeline();
    void cleanupTestCase();

private:
    // Nothing tracked is alive and the descriptors are back where they were.
    void expectAllFreed(LiveObjects& live, int fdsBefore, int socketsBefore);

    GstTracer* tracer_ = nullptr;
    QTemporaryDir media_;
    tvtest::VideoServer video_;
    radiotest::StreamServer radio_;
    int tsRate_ = 0;
};

void TestStreamTeardown::initTestCase() {
    if (qEnvironmentVariableIsEmpty("GST_TRACERS"))
        qputenv("GST_TRACERS", tracerSetting());
    QVERIFY(GstVideoPlayer::initGStreamer());
    tracer_ = leaksTracer();
    QVERIFY2(tracer_, "GStreamer's leaks tracer is not available");
    QVERIFY(media_.isValid());
    QVERIFY(tvtest::makeMedia(media_.path()));
    QVERIFY(radiotest::makeTone(media_.filePath("tone.mp3"), 10));
    QVERIFY(video_.start(media_.path()));
    QVERIFY(radio_.start(media_.path()));
    tsRate_ = int(QFileInfo(media_.filePath("stream.ts")).size() / 20 * 3 / 2);
}

void TestStreamTeardown::cleanupTestCase() {
    if (tracer_)
        gst_object_unref(tracer_);
}

void TestStreamTeardown::expectAllFreed(LiveObjects& live, int fdsBefore, int socketsBefore) {
    QTRY_VERIFY2_WITH_TIMEOUT(live.now().isEmpty(), qPrintable(describe(live.now())), kWaitMs);
    QTRY_VERIFY2_WITH_TIMEOUT(
        socketCount() <= socketsBefore,
        qPrintable(QStringLiteral("%1 sockets, %2 before").arg(socketCount()).arg(socketsBefore)), kWaitMs);
    QTRY_VERIFY2_WITH_TIMEOUT(
        descriptorCount() <= fdsBefore,
        qPrintable(QStringLiteral("%1 descriptors, %2 before").arg(descriptorCount()).arg(fdsBefore)),
        kWaitMs);
}

void TestStreamTeardown::tvSwitchesFreeEveryPipeline_data() {
    QTest::addColumn<bool>("soundServer");
    // Without one first: the sound server's client keeps its connection while a stream uses it.
    QTest::newRow("without a sound server (silent)") << false;
    QTest::newRow("with a sound server") << true;
}

void TestStreamTeardown::tvSwitchesFreeEveryPipeline() {
    QFETCH(bool, soundServer);
    const bool serverSet = qEnvironmentVariableIsSet("PULSE_SERVER");
    const QByteArray server = qgetenv("PULSE_SERVER");
    if (!soundServer)
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(media_.filePath("no-sound-server")));
    const auto restore = qScopeGuard([&] {
        if (serverSet)
            qputenv("PULSE_SERVER", server);
        else
            qunsetenv("PULSE_SERVER");
    });
    const QString channels[] = {video_.url("live.m3u8"),
                                video_.url(QStringLiteral("stream.ts?rate=%1").arg(tsRate_))};
    LiveObjects live(tracer_);
    GstVideoPlayer player;
    // One channel first: what GStreamer and the sound server's client set up once per process
    // (thread pools, the shared connection's thread) is not a stream's.
    player.play(QUrl(channels[0]));
    QTRY_VERIFY_WITH_TIMEOUT(player.frameCount() >= 2, kWaitMs);
    // Without a sound server the picture plays into a silent sink.
    QCOMPARE(live.now().contains(QStringLiteral("GstFakeSink")), !soundServer);
    player.stop();
    QVERIFY(player.waitForStopped(10s));
    QTRY_VERIFY2_WITH_TIMEOUT(live.now().isEmpty(), qPrintable(describe(live.now())), kWaitMs);
    const int fds = descriptorCount();
    const int sockets = socketCount();

    for (int i = 0; i < kSwitches; ++i) {
        player.play(QUrl(channels[i % 2]));
        QTRY_VERIFY_WITH_TIMEOUT(player.frameCount() >= 2, kWaitMs);
        // The channel switched away from goes while the new one plays.
        QTRY_VERIFY2_WITH_TIMEOUT(live.now().value("GstPlayBin") == 1, qPrintable(describe(live.now())),
                                  kWaitMs);
    }
    player.stop();
    QVERIFY(player.waitForStopped(10s));
    expectAllFreed(live, fds, sockets);
}

void TestStreamTeardown::radioSwitchesFreeEveryPipeline() {
    const QUrl stations[] = {QUrl(QString::fromUtf8(radio_.url("tone.mp3?rate=16000&loop=1"))),
                             QUrl(QString::fromUtf8(radio_.url("tone.mp3?rate=20000&loop=1")))};
    LiveObjects live(tracer_);
    GstAudioEngine engine;
    QVERIFY(engine.init());
    auto playUntilStarted = [&](const QUrl& url) -> std::unique_ptr<AudioStream> {
        std::unique_ptr<AudioStream> stream = engine.open(url);
        if (!stream)
            return stream;
        bool started = false;
        connect(stream.get(), &AudioStream::started, this, [&started] { started = true; });
        stream->play();
        (void)QTest::qWaitFor([&] { return started || stream->state() == AudioStream::State::Ended; },
                              kWaitMs);
        return stream;
    };
    {
        std::unique_ptr<AudioStream> first = playUntilStarted(stations[0]);
        QVERIFY(first && first->state() == AudioStream::State::Playing);
    }
    QVERIFY(engine.waitForStopped(10s));
    QTRY_VERIFY2_WITH_TIMEOUT(live.now().isEmpty(), qPrintable(describe(live.now())), kWaitMs);
    const int fds = descriptorCount();
    const int sockets = socketCount();

    std::unique_ptr<AudioStream> current;
    for (int i = 0; i < kSwitches; ++i) {
        current.reset();
        current = playUntilStarted(stations[i % 2]);
        QVERIFY(current && current->state() == AudioStream::State::Playing);
        if (i % 3 == 1) {
            // Recorded for a moment; the last one is still recording when the station changes.
            auto consumer = std::make_shared<NullConsumer>();
            current->attachConsumer(consumer);
            QTRY_VERIFY_WITH_TIMEOUT(consumer->bytes > 0, kWaitMs);
            if (i % 2)
                current->detachConsumer();
        }
        QTRY_VERIFY2_WITH_TIMEOUT(live.now().value("GstPlayBin") == 1, qPrintable(describe(live.now())),
                                  kWaitMs);
    }
    current.reset();
    QVERIFY(engine.waitForStopped(10s));
    expectAllFreed(live, fds, sockets);
}

QTEST_MAIN(TestStreamTeardown)
#include "test_stream_teardown.moc"
