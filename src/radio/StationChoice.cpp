#include "radio/StationChoice.h"

#include <QUrl>

#include <algorithm>

namespace {
// Directory names compared as a listener reads them: case, "ё", punctuation and spacing aside.
QString normalized(const QString& name) {
    QString s = name.toLower();
    s.replace(QChar(u'ё'), QChar(u'е'));
    for (QChar& c : s)
        if (!c.isLetterOrNumber())
            c = QLatin1Char(' ');
    return s.simplified();
}

bool hasEveryWord(const QString& name, const QString& search) {
    const QStringList words = normalized(name).split(QLatin1Char(' '));
    const QStringList wanted = normalized(search).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return !wanted.isEmpty() && std::all_of(wanted.begin(), wanted.end(),
                                            [&words](const QString& w) { return words.contains(w); });
}

bool isWebAddress(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}
} // namespace

bool PlayableCodec(const QString& codec) {
    // mpg123, faad, vorbis, opus, flac and libav's WMA decoder.
    static const QStringList known{"MP3", "AAC", "AAC+", "OGG", "OPUS", "FLAC", "WMA"};
    return known.contains(codec.trimmed().toUpper());
}

std::optional<DirectoryStation> PickStation(const QList<DirectoryStation>& found, const StationAlias& alias,
                                            const QStringList& refused) {
    QStringList names;
    for (const QString& n : alias.names)
        names << normalized(n);
    const DirectoryStation* best = nullptr;
    int bestTier = 2;
    for (const DirectoryStation& s : found) {
        if (!s.lastCheckOk || !PlayableCodec(s.codec) || !isWebAddress(s.url) || refused.contains(s.url))
            continue;
        // An entry the directory names as the station wins over one that only carries its words.
        const int tier = names.contains(normalized(s.name)) ? 0 : hasEveryWord(s.name, alias.search) ? 1 : 2;
        if (tier == 2)
            continue;
        const bool better = !best || tier < bestTier ||
                            (tier == bestTier && (s.votes > best->votes ||
                                                  (s.votes == best->votes && s.bitrate > best->bitrate)));
        if (better) {
            best = &s;
            bestTier = tier;
        }
    }
    if (!best)
        return std::nullopt;
    return *best;
}
