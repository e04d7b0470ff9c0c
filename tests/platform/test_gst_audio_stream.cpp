// Streams of the real GStreamer engine whose source hangs inside a state change: a local FIFO with
// no writer blocks the file source in open().
#include "platform/GstAudioEngine.h"
#include "radio/RadioTestKit.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {
// Opening the writing end lets the reader blocked in open() go on; closing it gives an empty stream.
bool releaseFifo(const QString& path, int attempts = 200) {
    const QByteArray name = QFile::encodeName(path);
    for (int i = 0; i < attempts; ++i) {
        const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
            ::close(fd);
            return true;
        }
        QTest::qWait(50); // the reader has not reached open() yet
    }
    return false;
}
// A PulseAudio server of the test's own with a null sink, which the test can kill and restart.
class SoundServer {
public:
    explicit SoundServer(const QString& dir) : dir_(dir) {}
    ~SoundServer() { stop(); }
    QString address() const { return "unix:" + dir_ + "/pa.sock"; }
    bool start() {
        QFile::remove(dir_ + "/pa.sock");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", dir_);
        daemon_.setProcessEnvironment(env);
        daemon_.start("pulseaudio",
                      {"--daemonize=no", "-n", "--exit-idle-time=-1", "--disallow-exit",
                       "--log-target=file:" + dir_ + "/pa.log",
                       "--load=module-native-protocol-unix auth-anonymous=1 socket=" + dir_ + "/pa.sock",
                       "--load=module-null-sink sink_name=testsink rate=44100"});
        if (!daemon_.waitForStarted(10000))
            return false;
        QElapsedTimer t;
        t.start();
        while (!QFile::exists(dir_ + "/pa.sock") && t.elapsed() < 20000)
            QTest::qWait(50);
        return QFile::exists(dir_ + "/pa.sock");
    }
    void stop() {
        if (daemon_.state() == QProcess::NotRunning)
            return;
        daemon_.kill(); // a server that dies, not one that says goodbye
        daemon_.waitForFinished(10000);
    }
    // The clients connected under the player's name.
    int playerClients() const {
        QProcess pactl;
        pactl.start("pactl", {"-s", address(), "list", "clients"});
        if (!pactl.waitForFinished(10000))
            return -1;
        return int(pactl.readAllStandardOutput().count("application.name = \"" ZELMO_NAME "\""));
    }

private:
    QString dir_;
    QProcess daemon_;
};
} // namespace

class TestGstAudioStream : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

    QString makeFifo(const QString& name) {
        const QString path = dir_.filePath(name);
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 ? path : QString();
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void aHangingSourceNeverHoldsTheUiThread() {
        const QString hung = makeFifo("hung.mp3");
        const QString freedEarly = makeFifo("freed-early.mp3");
        QVERIFY(!hung.isEmpty() && !freedEarly.isEmpty());
        const QString tone = dir_.filePath("tone.wav");
        QVERIFY(radiotest::makeTone(tone, 3));
        QByteArray sinks;
        const bool pulse = radiotest::run("pactl", {"list", "short", "sinks"}, &sinks) &&
                           sinks.contains(radiotest::kSink.toUtf8());

        GstAudioEngine engine;
        QVERIFY(engine.init());
        engine.setOpenTimeout(1000);
        engine.setStopTimeout(300);
        engine.setDevice(radiotest::kSink.toUtf8());
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
        ticker.start(20);

        auto stream = engine.open(QUrl::fromLocalFile(hung));
        QVERIFY(stream);
        QSignalSpy ended(stream.get(), &AudioStream::ended);
        QElapsedTimer t;
        t.start();
        stream->play();
        QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));

        // Another station meanwhile opens and sounds as usual.
        if (pulse) {
            auto other = engine.open(QUrl::fromLocalFile(tone));
            QSignalSpy started(other.get(), &AudioStream::started);
            other->play();
            QTRY_COMPARE_WITH_TIMEOUT(started.size(), 1, 10000);
        }

        // The watchdog gives the hung open up with its reason, and the loop ran all along.
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 15000);
        QCOMPARE(stream->failure(), AudioStream::Failure::Unreachable);
        QVERIFY2(stream->reason().contains("no audio"), qPrintable(stream->reason()));
        QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
        QCOMPARE(stream->state(), AudioStream::State::Ended);

        // Freeing it, or a stream still opening, returns at once.
        t.restart();
        stream.reset();
        auto early = engine.open(QUrl::fromLocalFile(freedEarly));
        early->play();
        early.reset();
        QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));

        // The exit waits for them only for a bounded time.
        t.restart();
        QVERIFY(!engine.waitForStopped(300ms));
        QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));

        // Once their sources come back, the pipelines stop and go. The file source opens its file
        // more than once, and the one freed early may have gone before it opened it at all.
        QVERIFY(releaseFifo(hung));
        QTRY_VERIFY_WITH_TIMEOUT(
            (releaseFifo(hung, 1), releaseFifo(freedEarly, 1), engine.waitForStopped(0ms)), 20000);
    }

    // A sound server that died and came back costs no station, and nothing stays connected to it
    // after the exit.
    void aRestartedSoundServerCostsNoStation() {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty() ||
            QStandardPaths::findExecutable("pactl").isEmpty())
            QSKIP("no PulseAudio here");
        const QString tone = dir_.filePath("tone.wav");
        QVERIFY(QFile::exists(tone) || radiotest::makeTone(tone, 3));
        QTemporaryDir serverDir;
        SoundServer server(serverDir.path());
        QVERIFY(server.start());
        const QByteArray before = qgetenv("PULSE_SERVER");
        qputenv("PULSE_SERVER", server.address().toUtf8());
        auto restore = qScopeGuard([&before] { qputenv("PULSE_SERVER", before); });

        GstAudioEngine engine;
        QVERIFY(engine.init());
        auto playOnce = [&engine, &tone] {
            auto stream = engine.open(QUrl::fromLocalFile(tone));
            QSignalSpy started(stream.get(), &AudioStream::started);
            QSignalSpy ended(stream.get(), &AudioStream::ended);
            stream->play();
            QElapsedTimer t;
            t.start();
            while (started.isEmpty() && ended.isEmpty() && t.elapsed() < 15000)
                QTest::qWait(20);
            return started.size() == 1 && ended.isEmpty();
        };
        QVERIFY(playOnce());
        QVERIFY(engine.waitForStopped(10s));

        server.stop();
        QVERIFY(server.start());
        QVERIFY2(playOnce(), "the first station after the server came back did not play");
        QVERIFY(engine.waitForStopped(10s));

        engine.shutdown();
        QTRY_COMPARE_WITH_TIMEOUT(server.playerClients(), 0, 10000);
    }
};

QTEST_GUILESS_MAIN(TestGstAudioStream)
#include "test_gst_audio_stream.moc"
