// Real streams from a loopback server as channels publish them: entries that ask for request
// headers (refused without them, on every request), channels with dead entries, and live channels
// whose server goes silent and comes back.
#include "TvTestKit.h"
#include "platform/GstVideoPlayer.h"
#include "radio/RadioTestKit.h"
#include "tv/TvScreen.h"
#include "tv/TvStatus.h"
#include "tv/ui/TvVideoView.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

using Status = GstVideoPlayer::Status;

namespace {
// Generous: the machine running the suite may be very busy.
constexpr int kWaitMs = 30000;
} // namespace

class TestTvStreams : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void entryHeadersGoWithEveryRequest_data();
    void entryHeadersGoWithEveryRequest();
    void aDeadEntryGivesWayToTheNext();
    void aLiveChannelComesBackByItself_data();
    void aLiveChannelComesBackByItself();

private:
    ImportedStream stream(const QString& path) const {
        return ImportedStream{QUrl(server_.url(path)), {}, QStringLiteral("Тест"), {}, {}, {}};
    }
    QTemporaryDir media_;
    tvtest::VideoServer server_;
    int tsRate_ = 0;
};

void TestTvStreams::initTestCase() {
    QVERIFY(GstVideoPlayer::initGStreamer());
    QVERIFY(media_.isValid());
    QVERIFY(tvtest::makeMedia(media_.path()));
    QVERIFY(tvtest::makeDash(media_.path()));
    // A master playlist over the HLS stream, as most channels publish it.
    QFile master(media_.filePath("master.m3u8"));
    QVERIFY(master.open(QIODevice::WriteOnly));
    master.write("#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=800000,RESOLUTION=640x360\nlive.m3u8\n");
    master.close();
    QVERIFY(server_.start(media_.path()));
    // The MPEG-TS file as a live channel: a little faster than real time, no length.
    tsRate_ = int(QFileInfo(media_.filePath("stream.ts")).size() / 20 * 3 / 2);
}

namespace {
// What the guarded entries ask for, and the server's path prefix that refuses requests without it.
const HttpHeaders kEntryHeaders{
    {"User-Agent", "SetTopBox/2.1 (Linux)"}, {"Referer", "https://tv.example/watch/1"}, {"X-Token", "a1b2"}};
const QString kGuard = QStringLiteral(
    "need/ua=SetTopBox%2F2.1%20(Linux)/referer=https%3A%2F%2Ftv.example%2Fwatch%2F1/h=X-Token%3Aa1b2/");
} // namespace

void TestTvStreams::entryHeadersGoWithEveryRequest_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("playlist"); // a request that must have come more than once, or empty
    QTest::newRow("HLS master, variant, segments") << "master.m3u8"
                                                   << "";
    QTest::newRow("live HLS: the variant's reloads") << "sliding/master.m3u8"
                                                     << "sliding/live.m3u8";
    QTest::newRow("MPEG-TS") << "stream.ts?rate=%1"
                             << "";
    QTest::newRow("DASH manifest and fragments") << "dash/manifest.mpd"
                                                 << "";
}

void TestTvStreams::entryHeadersGoWithEveryRequest() {
    QFETCH(QString, path);
    QFETCH(QString, playlist);
    if (path.contains("%1"))
        path = path.arg(tsRate_);
    const int deniedBefore = server_.denials().size();
    const int before = server_.requests().size();
    {
        // Without the headers the server refuses the stream: the guard is real.
        TvScreen screen;
        screen.play(stream(kGuard + path));
        QTRY_COMPARE_WITH_TIMEOUT(screen.video().status(), Status::HttpError, kWaitMs);
        QCOMPARE(screen.video().httpStatus(), 403);
    }
    QVERIFY(server_.denials().size() > deniedBefore);

    const int denied = server_.denials().size();
    TvScreen screen;
    ImportedStream s = stream(kGuard + path);
    s.headers = kEntryHeaders;
    screen.play(s);
    QTRY_VERIFY_WITH_TIMEOUT(screen.video().frameCount() >= 3, kWaitMs);
    const quint64 seen = screen.video().frameCount();
    QTRY_VERIFY_WITH_TIMEOUT(screen.video().frameCount() >= seen + 25, kWaitMs);
    if (!playlist.isEmpty()) {
        const auto reloads = [&] {
            return server_.requests()
                .mid(before)
                .filter(QRegularExpression("^GET /need/.*/" + playlist + " "))
                .size();
        };
        QTRY_VERIFY_WITH_TIMEOUT(reloads() >= 3, kWaitMs);
    }
    QCOMPARE(screen.video().status(), Status::Playing);
    // No request of the stream, the demuxer's own included, went out without them.
    QCOMPARE(server_.denials().mid(denied), QStringList());
    QVERIFY(!server_.requests().mid(before).filter(QRegularExpression("^GET /need/")).isEmpty());
    screen.stop();
}

void TestTvStreams::aDeadEntryGivesWayToTheNext() {
    QTcpServer probe; // a port that was just free: nothing listens there
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const QUrl refused(QStringLiteral("http://127.0.0.1:%1/live.m3u8").arg(probe.serverPort()));
    probe.close();
    ImportedStream s = stream("status/404");
    s.url = refused;
    s.alternates = {StreamSource{QUrl(server_.url("status/403")), {}},
                    StreamSource{QUrl(server_.url(kGuard + "master.m3u8")), kEntryHeaders}};
    TvScreen screen;
    QStringList texts;
    connect(&screen, &TvScreen::progressChanged, this, [&] { texts << tvStatusText(screen); });
    screen.play(s);
    QTRY_VERIFY_WITH_TIMEOUT(screen.video().frameCount() >= 3, kWaitMs);
    QCOMPARE(screen.sourceIndex(), 2);
    QCOMPARE(screen.video().status(), Status::Playing);
    QCOMPARE(tvStatusText(screen), QString());
    // The view said which entry was being tried.
    QCOMPARE(texts, (QStringList{"Подключение…\nИсточник 1/3", "Подключение…\nИсточник 2/3",
                                 "Подключение…\nИсточник 3/3"}));
    screen.stop();
}

void TestTvStreams::aLiveChannelComesBackByItself_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("live HLS") << "sliding/master.m3u8";
    QTest::newRow("MPEG-TS") << "stream.ts?rate=%1";
}

void TestTvStreams::aLiveChannelComesBackByItself() {
    QFETCH(QString, path);
    if (path.contains("%1"))
        path = path.arg(tsRate_);
    radiotest::MonitorCapture monitor;
    QVERIFY(monitor.start());
    auto player = std::make_unique<GstVideoPlayer>();
    GstVideoPlayer::Limits limits;
    limits.stallMs = 1500;
    limits.firstFrameMs = 8000;
    limits.sourceTimeoutS = 2;
    player->setLimits(limits);
    TvScreen screen(std::move(player));
    screen.setReconnectUnit(500);
    QWidget panel;
    auto* covered = new QWidget(&panel);
    TvVideoView view(screen, covered);
    screen.play(stream(path));
    QTRY_COMPARE_WITH_TIMEOUT(screen.video().status(), Status::Playing, kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(monitor.recentLevel() > radiotest::kSound, kWaitMs);

    // The server goes silent: the channel is lost and tried again and again, and says so.
    server_.command("down");
    auto restore = qScopeGuard([this] { server_.command("up"); });
    QTRY_VERIFY_WITH_TIMEOUT(screen.reconnectAttempt() >= 1, kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(screen.reconnectAttempt() >= 3, kWaitMs);
    QVERIFY2(view.statusText().startsWith(QStringLiteral("Нет сигнала, переподключение (")),
             qPrintable(view.statusText()));
    QTRY_VERIFY_WITH_TIMEOUT(monitor.levelOver(300) < radiotest::kSilence, kWaitMs);

    // It comes back: picture and sound return without anyone asking.
    QElapsedTimer back;
    back.start();
    server_.command("up");
    QTRY_COMPARE_WITH_TIMEOUT(screen.video().status(), Status::Playing, 60000);
    qInfo() << "picture back" << back.elapsed() << "ms after the server";
    QCOMPARE(screen.reconnectAttempt(), 0);
    QVERIFY(view.statusText().isEmpty());
    const quint64 seen = screen.video().frameCount();
    QTRY_VERIFY_WITH_TIMEOUT(screen.video().frameCount() >= seen + 10, kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(monitor.recentLevel() > radiotest::kSound, kWaitMs);
    qInfo() << "sound back" << back.elapsed() << "ms after the server";
    screen.stop();
}

QTEST_MAIN(TestTvStreams)
#include "test_tv_streams.moc"
