// Plays one channel with the program's TV screen and view, as a click in the main window would,
// then quits. Prints "FIRST_FRAME <ms from the click>" when the first picture reaches the view, and
// how long the UI thread was held by the play and the stop calls ("PLAY_CALL <ms>", "STOP_CALL <ms>"),
// and every second the longest the UI thread went without turning since the click ("UI_MAX_GAP <ms>",
// from a 10 ms timer: what a user's click or key would have waited at worst).
// Usage: bench_video_player URL SECONDS
#include "platform/GstVideoPlayer.h"
#include "tv/TvScreen.h"
#include "tv/ui/TvVideoView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: %s URL SECONDS\n", argv[0]);
        return 2;
    }
    // The program loads GStreamer at start-up, before any click.
    GstVideoPlayer::initGStreamer();
    TvScreen screen;
    QWidget window;
    window.resize(800, 450);
    auto* webArea = new QWidget(&window);
    webArea->setGeometry(7, 7, 590, 436);
    auto* channel = new QPushButton(QStringLiteral("Канал"), &window);
    channel->setGeometry(600, 4, 64, 42);
    TvVideoView view(screen, webArea);
    window.show();

    QElapsedTimer sinceClick;
    QObject::connect(channel, &QPushButton::clicked, [&] {
        sinceClick.start();
        screen.play(ImportedStream{QUrl(args[1]), {}, QStringLiteral("Канал"), {}, {}, {}});
        std::printf("PLAY_CALL %.1f\n", sinceClick.nsecsElapsed() / 1e6);
        std::fflush(stdout);
    });
    QObject::connect(&screen.video(), &GstVideoPlayer::frameChanged, [&] {
        if (screen.video().frameCount() != 1)
            return;
        view.repaint(); // the picture is on screen when this returns
        std::printf("FIRST_FRAME %.1f\n", sinceClick.nsecsElapsed() / 1e6);
        std::fflush(stdout);
    });
    QElapsedTimer sinceTick;
    double maxGap = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (sinceClick.isValid() && sinceTick.isValid())
            maxGap = std::max(maxGap, sinceTick.nsecsElapsed() / 1e6 - 10);
        sinceTick.start();
    });
    ticker.start(10);
    QTimer report;
    QObject::connect(&report, &QTimer::timeout, [&] {
        std::printf("UI_MAX_GAP %.1f\n", maxGap);
        std::fflush(stdout);
    });
    report.start(1000);
    QTimer::singleShot(0, channel, &QPushButton::click);
    QTimer::singleShot(int(args[2].toDouble() * 1000), &app, &QCoreApplication::quit);
    const int rc = app.exec();
    QElapsedTimer stopping;
    stopping.start();
    screen.stop();
    std::printf("STOP_CALL %.1f\n", stopping.nsecsElapsed() / 1e6);
    std::fflush(stdout);
    return rc;
}
