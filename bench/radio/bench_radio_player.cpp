// Plays one station with the real engine for a while, optionally recording it, then shuts down
// cleanly. Usage: bench_radio_player URL SECONDS [RECORD_NAME]
// With BENCH_TITLE_EVERY_MS set, the loopback server (stream_server.py) is told a new Windows-1251
// song title that often, and each status change is turned into the now-playing text, as the
// windows do.
#include "radio/RadioPlayer.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

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
    QNetworkAccessManager network;
    int titles = 0;
    int changes = 0;
    QString shown;
    QObject::connect(player.get(), &RadioPlayer::statusChanged, &app, [&](const RadioStatus& s) {
        ++changes;
        shown = radioSummary(s);
    });
    if (const int every = qEnvironmentVariableIntValue("BENCH_TITLE_EVERY_MS"); every > 0) {
        auto* ticker = new QTimer(&app);
        QObject::connect(ticker, &QTimer::timeout, &app, [&] {
            QUrl url(args[1]);
            url.setPath(QStringLiteral("/set-title"));
            QUrlQuery q;
            q.addQueryItem(QStringLiteral("text"),
                           QStringLiteral("Исполнитель - Песня номер %1").arg(++titles));
            q.addQueryItem(QStringLiteral("enc"), QStringLiteral("cp1251"));
            url.setQuery(q);
            QNetworkReply* reply = network.get(QNetworkRequest(url));
            QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
        });
        ticker->start(every);
    }
    QTimer::singleShot(int(args[2].toDouble() * 1000), &app, &QCoreApplication::quit);
    const int rc = app.exec();
    player->ShutdownAudio();
    if (titles > 0)
        std::fprintf(stderr, "titles sent %d, status changes %d, last: %s\n", titles, changes,
                     qPrintable(shown.simplified()));
    return rc;
}
