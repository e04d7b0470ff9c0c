// How long a settings write holds up the thread that makes it, on a normal Setting.ini and on a
// 50 MB one, measured two ways: the time of the WriteString call itself, and the round trip of a
// call queued to that thread from another one while it writes (what a window would feel).
// Also the time until the last write is on disk, where the store can say so.
//
// Usage: bench_settings_writes [--writes N] [--every MS]
// Built against an older tree, the same source gives the baseline (bench/settings/writes.sh).
#include "common/LargeSettingIni.h"
#include "common/UiRoundTrip.h"
#include "settings/SettingsFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/time.h>

namespace {

double ms(qint64 ns) {
    return double(ns) / 1e6;
}

double percentile(std::vector<qint64> v, double p) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return ms(v[std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5))]);
}

// Whether every write so far is on disk, for a store that writes in the background; the older
// one wrote during each call.
template <class File> bool onDisk(File& file) {
    if constexpr (requires { file.flush(0); })
        return file.flush(0);
    else
        return true;
}

void runCase(const char* name, qint64 size, int writes, int everyMs) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Setting.ini"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(LargeSettingIni(size)) < 0)
            qFatal("cannot write %s", qPrintable(path));
    }
    // An old file, as at a real start: not one written a moment ago.
    const timeval old[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ::utimes(QFile::encodeName(path).constData(), old);

    QElapsedTimer clock;
    clock.start();
    SettingsFile file(path);
    const QString first = file.ReadString(QStringLiteral("OnTop"), QStringLiteral("useOnTop"), {});
    const qint64 firstRead = clock.nsecsElapsed();

    std::vector<qint64> calls;
    int done = 0;
    qint64 lastWrite = 0;
    qint64 durableAt = -1;
    QTimer watch;
    watch.setInterval(2);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (clock.nsecsElapsed() - lastWrite > 120'000'000'000LL || onDisk(file)) {
            durableAt = onDisk(file) ? clock.nsecsElapsed() : -1;
            watch.stop();
            QTimer::singleShot(2 * everyMs, qApp, &QCoreApplication::quit);
        }
    });
    QTimer tick;
    tick.setInterval(everyMs);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        QElapsedTimer t;
        t.start();
        file.WriteString(QStringLiteral("OnTop"), QStringLiteral("useOnTop"), QString::number(done % 2));
        calls.push_back(t.nsecsElapsed());
        if (++done == writes) {
            tick.stop();
            lastWrite = clock.nsecsElapsed();
            // Until the last write is on disk, so that a write running in the background is felt
            // too.
            watch.start();
        }
    });
    QObject target;
    UiRoundTrip probe(&target);
    tick.start();
    QCoreApplication::exec();
    probe.finish();
    const QString durable =
        durableAt < 0
            ? QStringLiteral("not written within 2 min")
            : QStringLiteral("%1 ms after the last write call").arg(ms(durableAt - lastWrite), 0, 'f', 0);
    std::printf("%-6s first read %6.0f ms | write call: median %7.2f ms, max %7.2f ms | UI round trip: "
                "max %6lld ms (%zu probes) | on disk: %s\n",
                name, ms(firstRead), percentile(calls, 0.5), percentile(calls, 1.0),
                static_cast<long long>(probe.maxMs()), probe.count(), qPrintable(durable));
    std::fflush(stdout);
    (void)first;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int writes = 20;
    int everyMs = 100;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--writes"))
            writes = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--every"))
            everyMs = args[i + 1].toInt();
    }
    runCase("normal", 0, writes, everyMs);
    runCase("50 MB", 50LL << 20, writes, everyMs);
    return 0;
}
