#include "tv/ChannelMatcher.h"

#include "tv/ChannelAliases.h"
#include "tv/ChannelKey.h"

#include <algorithm>

namespace {

const QString Home = QStringLiteral("ru");

bool sameCountry(const QString& channel, const QString& entry) {
    if (channel.isEmpty())
        return true;
    if (entry.isEmpty())
        return channel == Home;
    return channel == entry;
}

} // namespace

QString EntryCountry(const PlaylistEntry& e) {
    const QString fromId = TvgIdCountry(e.tvgId);
    return fromId.isEmpty() ? e.country.toLower() : fromId;
}

std::vector<ChannelMatch> ChannelMatcher::match(const std::vector<CatalogChannel>& catalog,
                                                const std::vector<PlaylistEntry>& playlist,
                                                const QHash<QString, QString>& manual) {
    return match(catalog, playlist, manual, ChannelAliases::builtIn());
}

std::vector<ChannelMatch> ChannelMatcher::match(const QStringList& catalogNames,
                                                const std::vector<PlaylistEntry>& playlist,
                                                const QHash<QString, QString>& manual) {
    std::vector<CatalogChannel> catalog;
    catalog.reserve(size_t(catalogNames.size()));
    for (const QString& n : catalogNames)
        catalog.push_back({n, {}});
    return match(catalog, playlist, manual);
}

std::vector<ChannelMatch> ChannelMatcher::match(const std::vector<CatalogChannel>& catalog,
                                                const std::vector<PlaylistEntry>& playlist,
                                                const QHash<QString, QString>& manual,
                                                const ChannelAliases& aliases) {
    // Every key of every entry -> the entries that give it, in playlist order.
    QHash<QString, std::vector<int>> byKey;
    QHash<QString, int> exact;
    std::vector<QString> countries(playlist.size());
    byKey.reserve(qsizetype(playlist.size()) * 2);
    for (int i = 0; i < int(playlist.size()); ++i) {
        const PlaylistEntry& e = playlist[size_t(i)];
        countries[size_t(i)] = EntryCountry(e);
        QStringList keys = ChannelMatchKeys(e.name);
        if (!e.tvgName.isEmpty())
            keys += ChannelMatchKeys(e.tvgName);
        // A guide id is shared by a channel's time-shifted feeds: only the others go by it.
        if (!e.tvgId.isEmpty() && !IsTimeShiftFeed(TvgIdFeed(e.tvgId)) && !IsTimeShiftName(e.name))
            keys += TvgIdKeys(e.tvgId);
        keys.removeDuplicates();
        for (const QString& k : keys)
            byKey[k].push_back(i);
    }
    // The first entry of a name is the one a pick by name means.
    for (int i = 0; i < int(playlist.size()); ++i)
        if (!exact.contains(playlist[size_t(i)].name))
            exact.insert(playlist[size_t(i)].name, i);

    std::vector<ChannelMatch> out;
    out.reserve(catalog.size());
    for (const CatalogChannel& c : catalog) {
        ChannelMatch m;
        m.catalogName = c.name;
        if (const auto chosen = manual.constFind(c.name); chosen != manual.cend()) {
            m.manual = true;
            m.entry = chosen->isEmpty() ? -1 : exact.value(*chosen, -1);
            if (m.entry >= 0)
                m.alternates = mirrorsOf(playlist, m.entry);
        } else {
            std::vector<int> found;
            for (const QString& k : aliases.keysFor(c.country, c.name))
                for (int i : byKey.value(k))
                    if (sameCountry(c.country, countries[size_t(i)]))
                        found.push_back(i);
            std::sort(found.begin(), found.end());
            found.erase(std::unique(found.begin(), found.end()), found.end());
            // An entry of the channel's own country goes before one of unknown country.
            std::stable_partition(found.begin(), found.end(),
                                  [&](int i) { return !countries[size_t(i)].isEmpty(); });
            if (!found.empty()) {
                m.entry = found.front();
                m.alternates.assign(found.begin() + 1, found.end());
            }
        }
        out.push_back(std::move(m));
    }
    return out;
}

std::vector<int> ChannelMatcher::mirrorsOf(const std::vector<PlaylistEntry>& playlist, int entry) {
    std::vector<int> out;
    if (entry < 0 || entry >= int(playlist.size()))
        return out;
    const PlaylistEntry& e = playlist[size_t(entry)];
    for (int i = 0; i < int(playlist.size()); ++i) {
        const PlaylistEntry& o = playlist[size_t(i)];
        if (i != entry && (o.name == e.name || (!e.tvgId.isEmpty() && o.tvgId == e.tvgId)))
            out.push_back(i);
    }
    return out;
}
