// The first start after installing builds GStreamer's registry, which takes seconds; a registry on a
// slow disk can take longer. The window must not wait for it, and the audio comes up by itself once
// the registry is there. A FIFO as the registry file holds the engine's loading until the test
// lets it go.
#include "common/TestFakes.h"

#include "app/ui/Startup.h"
#include "app/ui/TForm1.h"
#include "platform/AppDir.h"
#include "radio/RadioPlayer.h"
#include "radio/RadioStatus.h"

#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QTemporaryDir& registryDir() {
    static QTemporaryDir dir;
    return dir;
}
QByteArray registryFifo() {
    return QFile::encodeName(registryDir().filePath(QStringLiteral("registry.bin")));
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};
} // namespace

class TestAudioStart : public QObject {
    Q_OBJECT
private slots:
    void theWindowDoesNotWaitForTheAudioEngine() {
        SetAppDirForTesting(qEnvironmentVariable("ZELMO_TEST_APPDIR") + QLatin1Char('/'));
        FakeMessages sink;
        Program program(Program::Options{&sink});
        TForm1* main = program.windows().Form1;
        PaintCounter painted;
        main->installEventFilter(&painted);
        program.show();
        QTRY_VERIFY_WITH_TIMEOUT(painted.paints > 0, 30000);
        RadioPlayer* radio = program.services().Radio;
        QTest::qWait(200); // the start-up's audio step has come round several times meanwhile
        QVERIFY(!radio->AudioReady());

        // The registry is let go, empty and gone: GStreamer builds a new one and the audio starts.
        const int fd = ::open(registryFifo().constData(), O_WRONLY | O_NONBLOCK);
        QVERIFY(fd >= 0); // the engine is reading it
        QCOMPARE(::unlink(registryFifo().constData()), 0);
        ::close(fd);
        QTRY_VERIFY_WITH_TIMEOUT(radio->AudioReady(), 120000);
        radio->PlayStream("http://127.0.0.1:1/station.mp3");
        QVERIFY(radio->status().state != RadioStatus::State::Off);
        radio->StopStream();
        QVERIFY(sink.shown.isEmpty());
    }
};

int main(int argc, char** argv) {
    if (!registryDir().isValid() || ::mkfifo(registryFifo().constData(), 0600) != 0)
        return 2;
    qputenv("GST_REGISTRY", registryFifo());
    PrepareEnvironment();
    ZelmoApplication app(argc, argv);
    TestAudioStart t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_audio_start.moc"
