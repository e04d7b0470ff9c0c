#pragma once
#include "tv/M3uPlaylist.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// One catalog channel and the playlist entry that plays it.
struct ChannelMatch {
    QString catalogName;
    int entry = -1;      // index into the playlist, -1: none
    bool manual = false; // the user's own choice (a pick or a cleared match)
};

// Pairs catalog names with playlist entries. The user's choices come first: a catalog name mapped
// to a playlist name takes that entry, one mapped to an empty name stays unmatched. Every other
// catalog name takes the first entry whose tvg-name has the same key (ChannelNameKey), failing
// that the first whose display name has.
class ChannelMatcher {
public:
    static std::vector<ChannelMatch> match(const QStringList& catalogNames,
                                           const std::vector<PlaylistEntry>& playlist,
                                           const QHash<QString, QString>& manual);
};
