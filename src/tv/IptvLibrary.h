#pragma once
#include "navigation/StreamLookup.h"
#include "tv/ChannelMatcher.h"
#include "tv/M3uPlaylist.h"
#include "tv/ProgrammeGuide.h"

#include <QHash>
#include <QStringList>

#include <memory>
#include <vector>

// The catalog's TV channels: the grid captions of the main list that open a page in the main view,
// each name once, in list order.
QStringList CatalogTvNames();
// The same channels with the country of the grid slots that show them (a caption names one channel
// of one country wherever it is shown); empty for those no category layout shows.
std::vector<CatalogChannel> CatalogTvChannels();

// The last good import: the playlist, its pairing with the catalog and the guide. Answers which
// stream a name plays: a catalog name by its match only, any other name by the playlist's own
// display name (favourites made from the import table).
class IptvLibrary : public StreamLookup {
public:
    explicit IptvLibrary(std::vector<CatalogChannel> catalog = CatalogTvChannels());
    // Catalog names without countries.
    explicit IptvLibrary(const QStringList& catalogNames);

    std::optional<ImportedStream> streamFor(const QString& name) const override;

    void setPlaylist(std::vector<PlaylistEntry> playlist, std::vector<ChannelMatch> matches);
    // The user's choice for one catalog channel: a playlist name, or empty for no stream. Returns
    // the index of the changed match, -1 for a name not in the catalog.
    int choose(const QString& catalogName, const QString& playlistName);
    void setGuide(std::shared_ptr<const ProgrammeGuide> guide) { guide_ = std::move(guide); }
    void clear();

    const QStringList& catalogNames() const { return catalogNames_; }
    const std::vector<CatalogChannel>& catalog() const { return catalog_; }
    const std::vector<PlaylistEntry>& playlist() const { return playlist_; }
    const std::vector<ChannelMatch>& matches() const { return matches_; }
    int matchedCount() const;
    // Index into matches() of a catalog name, into playlist() of a playlist display name; -1: none.
    int matchIndex(const QString& catalogName) const { return byCatalog_.value(catalogName, -1); }
    int entryIndex(const QString& playlistName) const { return byName_.value(playlistName, -1); }
    const ProgrammeGuide* guide() const { return guide_.get(); }
    // The entry a name plays (see streamFor), or null.
    const PlaylistEntry* entryFor(const QString& name) const;
    // The guide's programmes for a name shown in the program, or null.
    const std::vector<Programme>* programmesFor(const QString& name) const;

private:
    void index();
    ImportedStream streamOf(int entry, const std::vector<int>& alternates) const;

    std::vector<CatalogChannel> catalog_;
    QStringList catalogNames_;
    std::vector<PlaylistEntry> playlist_;
    std::vector<ChannelMatch> matches_;
    QHash<QString, int> byCatalog_; // catalog name -> index into matches_
    QHash<QString, int> byName_;    // playlist display name -> entry
    std::shared_ptr<const ProgrammeGuide> guide_;
};
