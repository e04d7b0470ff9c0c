#include "MediaProbe.h"
#include "TvTestKit.h"
#include "platform/GstStreamRecorder.h"
#include "platform/GstVideoPlayer.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using Failure = StreamRecorder::Failure;
using namespace std::chrono_literals;

namespace {
// Generous: the machine running the suite may be very busy.
constexpr int kWaitMs = 30000;

qint64 fileSize(const QString& path) {
    return QFileInfo(path).size();
}
} // namespace

class TestStreamRecorder : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void recordsTheStreamAsItIs_data();
    void recordsTheStreamAsItIs();
    void aSecondRecordingNeverReplacesTheFirst();
    void aStreamTsCannotCarryGoesIntoMatroska();
    void failuresAreReported_data();
    void failuresAreReported();
    void aWriteErrorEndsTheRecording();

private:
    QTemporaryDir media_;
    tvtest::VideoServer server_;
    int tsRate_ = 0;
    bool webm_ = false;
};

void TestStreamRecorder::initTestCase() {
    QVERIFY(GstVideoPlayer::initGStreamer());
    QVERIFY(media_.isValid());
    QVERIFY(tvtest::makeMedia(media_.path()));
    // VP8 and Vorbis, which MPEG-TS has no place for.
    webm_ = tvtest::run("ffmpeg", {"-loglevel",
                                   "error",
                                   "-y",
                                   "-f",
                                   "lavfi",
                                   "-i",
                                   "testsrc2=size=320x180:rate=25",
                                   "-f",
                                   "lavfi",
                                   "-i",
                                   "sine=frequency=440",
                                   "-t",
                                   "4",
                                   "-c:v",
                                   "libvpx",
                                   "-deadline",
                                   "realtime",
                                   "-c:a",
                                   "libvorbis",
                                   media_.filePath("clip.webm")});
    QVERIFY(server_.start(media_.path()));
    // The MPEG-TS file as a live channel, in real time and without a length.
    tsRate_ = int(QFileInfo(media_.filePath("stream.ts")).size() / 20);
}

void TestStreamRecorder::recordsTheStreamAsItIs_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<HttpHeaders>("headers");
    QTest::newRow("live HLS") << "sliding/live.m3u8" << HttpHeaders{};
    QTest::newRow("live MPEG-TS") << "stream.ts?rate=%1" << HttpHeaders{};
    // The server refuses every request, segments included, without the playlist's headers.
    QTest::newRow("HLS that needs headers")
        << "need/ua=ZelmoRec%2F1/referer=http%3A%2F%2Fsite.example%2F/sliding/live.m3u8"
        << HttpHeaders{{"User-Agent", "ZelmoRec/1"}, {"Referer", "http://site.example/"}};
}

void TestStreamRecorder::recordsTheStreamAsItIs() {
    QFETCH(QString, path);
    QFETCH(HttpHeaders, headers);
    if (path.contains("%1"))
        path = path.arg(tsRate_);
    QTemporaryDir out;
    GstStreamRecorder recorder;
    QSignalSpy failed(&recorder, &StreamRecorder::failed);
    QString error;
    const int deniedBefore = server_.denials().size();
    QVERIFY2(recorder.start(StreamSource{QUrl(server_.url(path)), headers}, out.path(),
                            "Канал 2026-12-11 18-05", &error),
             qPrintable(error));
    QVERIFY(recorder.isRecording());
    // A few seconds of the stream (it comes in real time).
    QTRY_VERIFY_WITH_TIMEOUT(fileSize(recorder.filePath()) > 600 * 1000, kWaitMs);
    const QString file = recorder.filePath();
    QCOMPARE(QFileInfo(file).fileName(), QString("Канал 2026-12-11 18-05.ts"));
    recorder.stop();
    QVERIFY(!recorder.isRecording());
    QVERIFY(recorder.waitForStopped(10s));
    QCOMPARE(failed.count(), 0);
    QCOMPARE(server_.denials().size(), deniedBefore);

    const tvtest::Probed p = tvtest::probe(file);
    QCOMPARE(p.container, QString("video/mpegts"));
    QVERIFY2(p.seconds > 1.5, qPrintable(QString::number(p.seconds)));
    // The source's own codecs: nothing was decoded and encoded again.
    QCOMPARE(p.video, QStringList{"video/x-h264"});
    QCOMPARE(p.audio, QStringList{"audio/mpeg,mpegversion=4"});
    QVERIFY(!QFile::exists(out.filePath("Канал 2026-12-11 18-05.mkv"))); // the name kept for it is given back
}

void TestStreamRecorder::aSecondRecordingNeverReplacesTheFirst() {
    QTemporaryDir out;
    QFile existing(out.filePath("Канал.ts"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("someone's file");
    existing.close();

    GstStreamRecorder recorder;
    QString error;
    QVERIFY(recorder.start(StreamSource{QUrl(server_.url("sliding/live.m3u8")), {}}, out.path(), "Канал",
                           &error));
    QCOMPARE(QFileInfo(recorder.filePath()).fileName(), QString("Канал (2).ts"));
    QTRY_VERIFY_WITH_TIMEOUT(fileSize(recorder.filePath()) > 100 * 1000, kWaitMs);
    // A new recording under the same name while the first one runs: the first ends and stays.
    QVERIFY(recorder.start(StreamSource{QUrl(server_.url("sliding/live.m3u8")), {}}, out.path(), "Канал",
                           &error));
    QCOMPARE(QFileInfo(recorder.filePath()).fileName(), QString("Канал (3).ts"));
    QTRY_VERIFY_WITH_TIMEOUT(fileSize(recorder.filePath()) > 100 * 1000, kWaitMs);
    recorder.stop();
    QVERIFY(recorder.waitForStopped(10s));

    QFile kept(out.filePath("Канал.ts"));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("someone's file"));
    for (const QString name : {"Канал (2).ts", "Канал (3).ts"}) {
        const tvtest::Probed p = tvtest::probe(out.filePath(name));
        QVERIFY2(p.seconds > 0.1 && !p.video.isEmpty() && !p.audio.isEmpty(), qPrintable(name));
    }
}

void TestStreamRecorder::aStreamTsCannotCarryGoesIntoMatroska() {
    if (!webm_)
        QSKIP("ffmpeg cannot make VP8 and Vorbis here");
    QTemporaryDir out;
    QFile taken(out.filePath("Клип.mkv"));
    QVERIFY(taken.open(QIODevice::WriteOnly));
    taken.close();
    GstStreamRecorder recorder;
    QSignalSpy failed(&recorder, &StreamRecorder::failed);
    QString error;
    QVERIFY(recorder.start(StreamSource{QUrl(server_.url("clip.webm")), {}}, out.path(), "Клип", &error));
    // A file, not a live channel: it ends by itself and the recording with it, complete.
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, kWaitMs);
    QCOMPARE(failed.first().at(0).value<Failure>(), Failure::Ended);
    QVERIFY(failed.first().at(2).toBool());
    QVERIFY(recorder.waitForStopped(10s));
    const QString file = recorder.filePath();
    QCOMPARE(QFileInfo(file).fileName(), QString("Клип (2).mkv"));
    QVERIFY(!QFile::exists(out.filePath("Клип (2).ts")));
    const tvtest::Probed p = tvtest::probe(file);
    QCOMPARE(p.container, QString("video/x-matroska"));
    QVERIFY2(p.seconds > 3.5 && p.seconds < 4.5, qPrintable(QString::number(p.seconds)));
    QCOMPARE(p.video, QStringList{"video/x-vp8"});
    QCOMPARE(p.audio, QStringList{"audio/x-vorbis"});
}

void TestStreamRecorder::failuresAreReported_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<QString>("detail");
    QTest::newRow("headers missing") << server_.url("need/ua=ZelmoRec/sliding/live.m3u8")
                                     << Failure::HttpError << "403";
    QTest::newRow("not found") << server_.url("nothing.m3u8") << Failure::HttpError << "404";
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    QTest::newRow("nobody listens") << QString("http://127.0.0.1:%1/live.m3u8").arg(port)
                                    << Failure::Unreachable << QString("127.0.0.1:%1").arg(port);
}

void TestStreamRecorder::failuresAreReported() {
    QFETCH(QString, url);
    QFETCH(Failure, failure);
    QFETCH(QString, detail);
    QTemporaryDir out;
    GstStreamRecorder recorder;
    QSignalSpy failed(&recorder, &StreamRecorder::failed);
    QString error;
    QVERIFY(recorder.start(StreamSource{QUrl(url), {}}, out.path(), "Канал", &error));
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, kWaitMs);
    QCOMPARE(failed.first().at(0).value<Failure>(), failure);
    QCOMPARE(failed.first().at(1).toString(), detail);
    QVERIFY(!failed.first().at(2).toBool());
    QVERIFY(!recorder.isRecording());
    QVERIFY(recorder.waitForStopped(10s));
    // Nothing was recorded: no empty file is left behind.
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList());

    // A folder that cannot be made is refused at once.
    QFile blocker(out.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(!recorder.start(StreamSource{QUrl(url), {}}, out.filePath("file/sub"), "Канал", &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!recorder.isRecording());
}

// A disk that fills up: the process may write no file beyond 300 KB.
void TestStreamRecorder::aWriteErrorEndsTheRecording() {
    QTemporaryDir out;
    rlimit before{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the process
    rlimit small = before;
    small.rlim_cur = 300 * 1000;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto restore = qScopeGuard([&] {
        setrlimit(RLIMIT_FSIZE, &before);
        signal(SIGXFSZ, oldHandler);
    });

    GstStreamRecorder recorder;
    QSignalSpy failed(&recorder, &StreamRecorder::failed);
    QString error;
    QVERIFY(recorder.start(StreamSource{QUrl(server_.url("sliding/live.m3u8")), {}}, out.path(), "Канал",
                           &error));
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, kWaitMs);
    QCOMPARE(failed.first().at(0).value<Failure>(), Failure::WriteError);
    QCOMPARE(failed.first().at(1).toString(), out.filePath("Канал.ts"));
    QVERIFY(failed.first().at(2).toBool());
    QVERIFY(!recorder.isRecording());
    QVERIFY(recorder.waitForStopped(10s));
}

QTEST_MAIN(TestStreamRecorder)
#include "test_stream_recorder.moc"
