// Plays one station with the real engine for a while, optionally recording it, then shuts down
// cleanly. Usage: bench_radio_player URL SECONDS [RECORD_NAME]
#include "radio/RadioPlayer.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: %s URL SECONDS [RECORD_NAME]\n", argv[0]);
        return 2;
    }
    auto player = RadioPlayer::createDefault();
    player->StartAudio();
    player->PlayStream(args[1].toUtf8());
    if (args.size() > 3) {
        // Record from the moment the station plays.
        auto* poll = new QTimer(&app);
        QObject::connect(poll, &QTimer::timeout, &app, [&, poll] {
            if (!player->isPlaying())
                return;
            poll->stop();
            QString why;
            if (!player->StartRecording(args[3], &why))
                std::fprintf(stderr, "recording failed: %s\n", qPrintable(why));
        });
        poll->start(10);
    }
    QTimer::singleShot(int(args[2].toDouble() * 1000), &app, &QCoreApplication::quit);
    const int rc = app.exec();
    player->ShutdownAudio();
    return rc;
}
