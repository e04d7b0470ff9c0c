#pragma once
#include "navigation/StreamLookup.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <vector>

// One channel of an extended M3U playlist.
struct PlaylistEntry {
    QString name;        // the display name after the comma of #EXTINF
    QString tvgId;       // tvg-id: the guide's channel id
    QString tvgName;     // tvg-name: the name the guide knows the channel by
    QString logo;        // tvg-logo
    QString group;       // group-title
    QUrl url;            // absolute http(s) address
    HttpHeaders headers; // what the entry asks to be sent (#EXTVLCOPT, user-agent=, URL|headers, #KODIPROP)
    // ISO 3166 code, lower case, of the playlist the entry came from (a per-country source); empty
    // when unknown. A country suffix in tvg-id ("Rossiya1.ru@SD") says more and wins over it.
    QString country;
};

struct ParsedPlaylist {
    std::vector<PlaylistEntry> entries;
    QString error;        // why nothing was imported; empty on success
    int skippedLines = 0; // #EXTINF without an address, or an address without #EXTINF
    int duplicates = 0;   // later entries with a name already seen: kept, as the channel's mirrors
    int refused = 0;      // addresses that are not http(s): local files and other schemes
    // The guide the header names (#EXTM3U url-tvg="…" or x-tvg-url="…"): the first http(s) address
    // of its list; empty when it names none.
    QUrl guideUrl;
    bool ok() const { return error.isEmpty(); }
};

// Reads an extended M3U playlist. Relative addresses are resolved against `source` (where the
// playlist came from); only http and https streams are accepted. The text is UTF-8, with or
// without a byte-order mark, or, when it is not valid UTF-8 and has no mark, Windows-1251; any line
// ends. Every entry is kept, in order, with the request headers it asks for: #EXTVLCOPT
// http-user-agent / http-referrer, EXTINF user-agent="…" / http-referrer="…", "address|User-Agent=…
// &Referer=…" and #KODIPROP inputstream.adaptive.stream_headers / manifest_headers.
class M3uPlaylist {
public:
    // Larger inputs are refused unread: real playlists of tens of thousands of channels stay far below.
    static constexpr qsizetype MaxBytes = 8 * 1024 * 1024;

    static ParsedPlaylist parse(const QByteArray& bytes, const QUrl& source);
};
