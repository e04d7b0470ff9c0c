#include "TvTestKit.h"
#include "platform/GstVideoPlayer.h"
#include "platform/PendingStops.h"
#include "platform/UserAgent.h"
#include "radio/RadioTestKit.h"
#include "tv/TvScreen.h"
#include "tv/ui/TvVideoView.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <gst/gst.h>

using Status = GstVideoPlayer::Status;
using namespace std::chrono_literals;

namespace {
// Generous: the machine running the suite may be very busy.
constexpr int kWaitMs = 30000;
} // namespace

class TestVideoPlayer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void playsMovingPicturesLetterboxed_data();
    void playsMovingPicturesLetterboxed();
    void soundReachesTheNullSink();
    void picturesPlayWithoutASoundServer();
    void failuresShowTheirReason_data();
    void failuresShowTheirReason();
    void stallInMidStreamIsNoSignal();
    void stopDuringAHangingOpenReturnsPromptly();
    void aHangingSoundServerNeverHoldsTheUiThread();
    void missingDecoderIsReported();

private:
    ImportedStream stream(const QString& path) const {
        return ImportedStream{QUrl(server_.url(path)), {}, QStringLiteral("Тест"), {}, {}, {}};
    }
    QTemporaryDir media_;
    tvtest::VideoServer server_;
    int tsRate_ = 0;
};

void TestVideoPlayer::initTestCase() {
    QVERIFY(GstVideoPlayer::initGStreamer());
    QVERIFY(media_.isValid());
    QVERIFY(tvtest::makeMedia(media_.path()));

    QVERIFY(server_.start(media_.path()));
    // The MPEG-TS file as a live channel: a little faster than real time, no length.
    tsRate_ = int(QFileInfo(media_.filePath("stream.ts")).size() / 20 * 3 / 2);
}

void TestVideoPlayer::playsMovingPicturesLetterboxed_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("HLS") << "live.m3u8";
    QTest::newRow("MPEG-TS") << "stream.ts?rate=%1";
}

void TestVideoPlayer::playsMovingPicturesLetterboxed() {
    QFETCH(QString, path);
    if (path.contains("%1"))
        path = path.arg(tsRate_);
    TvScreen screen;
    QWidget panel;
    auto* covered = new QWidget(&panel);
    covered->setGeometry(7, 7, 590, 436);
    TvVideoView view(screen, covered);
    panel.resize(800, 450);
    panel.show();
    const int before = server_.requests().size();

    screen.play(stream(path));
    QVERIFY(screen.isPlaying());
    QVERIFY(view.isVisible());
    QCOMPARE(view.geometry(), covered->geometry());
    QTRY_VERIFY_WITH_TIMEOUT(screen.video().frameCount() >= 3, kWaitMs);
    QCOMPARE(screen.video().status(), Status::Playing);
    QVERIFY(view.statusText().isEmpty());
    // The pipeline scales to the view and letter-boxes: the view draws the picture as it is.
    QCOMPARE(screen.video().frame().size(), QSize(590, 436));
    QCOMPARE(screen.video().frame().format(), QImage::Format_RGB32);

    // The view's own rendering holds the picture: 640x360 in 590x436 leaves black bars above and
    // below, and the picture moves.
    const QImage first = view.grab().toImage();
    QCOMPARE(first.size(), QSize(590, 436));
    QCOMPARE(first.pixel(295, 20) & 0xffffff, 0u);
    QCOMPARE(first.pixel(295, 420) & 0xffffff, 0u);
    QVERIFY(first.pixel(295, 218) & 0xffffff);
    const quint64 seen = screen.video().frameCount();
    QTRY_VERIFY_WITH_TIMEOUT(screen.video().frameCount() >= seen + 10, kWaitMs);
    QVERIFY(tvtest::changedShare(first, view.grab().toImage()) > 0.01);

    // The covered widget moves and resizes: the view follows, and so do the pictures.
    covered->setGeometry(10, 20, 300, 200);
    QCOMPARE(view.geometry(), covered->geometry());
    QTRY_COMPARE_WITH_TIMEOUT(screen.video().frame().size(), QSize(300, 200), kWaitMs);
    const QImage small = view.grab().toImage();
    QCOMPARE(small.pixel(150, 5) & 0xffffff, 0u);
    QVERIFY(small.pixel(150, 100) & 0xffffff);

    // Every request, segments included, goes out as a browser's: the entry names no User-Agent.
    const QStringList requests = server_.requests().mid(before);
    QVERIFY(!requests.isEmpty());
    for (const QString& r : requests)
        QVERIFY2(r.endsWith(QString::fromLatin1(UserAgent::Browser)), qPrintable(r));

    screen.stop();
    QVERIFY(!view.isVisible());
    QCOMPARE(screen.video().status(), Status::Idle);
}

void TestVideoPlayer::soundReachesTheNullSink() {
    radiotest::MonitorCapture monitor;
    QVERIFY(monitor.start());
    QTest::qWait(300);
    QVERIFY(monitor.levelOver(300) < radiotest::kSilence);
    TvScreen screen;
    bool radioStopped = false;
    screen.setBeforePlay([&] { radioStopped = true; });
    screen.play(stream("live.m3u8"));
    QVERIFY(radioStopped);
    QTRY_VERIFY_WITH_TIMEOUT(monitor.recentLevel() > radiotest::kSound, kWaitMs);
    screen.stop();
    QTRY_VERIFY_WITH_TIMEOUT(monitor.levelOver(300) < radiotest::kSilence, kWaitMs);
}

void TestVideoPlayer::picturesPlayWithoutASoundServer() {
    const QByteArray saved = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", "unix:/nonexistent/zelmo-no-pulse");
    TvScreen screen;
    screen.play(stream("live.m3u8"));
    QTRY_VERIFY_WITH_TIMEOUT(screen.video().frameCount() >= 10, kWaitMs);
    QCOMPARE(screen.video().status(), Status::Playing);
    screen.stop();
    qputenv("PULSE_SERVER", saved);
}

void TestVideoPlayer::failuresShowTheirReason_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<Status>("status");
    QTest::addColumn<QString>("text");
    QTest::newRow("not found") << "missing.m3u8" << Status::HttpError << "Ошибка HTTP 404";
    QTest::newRow("forbidden") << "status/403" << Status::HttpError << "Ошибка HTTP 403";
    QTest::newRow("server error") << "status/503" << Status::HttpError << "Ошибка HTTP 503";
    QTest::newRow("refused") << "refused" << Status::Unreachable << "Нет соединения с сервером 127.0.0.1:";
    QTest::newRow("never answers") << "hang" << Status::Unreachable << "Нет соединения с сервером 127.0.0.1:";
    QTest::newRow("not a network address") << "file" << Status::Failed << "Ошибка воспроизведения";
}

void TestVideoPlayer::failuresShowTheirReason() {
    QFETCH(QString, path);
    QFETCH(Status, status);
    QFETCH(QString, text);
    TvScreen screen;
    QWidget panel;
    auto* covered = new QWidget(&panel);
    TvVideoView view(screen, covered);
    ImportedStream s = stream(path);
    if (path == "refused") {
        // A port that was just free: nothing listens there.
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        s.url = QUrl(QStringLiteral("http://127.0.0.1:%1/live.m3u8").arg(probe.serverPort()));
    } else if (path == "file") {
        s.url = QUrl::fromLocalFile(media_.filePath("live.m3u8"));
    }
    screen.play(s);
    QTRY_COMPARE_WITH_TIMEOUT(screen.video().status(), status, kWaitMs);
    QVERIFY2(view.statusText().startsWith(text), qPrintable(view.statusText()));
    // The message stays in the view until something else is chosen.
    QVERIFY(screen.isPlaying());
    QVERIFY(!screen.video().reason().isEmpty());
}

void TestVideoPlayer::stallInMidStreamIsNoSignal() {
    auto player = std::make_unique<GstVideoPlayer>();
    GstVideoPlayer::Limits limits;
    limits.stallMs = 1500;
    player->setLimits(limits);
    TvScreen screen(std::move(player));
    QWidget panel;
    auto* covered = new QWidget(&panel);
    TvVideoView view(screen, covered);
    // About three seconds of the channel, then the server holds the connection and sends nothing.
    screen.play(stream(QStringLiteral("stream.ts?rate=%1&stall=%2").arg(tsRate_).arg(tsRate_ * 2)));
    QTRY_VERIFY_WITH_TIMEOUT(screen.video().frameCount() > 0, kWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(screen.video().status(), Status::NoSignal, kWaitMs);
    // The channel had played, so it is opened again by itself after a pause.
    QCOMPARE(view.statusText(), QStringLiteral("Нет сигнала, переподключение (1)"));
    // The last picture stays under the message.
    QVERIFY(!screen.video().frame().isNull());
}

void TestVideoPlayer::stopDuringAHangingOpenReturnsPromptly() {
    auto player = std::make_unique<GstVideoPlayer>();
    GstVideoPlayer& video = *player;
    TvScreen screen(std::move(player));
    screen.play(stream("hang"));
    QTRY_VERIFY_WITH_TIMEOUT(server_.requests().last().startsWith("GET /hang"), kWaitMs);
    QCOMPARE(screen.video().status(), Status::Connecting);
    QElapsedTimer t;
    t.start();
    screen.stop();
    // Milliseconds when idle; the bound leaves room for a very busy machine.
    QVERIFY2(t.elapsed() < 2000, qPrintable(QString::number(t.elapsed())));
    QCOMPARE(screen.video().status(), Status::Idle);

    // An open that shows no picture in time ends by itself.
    GstVideoPlayer::Limits limits;
    limits.firstFrameMs = 1000;
    limits.sourceTimeoutS = 60;
    video.setLimits(limits);
    screen.play(stream("hang"));
    QTRY_COMPARE_WITH_TIMEOUT(screen.video().status(), Status::NoSignal, kWaitMs);
}

void TestVideoPlayer::aHangingSoundServerNeverHoldsTheUiThread() {
    // A sound server that takes the connection and never answers: opening the output waits on it
    // for as long as it stays.
    QTemporaryDir dir;
    QLocalServer silent;
    QVERIFY(silent.listen(dir.filePath("pa.sock")));
    QList<QLocalSocket*> held;
    connect(&silent, &QLocalServer::newConnection, this, [&] {
        while (QLocalSocket* s = silent.nextPendingConnection())
            held << s;
    });
    const QByteArray saved = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(silent.fullServerName()));
    auto restore = qScopeGuard([&saved] { qputenv("PULSE_SERVER", saved); });
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
    ticker.start(20);
    const auto hangRequests = [this] {
        return server_.requests().filter(QRegularExpression("^GET /hang ")).size();
    };
    const int hangsBefore = hangRequests();

    auto stopping = std::make_shared<PendingStops>();
    auto kept = std::make_unique<GstVideoPlayer>(stopping);
    auto freed = std::make_unique<GstVideoPlayer>(stopping);
    GstVideoPlayer::Limits patient; // the open is ended by the test only
    patient.firstFrameMs = 600000;
    patient.sourceTimeoutS = 600;
    kept->setLimits(patient);
    QElapsedTimer t;
    t.start();
    kept->play(QUrl(server_.url("hang")));
    freed->play(QUrl(server_.url("live.m3u8")));
    // Milliseconds when idle; the bound leaves room for a very busy machine.
    QVERIFY2(t.elapsed() < 2000, qPrintable(QString::number(t.elapsed())));
    // The players share one connection; the sound server's client gives up after 30 s by itself.
    QTRY_VERIFY_WITH_TIMEOUT(!held.isEmpty(), kWaitMs);
    // The loop turns on while both wait.
    int before = ticks;
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= before + 10, kWaitMs);
    QCOMPARE(kept->status(), Status::Connecting);

    // Freeing a player returns at once; the exit waits for its pipeline only for a bounded time.
    t.restart();
    freed.reset();
    QVERIFY2(t.elapsed() < 2000, qPrintable(QString::number(t.elapsed())));
    t.restart();
    QVERIFY(!stopping->waitForAll(300ms));
    QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));

    // The server goes: the kept player opens its stream without sound, and the stream's server
    // never answers either.
    qDeleteAll(held);
    held.clear();
    silent.close();
    QTRY_VERIFY_WITH_TIMEOUT(hangRequests() > hangsBefore, kWaitMs);
    before = ticks;
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= before + 10, kWaitMs);
    QCOMPARE(kept->status(), Status::Connecting);
    t.restart();
    kept->stop();
    QVERIFY2(t.elapsed() < 2000, qPrintable(QString::number(t.elapsed())));
    QCOMPARE(kept->status(), Status::Idle);

    // Both pipelines stop and are freed; what they report on the way down changes nothing.
    QTRY_VERIFY_WITH_TIMEOUT(stopping->waitForAll(0ms), kWaitMs);
    QTest::qWait(200); // calls posted on the way down, if any, would have run by now
    QCOMPARE(kept->status(), Status::Idle);
    QVERIFY(kept->reason().isEmpty());
}

void TestVideoPlayer::missingDecoderIsReported() {
    // No H.264 decoder may be picked: as on a system without one, only the sound could play.
    GList* decoders = gst_element_factory_list_get_elements(GST_ELEMENT_FACTORY_TYPE_DECODER, GST_RANK_NONE);
    GstCaps* h264 = gst_caps_from_string("video/x-h264");
    GList* fitting = gst_element_factory_list_filter(decoders, h264, GST_PAD_SINK, FALSE);
    QList<QPair<GstPluginFeature*, guint>> ranks;
    for (GList* l = fitting; l; l = l->next) {
        auto* f = GST_PLUGIN_FEATURE(l->data);
        ranks << qMakePair(GST_PLUGIN_FEATURE(gst_object_ref(f)), gst_plugin_feature_get_rank(f));
        gst_plugin_feature_set_rank(f, GST_RANK_NONE);
    }
    gst_plugin_feature_list_free(fitting);
    gst_plugin_feature_list_free(decoders);
    gst_caps_unref(h264);
    QVERIFY(!ranks.isEmpty());

    TvScreen screen;
    QWidget panel;
    auto* covered = new QWidget(&panel);
    TvVideoView view(screen, covered);
    screen.play(stream("live.m3u8"));
    QTRY_COMPARE_WITH_TIMEOUT(screen.video().status(), Status::CodecMissing, kWaitMs);
    QVERIFY2(view.statusText().contains("H.264"), qPrintable(view.statusText()));
    // The watchdog does not turn the explanation into "no signal".
    QTest::qWait(1500);
    QCOMPARE(screen.video().status(), Status::CodecMissing);
    screen.stop();
    for (const auto& [feature, rank] : ranks) {
        gst_plugin_feature_set_rank(feature, rank);
        gst_object_unref(feature);
    }
}

QTEST_MAIN(TestVideoPlayer)
#include "test_video_player.moc"
