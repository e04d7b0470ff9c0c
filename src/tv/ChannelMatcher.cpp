#include "tv/ChannelMatcher.h"

#include "tv/ChannelName.h"

namespace {
void keepFirst(QHash<QString, int>& index, const QString& key, int entry) {
    if (!index.contains(key))
        index.insert(key, entry);
}
} // namespace

std::vector<ChannelMatch> ChannelMatcher::match(const QStringList& catalogNames,
                                                const std::vector<PlaylistEntry>& playlist,
                                                const QHash<QString, QString>& manual) {
    QHash<QString, int> byTvgName;
    QHash<QString, int> byName;
    QHash<QString, int> exact;
    byTvgName.reserve(qsizetype(playlist.size()));
    byName.reserve(qsizetype(playlist.size()));
    exact.reserve(qsizetype(playlist.size()));
    for (int i = 0; i < int(playlist.size()); ++i) {
        const PlaylistEntry& e = playlist[size_t(i)];
        exact.insert(e.name, i);
        const QString nameKey = ChannelNameKey(e.name);
        if (!e.tvgName.isEmpty())
            keepFirst(byTvgName, e.tvgName == e.name ? nameKey : ChannelNameKey(e.tvgName), i);
        keepFirst(byName, nameKey, i);
    }
    std::vector<ChannelMatch> out;
    out.reserve(size_t(catalogNames.size()));
    for (const QString& name : catalogNames) {
        ChannelMatch m{name};
        if (const auto chosen = manual.constFind(name); chosen != manual.cend()) {
            m.manual = true;
            m.entry = chosen->isEmpty() ? -1 : exact.value(*chosen, -1);
        } else {
            const QString key = ChannelNameKey(name);
            m.entry = byTvgName.value(key, byName.value(key, -1));
        }
        out.push_back(std::move(m));
    }
    return out;
}
