// Figures for the IPTV import:
//   bench_iptv playlist N         parse + match an N-entry playlist against the catalog (median of 9)
//   bench_iptv make-guide DIR MB  writes DIR/guide.xml (about MB megabytes) and DIR/guide.xml.gz
//   bench_iptv guide FILE         reads FILE off the main thread; prints time and peak memory above idle
#include "BenchPlaylist.h"
#include "tv/ChannelMatcher.h"
#include "tv/IptvLibrary.h"
#include "tv/M3uPlaylist.h"
#include "tv/XmltvReader.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <zlib.h>

namespace {

int runPlaylist(int n) {
    const QStringList catalog = CatalogTvNames();
    const std::vector<CatalogChannel> channels = CatalogTvChannels(); // with their countries, as the program
    const QByteArray text = BenchPlaylist::text(n, catalog);
    std::vector<double> ms, parseMs;
    int matched = 0;
    size_t entries = 0;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer t;
        t.start();
        const ParsedPlaylist p = M3uPlaylist::parse(text, QUrl("http://127.0.0.1/list.m3u"));
        parseMs.push_back(double(t.nsecsElapsed()) / 1e6);
        const auto m = ChannelMatcher::match(channels, p.entries, {});
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
        entries = p.entries.size();
        matched = int(std::count_if(m.begin(), m.end(), [](const ChannelMatch& c) { return c.entry >= 0; }));
    }
    std::sort(ms.begin(), ms.end());
    std::sort(parseMs.begin(), parseMs.end());
    std::printf(
        "playlist: %zu entries (%.1f MB), %d of %d catalog channels matched, parse+match median %.1f ms "
        "(min %.1f, max %.1f; parse alone %.1f)\n",
        entries, text.size() / 1048576.0, matched, int(catalog.size()), ms[4], ms.front(), ms.back(),
        parseMs[4]);
    return 0;
}

QString stamp(qint64 ms) {
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, 3 * 3600).toString("yyyyMMddHHmmss") +
           " +0300";
}

int makeGuide(const QString& dir, int megabytes) {
    QFile plain(dir + "/guide.xml");
    if (!plain.open(QIODevice::WriteOnly))
        return 1;
    gzFile gz = gzopen(QFile::encodeName(dir + "/guide.xml.gz").constData(), "wb6");
    const auto put = [&](const QByteArray& b) {
        plain.write(b);
        gzwrite(gz, b.constData(), unsigned(b.size()));
    };
    put("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tv generator-info-name=\"bench\">\n");
    const int channels = 600;
    for (int c = 0; c < channels; ++c)
        put(QStringLiteral("<channel id=\"ch%1\"><display-name lang=\"ru\">Канал %1</display-name>"
                           "<icon src=\"http://logo.example/%1.png\"/></channel>\n")
                .arg(c)
                .toUtf8());
    QRandomGenerator rng(42);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const qint64 begin = now - now % 3600000 - 2 * 86400000LL;
    const qint64 target = qint64(megabytes) * 1024 * 1024;
    int count = 0;
    // Channel after channel, a week each, until the size is reached.
    for (int c = 0; plain.pos() < target; c = (c + 1) % channels) {
        for (qint64 t = begin; t < begin + 7 * 86400000LL && plain.pos() < target;) {
            const qint64 len = (20 + rng.bounded(100)) * 60000LL;
            QString title, desc;
            for (int w = 0; w < 3; ++w)
                title += QString::fromUtf8(BenchPlaylist::Words[rng.bounded(24)]) + u' ';
            for (int w = 0; w < 40; ++w)
                desc += QString::fromUtf8(BenchPlaylist::Words[rng.bounded(24)]) +
                        (w % 9 == 8 ? QStringLiteral(". ") : QStringLiteral(" "));
            put(QStringLiteral(
                    "<programme start=\"%1\" stop=\"%2\" channel=\"ch%3\"><title lang=\"ru\">%4%5</title>"
                    "<desc lang=\"ru\">%6</desc><category lang=\"ru\">%7</category></programme>\n")
                    .arg(stamp(t), stamp(t + len))
                    .arg(c)
                    .arg(title)
                    .arg(rng.bounded(1000))
                    .arg(desc, QString::fromUtf8(BenchPlaylist::Words[rng.bounded(24)]))
                    .toUtf8());
            t += len;
            ++count;
        }
    }
    put("</tv>\n");
    gzclose(gz);
    std::printf("guide: %d programmes, %.1f MB plain, %.1f MB gzip\n", count, plain.size() / 1048576.0,
                QFile(dir + "/guide.xml.gz").size() / 1048576.0);
    return 0;
}

long statusKb(const char* field) {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLong();
    return -1;
}

int runGuide(const QString& path) {
    // The playlist the guide is read for: 300 of its 600 channels.
    GuideFilter filter;
    for (int c = 0; c < 600; c += 2)
        filter.ids.insert(QStringLiteral("ch%1").arg(c));
    const QDate today = QDate::currentDate();
    filter.from = QDateTime(today.addDays(-1), QTime(0, 0)).toMSecsSinceEpoch();
    filter.to = QDateTime(today.addDays(2), QTime(0, 0)).toMSecsSinceEpoch();

    QFile clear("/proc/self/clear_refs"); // resets the peak to the present size
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    clear.close();
    const long idle = statusKb("VmRSS:");
    QElapsedTimer t;
    t.start();
    ParsedGuide result;
    QThread* worker = QThread::create([&] { result = XmltvReader::readFile(path, filter); });
    worker->start();
    worker->wait();
    delete worker;
    const double ms = double(t.nsecsElapsed()) / 1e6;
    const long peak = statusKb("VmHWM:");
    std::printf(
        "guide %s: %s, %d channels, %lld programmes kept, %.0f ms, peak %.1f MB above idle (idle %.1f MB)\n",
        qPrintable(path.section('/', -1)), result.ok() ? "ok" : qPrintable(result.error),
        result.guide.channelCount(), qint64(result.guide.programmeCount()), ms, (peak - idle) / 1024.0,
        idle / 1024.0);
    return result.ok() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() >= 3 && a[1] == "playlist")
        return runPlaylist(a[2].toInt());
    if (a.size() >= 4 && a[1] == "make-guide")
        return makeGuide(a[2], a[3].toInt());
    if (a.size() >= 3 && a[1] == "guide")
        return runGuide(a[2]);
    std::fprintf(stderr, "usage: bench_iptv playlist N | make-guide DIR MB | guide FILE\n");
    return 2;
}
