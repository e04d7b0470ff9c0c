// The station directory client against a hostile directory that answers every search with a
// 200 MB station list: how long the UI thread stalls (the longest round trip of a posted event),
// the process's peak memory and what the client ends with. Run by bench/directory/run.sh.
#include "radio/StationDirectory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {
long peakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_directory_hostile http://127.0.0.1:PORT\n");
        return 2;
    }
    StationDirectory directory(QString::fromLocal8Bit(argv[1]));
    // The UI thread's responsiveness: another thread posts an event to it every 10 ms; the longest
    // time from posting to running is the longest stall (a round trip through the event queue).
    std::atomic<bool> stop{false};
    std::atomic<qint64> worstMs{0};
    QElapsedTimer clock;
    clock.start();
    std::thread pinger([&] {
        while (!stop) {
            const qint64 posted = clock.elapsed();
            QMetaObject::invokeMethod(
                &app,
                [&, posted] {
                    const qint64 late = clock.elapsed() - posted;
                    if (late > worstMs)
                        worstMs = late;
                },
                Qt::QueuedConnection);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    QElapsedTimer total;
    QString outcome;
    QObject::connect(&directory, &StationDirectory::finished, &app, [&](const QList<DirectoryStation>& s) {
        outcome = QStringLiteral("finished with %1 stations").arg(s.size());
        QTimer::singleShot(200, &app, &QCoreApplication::quit);
    });
    QObject::connect(&directory, &StationDirectory::failed, &app, [&](const QString& reason) {
        outcome = QStringLiteral("failed: ") + reason;
        QTimer::singleShot(200, &app, &QCoreApplication::quit);
    });
    QTimer::singleShot(180000, &app, [&] {
        outcome = QStringLiteral("no outcome within 180 s");
        app.quit();
    });
    total.start();
    DirectoryQuery query;
    query.name = QStringLiteral("station");
    query.limit = 25;
    directory.search(query);
    app.exec();
    stop = true;
    pinger.join();
    QCoreApplication::processEvents();
    std::printf("outcome: %s\nelapsed: %lld ms\nworst UI round trip: %lld ms\npeak memory: %ld MB\n",
                qPrintable(outcome), total.elapsed(), qint64(worstMs), peakRssMb());
    return 0;
}
