#pragma once
#include <QString>
#include <QUrl>

#include <span>

// The public per-country free-TV playlists the program starts from when the user has no playlist
// of their own: one per country the catalog's channels come from.
namespace PublicPlaylists {

struct Country {
    const char* code; // ISO 3166, lower case: the playlist's file name and the entries' country
    const char* key;  // the country's name in the language packs ([TvSources] country_<code>)
};

// Russia (the main set's layouts), Ukraine, Belarus and Kazakhstan first, then the other countries
// the foreign set's headings name.
std::span<const Country> Countries();

// Where the playlists are published; [IPTV] publicBase= names a mirror instead.
inline const QString DefaultBase = QStringLiteral("https://iptv-org.github.io/iptv/countries/");

// <base>/<code>.m3u; a base without a trailing slash gets one.
QUrl Url(const QString& base, const QString& code);

} // namespace PublicPlaylists
