#pragma once
#include <QString>

#include <vector>

class SettingsFile;

// One playlist the channel library is merged from.
struct PlaylistSource {
    enum class Kind { Public, Own };
    Kind kind = Kind::Own;
    QString id;       // a public source's country code; "own1", "own2" ... for the user's own
    QString location; // a path or an http(s) address
    QString country;  // the entries' country (a public source's code); empty for the user's own
    bool enabled = true;
    QString cacheName; // the file the last good copy is kept in, inside the cache folder
    bool isPublic() const { return kind == Kind::Public; }
};

// Which playlists the library is made of, as Setting.ini keeps them:
//   [IPTV] playlist=     the user's first own playlist (as before);
//   [IPTVPlaylists] 1= 2= ...  the user's further playlists;
//   [IPTV] publicBase=   where the public per-country playlists are fetched from (a mirror);
//   [IPTVPublic] <code>=1|0   a public playlist switched on or off. Without that key, the public
//                             playlists are on while [IPTV] playlist= is empty, as a program with no
//                             playlist of its own has nothing else to play.
class IptvSources {
public:
    static constexpr int MaxOwn = 16; // the first one and up to 15 further ones

    explicit IptvSources(SettingsFile& settings) : settings_(settings) {}

    // Every public source (switched on or not), then the user's own, in order.
    std::vector<PlaylistSource> all() const;
    QString publicBase() const;
    QString firstOwn() const;
    // The further own playlists ([IPTVPlaylists]), in order.
    QStringList furtherOwn() const;

    // These write Setting.ini at once and throw SettingsWriteError when they cannot.
    void setPublicEnabled(const QString& code, bool on);
    void addOwn(const QString& location); // false when full or already there
    void removeFurtherOwn(int index);     // index into furtherOwn()

    static QString OwnCacheName(int ownNumber, const QString& location);

private:
    SettingsFile& settings_;
};
