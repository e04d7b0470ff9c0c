#include "tv/IptvLibrary.h"

#include "navigation/CatalogSlots.h"
#include "navigation/ChannelCatalog.h"

#include <QSet>

QStringList CatalogTvNames() {
    QStringList names;
    QSet<QString> seen;
    for (const ChannelEntry& e : MainCatalog()) {
        if (e.isRadio() || e.target != Target::MainView || !e.hasLocalPage() || seen.contains(e.Name))
            continue;
        seen.insert(e.Name);
        names << e.Name;
    }
    return names;
}

std::vector<CatalogChannel> CatalogTvChannels() {
    QHash<QString, QString> country;
    for (const TvSlot& s : CatalogTvSlots())
        if (!country.contains(s.caption))
            country.insert(s.caption, s.country);
    std::vector<CatalogChannel> out;
    for (const QString& name : CatalogTvNames())
        out.push_back({name, country.value(name)});
    return out;
}

IptvLibrary::IptvLibrary(std::vector<CatalogChannel> catalog) : catalog_(std::move(catalog)) {
    for (const CatalogChannel& c : catalog_)
        catalogNames_ << c.name;
}

IptvLibrary::IptvLibrary(const QStringList& catalogNames) : catalogNames_(catalogNames) {
    for (const QString& n : catalogNames)
        catalog_.push_back({n, {}});
}

std::optional<ImportedStream> IptvLibrary::streamFor(const QString& name) const {
    if (const auto m = byCatalog_.constFind(name); m != byCatalog_.cend()) {
        const ChannelMatch& match = matches_[size_t(*m)];
        if (match.entry < 0 || match.entry >= int(playlist_.size()))
            return std::nullopt;
        return streamOf(match.entry, match.alternates);
    }
    const int entry = byName_.value(name, -1);
    if (entry < 0)
        return std::nullopt;
    return streamOf(entry, ChannelMatcher::mirrorsOf(playlist_, entry));
}

ImportedStream IptvLibrary::streamOf(int entry, const std::vector<int>& alternates) const {
    const PlaylistEntry& e = playlist_[size_t(entry)];
    ImportedStream s{e.url, e.tvgId, e.name, e.headers, {}, {}};
    // Only a network picture: a playlist's logo is shown by desktop shells.
    if (const QUrl logo(e.logo); logo.isValid() && (logo.scheme() == u"http" || logo.scheme() == u"https"))
        s.logo = logo;
    for (int a : alternates)
        if (a >= 0 && a < int(playlist_.size()) && a != entry)
            s.alternates.push_back({playlist_[size_t(a)].url, playlist_[size_t(a)].headers});
    return s;
}

const PlaylistEntry* IptvLibrary::entryFor(const QString& name) const {
    int entry = -1;
    if (const auto m = byCatalog_.constFind(name); m != byCatalog_.cend())
        entry = matches_[size_t(*m)].entry;
    else
        entry = byName_.value(name, -1);
    return entry >= 0 && entry < int(playlist_.size()) ? &playlist_[size_t(entry)] : nullptr;
}

const std::vector<Programme>* IptvLibrary::programmesFor(const QString& name) const {
    const PlaylistEntry* e = entryFor(name);
    if (!guide_ || !e)
        return nullptr;
    return guide_->find(e->tvgId, {e->tvgName, e->name, name});
}

void IptvLibrary::setPlaylist(std::vector<PlaylistEntry> playlist, std::vector<ChannelMatch> matches) {
    playlist_ = std::move(playlist);
    matches_ = std::move(matches);
    index();
}

int IptvLibrary::choose(const QString& catalogName, const QString& playlistName) {
    const auto m = byCatalog_.constFind(catalogName);
    if (m == byCatalog_.cend())
        return -1;
    ChannelMatch& match = matches_[size_t(*m)];
    match.manual = true;
    match.entry = playlistName.isEmpty() ? -1 : byName_.value(playlistName, -1);
    match.alternates = ChannelMatcher::mirrorsOf(playlist_, match.entry);
    return *m;
}

void IptvLibrary::clear() {
    playlist_.clear();
    matches_.clear();
    guide_.reset();
    index();
}

int IptvLibrary::matchedCount() const {
    int n = 0;
    for (const ChannelMatch& m : matches_)
        n += m.entry >= 0 ? 1 : 0;
    return n;
}

void IptvLibrary::index() {
    byCatalog_.clear();
    byName_.clear();
    for (int i = 0; i < int(matches_.size()); ++i)
        byCatalog_.insert(matches_[size_t(i)].catalogName, i);
    for (int i = 0; i < int(playlist_.size()); ++i)
        if (!byName_.contains(playlist_[size_t(i)].name)) // a name means its first entry
            byName_.insert(playlist_[size_t(i)].name, i);
}
