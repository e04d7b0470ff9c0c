// Switches between two TV channels or two radio stations as a user would, COUNT times, and prints
// the process's resident memory and open descriptors after each switch, once the new stream plays;
// then turns the stream off. Run through bench/switches/run.sh, never from ctest.
#include "platform/GstAudioEngine.h"
#include "platform/GstVideoPlayer.h"
#include "platform/MallocTuning.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QUrl>

#include <cstdio>
#include <functional>

using namespace std::chrono_literals;

namespace {

constexpr int kPlayWaitMs = 20000;
constexpr int kSettleMs = 1000;
constexpr int kOffSettleMs = 3000;

// A field of /proc/self/status in kB: VmRSS (all resident memory), RssAnon (the heap and the
// threads' stacks, without the mapped code of the libraries and plug-ins loaded).
long statusKb(const QByteArray& field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLong();
    return -1;
}

int fds() {
    return int(QDir(QStringLiteral("/proc/self/fd"))
                   .entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)
                   .size());
}

// Turns the event loop until done() or the time is up.
bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

void report(const char* what, int n) {
    std::printf("%s %d %ld %d %ld\n", what, n, statusKb("VmRSS"), fds(), statusKb("RssAnon"));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    MallocTuning::LimitArenas(); // as the program does at start
    QCoreApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s tv|radio URL1 URL2 COUNT\n", argv[0]);
        return 2;
    }
    const QByteArray kind = argv[1];
    const QUrl urls[] = {QUrl(QString::fromLocal8Bit(argv[2])), QUrl(QString::fromLocal8Bit(argv[3]))};
    const int count = QByteArray(argv[4]).toInt();

    if (kind == "tv") {
        if (!GstVideoPlayer::initGStreamer())
            return 1;
        report("BEFORE", 0);
        GstVideoPlayer player;
        for (int i = 1; i <= count; ++i) {
            player.play(urls[i % 2]);
            if (!waitFor([&] { return player.frameCount() >= 2; }, kPlayWaitMs))
                std::fprintf(stderr, "switch %d: no picture\n", i);
            waitFor([] { return false; }, kSettleMs);
            report("SWITCH", i);
        }
        player.stop();
        player.waitForStopped(10s);
    } else {
        GstAudioEngine engine;
        if (!engine.init())
            return 1;
        report("BEFORE", 0);
        std::unique_ptr<AudioStream> stream;
        for (int i = 1; i <= count; ++i) {
            stream.reset();
            stream = engine.open(urls[i % 2]);
            if (!stream)
                return 1;
            bool started = false;
            QObject::connect(stream.get(), &AudioStream::started, [&started] { started = true; });
            stream->play();
            if (!waitFor([&] { return started; }, kPlayWaitMs))
                std::fprintf(stderr, "switch %d: no sound\n", i);
            waitFor([] { return false; }, kSettleMs);
            report("SWITCH", i);
        }
        stream.reset();
        engine.waitForStopped(10s);
    }
    waitFor([] { return false; }, kOffSettleMs);
    report("OFF", count);
    return 0;
}
