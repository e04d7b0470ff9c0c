#include "MatchCommand.h"

#include "navigation/CatalogSlots.h"
#include "platform/QtHttpClient.h"
#include "tv/ChannelMatcher.h"
#include "tv/IptvLibrary.h"
#include "tv/M3uPlaylist.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>

#include <cstdio>

namespace {

// A download that takes longer than this in all is given up, however slowly its bytes come.
constexpr int kFetchBoundMs = 60000;

void fail(const QString& text) {
    std::fprintf(stderr, "channel-catalog: %s\n", text.toLocal8Bit().constData());
}

bool isUrl(const QString& source) {
    return source.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           source.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

std::optional<QByteArray> fetch(const QUrl& url, QString& error) {
    QtHttpClient http(QtHttpClient::DefaultIdleTimeoutMs);
    QEventLoop loop;
    std::optional<HttpResult> result;
    HttpBody body;
    body.maxBytes = M3uPlaylist::MaxBytes;
    http.get(
        url, {},
        [&](const HttpResult& r) {
            result = r;
            loop.quit();
        },
        body);
    QTimer::singleShot(kFetchBoundMs, &loop, [&] { http.abort(); });
    if (!result)
        loop.exec();
    if (!result || !result->completed) {
        error = result && !result->error.isEmpty() ? result->error : QStringLiteral("no answer");
        return std::nullopt;
    }
    return result->body;
}

std::optional<QByteArray> readFile(const QString& path, QString& error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        error = f.errorString();
        return std::nullopt;
    }
    if (f.size() > M3uPlaylist::MaxBytes) {
        error = QStringLiteral("larger than %1 MB").arg(M3uPlaylist::MaxBytes >> 20);
        return std::nullopt;
    }
    return f.readAll();
}

// "ru" of ru.m3u or …/countries/ru.m3u: a per-country playlist says its country in its name.
QString countryOfName(const QString& path) {
    static const QRegularExpression code(QStringLiteral("^[a-z]{2}$"));
    const QString base = QFileInfo(QUrl(path).path()).completeBaseName().toLower();
    return code.match(base).hasMatch() ? base : QString();
}

QString orDash(const QString& s) {
    return s.isEmpty() ? QStringLiteral("-") : s;
}

} // namespace

int MatchCommand(const QStringList& sources) {
    std::vector<PlaylistEntry> entries;
    for (const QString& source : sources) {
        QString error;
        const bool remote = isUrl(source);
        const QUrl base = remote ? QUrl(source) : QUrl::fromLocalFile(QFileInfo(source).absoluteFilePath());
        const auto bytes = remote ? fetch(base, error) : readFile(source, error);
        if (!bytes) {
            fail(QStringLiteral("%1: %2").arg(source, error));
            return 1;
        }
        ParsedPlaylist p = M3uPlaylist::parse(*bytes, base);
        if (!p.ok()) {
            fail(QStringLiteral("%1: %2").arg(source, p.error));
            return 1;
        }
        const QString country = countryOfName(source);
        for (PlaylistEntry& e : p.entries) {
            if (e.country.isEmpty())
                e.country = country;
            entries.push_back(std::move(e));
        }
    }
    IptvLibrary library;
    library.setPlaylist(entries, ChannelMatcher::match(library.catalog(), entries, {}));

    QString out;
    for (const TvSlot& s : CatalogTvSlots()) {
        const PlaylistEntry* e = library.entryFor(s.caption);
        out += QStringList{LayoutKey(s.layout),
                           QString::number(s.slot),
                           s.caption,
                           s.country,
                           e ? orDash(e->tvgId) : QStringLiteral("-"),
                           e ? e->name : QStringLiteral("-"),
                           e ? e->url.toString() : QStringLiteral("-")}
                   .join(u'\t');
        out += u'\n';
    }
    const QByteArray bytes = out.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
