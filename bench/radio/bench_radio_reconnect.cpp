// How fast a dropped station comes back: the loopback server is killed and started again on the
// same port, and the player's own reconnect brings the sound back. Prints, per run, the time from
// the server answering again to the first audio in the output, and from the drop to it.
// Usage: bench_radio_reconnect STREAM_SERVER_PY ROOT_DIR RUNS
#include "platform/GstAudioEngine.h"
#include "radio/RadioPlayer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
bool waitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

bool startServer(QProcess& p, const QString& script, const QString& root, int port) {
    p.start(QStringLiteral("/usr/bin/python3"), {script, root, QString::number(port)});
    return p.waitForStarted(5000) && waitFor(
                                         [&] {
                                             p.waitForReadyRead(1);
                                             return p.canReadLine() && p.readLine().startsWith("PORT");
                                         },
                                         10000);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: %s STREAM_SERVER_PY ROOT_DIR RUNS\n", argv[0]);
        return 2;
    }
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const int port = probe.serverPort();
    probe.close();
    const QByteArray url =
        QStringLiteral("http://127.0.0.1:%1/music.mp3?rate=16000&loop=1").arg(port).toUtf8();

    auto player = RadioPlayer::createDefault();
    player->StartAudio();
    std::vector<qint64> fromUp, fromDrop;
    for (int run = 0; run < args[3].toInt(); ++run) {
        QProcess server;
        if (!startServer(server, args[1], args[2], port))
            return 1;
        player->PlayStream(url);
        if (!waitFor([&] { return player->status().state == RadioStatus::State::Playing; }, 15000))
            return 1;
        QThread::msleep(1000);
        QElapsedTimer sinceDrop;
        sinceDrop.start();
        server.kill();
        server.waitForFinished(5000);
        if (!waitFor([&] { return player->status().state == RadioStatus::State::Reconnecting; }, 15000))
            return 1;
        QProcess again;
        if (!startServer(again, args[1], args[2], port))
            return 1;
        QElapsedTimer sinceUp;
        sinceUp.start();
        if (!waitFor([&] { return player->status().state == RadioStatus::State::Playing; }, 60000))
            return 1;
        fromUp.push_back(sinceUp.elapsed());
        fromDrop.push_back(sinceDrop.elapsed());
        std::printf("run %d: sound back %lld ms after the server answered again, %lld ms after the drop\n",
                    run + 1, static_cast<long long>(fromUp.back()), static_cast<long long>(fromDrop.back()));
        player->StopStream();
        again.kill();
        again.waitForFinished(5000);
    }
    std::sort(fromUp.begin(), fromUp.end());
    std::sort(fromDrop.begin(), fromDrop.end());
    std::printf("median: %lld ms after the server answered again (max %lld); %lld ms after the drop\n",
                static_cast<long long>(fromUp[fromUp.size() / 2]), static_cast<long long>(fromUp.back()),
                static_cast<long long>(fromDrop[fromDrop.size() / 2]));
    player->ShutdownAudio();
    return 0;
}
