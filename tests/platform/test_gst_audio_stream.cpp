// Streams of the real GStreamer engine whose source hangs inside a state change: a local FIFO with
// no writer blocks the file source in open().
#include "platform/GstAudioEngine.h"
#include "radio/RadioTestKit.h"

#include <QElapsedTimer>
#include <QSignalSpy>
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
};

QTEST_GUILESS_MAIN(TestGstAudioStream)
#include "test_gst_audio_stream.moc"
