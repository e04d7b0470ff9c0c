#pragma once
#include "tv/M3uPlaylist.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// A catalog TV channel as the matcher sees it: its name and the country of the grid slots that
// show it (empty: any country).
struct CatalogChannel {
    QString name;
    QString country;
};

// One catalog channel and the playlist entries that play it.
struct ChannelMatch {
    QString catalogName;
    int entry = -1;      // index into the playlist, -1: none
    bool manual = false; // the user's own choice (a pick or a cleared match)
    // The channel's further entries (mirrors, other feeds), in playlist order, tried when `entry`
    // fails.
    std::vector<int> alternates;
};

class ChannelAliases;

// The country an entry belongs to: its guide id's country when the id names one, otherwise the
// country of the playlist it came from; empty when neither says.
QString EntryCountry(const PlaylistEntry& e);

// Pairs catalog channels with playlist entries. The user's choices come first: a catalog name mapped
// to a playlist name takes that entry, one mapped to an empty name stays unmatched. Every other
// catalog channel takes every entry of its own country whose display name, tvg-name or guide id
// gives one of its keys (ChannelMatchKeys, with the names of its line in the alias table); time-
// shifted feeds are left out. An entry of unknown country serves a Russian channel or a channel
// of no country, never one of the foreign set: no match beats a guess.
class ChannelMatcher {
public:
    static std::vector<ChannelMatch> match(const std::vector<CatalogChannel>& catalog,
                                           const std::vector<PlaylistEntry>& playlist,
                                           const QHash<QString, QString>& manual);
    static std::vector<ChannelMatch> match(const std::vector<CatalogChannel>& catalog,
                                           const std::vector<PlaylistEntry>& playlist,
                                           const QHash<QString, QString>& manual,
                                           const ChannelAliases& aliases);
    // Catalog names without countries: matched with entries of any country.
    static std::vector<ChannelMatch> match(const QStringList& catalogNames,
                                           const std::vector<PlaylistEntry>& playlist,
                                           const QHash<QString, QString>& manual);
    // The entries that stand in for `entry` when it fails: the others with its name or its guide id.
    static std::vector<int> mirrorsOf(const std::vector<PlaylistEntry>& playlist, int entry);
};
