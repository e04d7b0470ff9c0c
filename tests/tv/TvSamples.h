#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QTest>

#include <zlib.h>

namespace TvSamples {

// gzip-compressed bytes, as a server or a .xml.gz file carries them.
inline QByteArray gzip(const QByteArray& plain) {
    z_stream z{};
    deflateInit2(&z, 6, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&z, uLong(plain.size()))), Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    z.avail_in = uInt(plain.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}

// The playlist as public Russian playlists write one, its addresses under `base`.
inline QByteArray ruPlaylist(const QString& base) {
    QFile f(qEnvironmentVariable("ZELMO_TEST_SOURCE_DIR") + QStringLiteral("/tests/tv/data/ru_playlist.m3u"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("ru_playlist.m3u is missing");
    return f.readAll().replace("@BASE@", base.toUtf8());
}

inline QString xmltvTime(qint64 ms) {
    // Moscow time, as Russian guides write it.
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, 3 * 3600)
               .toString(QStringLiteral("yyyyMMddHHmmss")) +
           QStringLiteral(" +0300");
}

// A guide with hourly programmes from a day before `nowMs` to two days after, titled
// "<id> <n>" where n counts hours from the first one; "now" is the programme at n == 24.
inline QByteArray guide(qint64 nowMs, const QStringList& ids, const QStringList& names) {
    const qint64 hour = 3600 * 1000;
    const qint64 first = nowMs - nowMs % hour - 24 * hour;
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE tv SYSTEM \"xmltv.dtd\">\n"
                     "<tv generator-info-name=\"test\">\n";
    for (qsizetype i = 0; i < ids.size(); ++i)
        xml += QStringLiteral("<channel id=\"%1\"><display-name lang=\"ru\">%2</display-name>"
                              "<icon src=\"http://x/%1.png\"/></channel>\n")
                   .arg(ids[i], names.value(i).toHtmlEscaped())
                   .toUtf8();
    for (const QString& id : ids)
        for (int n = 0; n < 72; ++n)
            xml +=
                QStringLiteral("<programme start=\"%1\" stop=\"%2\" channel=\"%3\"><title lang=\"ru\">%3 %4"
                               "</title><desc lang=\"ru\">О передаче %4 &amp; прочем</desc></programme>\n")
                    .arg(xmltvTime(first + n * hour), xmltvTime(first + (n + 1) * hour), id)
                    .arg(n)
                    .toUtf8();
    return xml + "</tv>\n";
}

} // namespace TvSamples
