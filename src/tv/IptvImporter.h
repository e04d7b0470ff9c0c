#pragma once
#include "platform/LangLookup.h"
#include "tv/IptvLibrary.h"
#include "tv/IptvSources.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

class HttpClient;
class QThread;
class SettingsFile;

// Brings in the channel library and the guide: the public per-country playlists and the user's own
// (see IptvSources), each from a file or an http(s) address, through the HTTP seam (bounded in
// size and time, never blocking), parsed off the UI thread and merged into one library. Each
// playlist's last good copy is kept in the cache folder beside Setting.ini: a playlist that cannot
// be fetched keeps it, and says so. Public playlists are fetched again at most once a day.
// The guide lives in [IPTV] guide=, the user's own matches in [IPTVMatch] (catalog name =
// playlist name; an empty value: no stream for that channel).
class IptvImporter : public QObject {
    Q_OBJECT
public:
    struct Sources {
        QString playlist;
        QString guide;
    };
    // One playlist as the IPTV tab shows it.
    struct SourceState {
        PlaylistSource source;
        QString state;       // what became of it, in the program's language
        bool failed = false; // the last fetch failed (a kept copy may still be in use)
    };
    static constexpr qint64 MaxGuideDownload = 64LL * 1024 * 1024;
    static constexpr int DefaultPlaylistDeadlineMs = 60000;
    static constexpr int DefaultGuideDeadlineMs = 10 * 60000;
    static constexpr qint64 PublicRefreshMs = 24LL * 3600 * 1000;

    IptvImporter(SettingsFile& settings, HttpClient& http, QString cacheDir, QObject* parent = nullptr);
    ~IptvImporter() override;

    IptvLibrary& library() { return library_; }
    const IptvLibrary& library() const { return library_; }
    Sources storedSources() const;
    const QString& cacheDir() const { return cacheDir_; }
    IptvSources& sourceList() { return sources_; }
    std::vector<SourceState> sourceStates() const;
    // "Open playlist: Russia", "Own playlist: <address>", in the program's language.
    QString sourceTitle(const PlaylistSource& s) const;
    // Whether the library comes (also) from the public playlists.
    bool usesPublicPlaylists() const;

    // Whole-transfer bounds: a fetch that has not finished by then fails (a server trickling bytes
    // never trips the client's idle time-out).
    void setDeadlines(int playlistMs, int guideMs);
    void setLanguage(LangLookup lang) { lang_ = std::move(lang); }

    // At start-up: the cached copies at once (off the UI thread), then fresh ones: the user's own
    // playlists and the guide every start, the public playlists when their copy is a day old.
    void startUp();
    // Imports with this first own playlist and guide and, when the playlist is good, stores them.
    // An empty playlist leaves the public playlists (when switched on) and the further own ones.
    void import(const Sources& sources);
    // The tab's switches: each stores its choice and merges the library again.
    void setPublicEnabled(const QString& code, bool on);
    void addPlaylist(const QString& location);
    void removeFurtherPlaylist(int index);
    bool busy() const { return busy_; }
    QString status() const;

    // The user's pick for a catalog channel (empty: no stream), stored at once.
    void choose(const QString& catalogName, const QString& playlistName);

    // A generated programme page for a name shown in the program, written into the cache folder;
    // its path, or nothing when the guide does not know the channel for today.
    std::optional<QString> programmePage(const QString& name, qint64 nowMs);

signals:
    // A new library (or none): every match may have changed.
    void playlistChanged();
    // The user's choice changed one match, library().matches()[index].
    void matchChanged(int index);
    void statusChanged(const QString& text);
    // The list of sources or what became of one of them changed.
    void sourcesChanged();
    void finished();

private:
    struct Fetch {
        PlaylistSource source;
        QUrl base;             // what relative stream addresses are resolved against
        bool fresh = true;     // fetched (or read) now; otherwise its kept copy is used
        bool required = false; // the user's new playlist: when it fails, nothing changes
    };
    struct Job {
        std::vector<Fetch> playlists;
        QString guide;
        bool fromCache = false;    // start-up's first pass: kept copies only
        bool storeSources = false; // the user's import: store the first own playlist and the guide
        QString storedPlaylist;
    };
    struct Got {
        QByteArray bytes;
        QString path;  // read off the UI thread when there are no bytes
        QString error; // why the fresh copy did not come
    };
    void run(Job job);
    void gather(int generation, size_t index);
    void mergeAll(int generation);
    void playlistFailed(int generation, const QString& why);
    void startGuide(int generation);
    void guideDone(int generation, const QString& error, std::shared_ptr<const ProgrammeGuide> guide);
    void done(int generation);
    void fetch(const QUrl& url, qint64 cap, int deadlineMs, std::function<void(QByteArray, QString)> then);
    void runOffThread(std::function<std::function<void()>()> work);
    Job planned(bool fromCache, bool refreshAll) const;
    void remerge();
    QHash<QString, QString> storedChoices() const;
    void setPlaylistStatus(const QString& text);
    void setGuideStatus(const QString& text);
    void setSourceState(const QString& cacheName, const QString& text, bool failed);
    QString text(const char* key) const;
    QString guideCache() const;
    void storeQuietly(const std::function<void()>& write);

    SettingsFile& settings_;
    HttpClient& http_;
    QString cacheDir_;
    IptvSources sources_;
    IptvLibrary library_;
    LangLookup lang_;
    std::vector<QPointer<QThread>> threads_;
    std::atomic_bool cancel_{false};
    std::optional<Job> next_; // the fresh import that follows the cached one at start-up
    Job job_;                 // the import under way
    std::vector<Got> got_;
    int generation_ = 0;
    int transfer_ = 0;
    int playlistDeadlineMs_ = DefaultPlaylistDeadlineMs;
    int guideDeadlineMs_ = DefaultGuideDeadlineMs;
    bool busy_ = false;
    QString playlistStatus_;
    QString guideStatus_;
    struct State {
        QString text;
        bool failed = false;
    };
    QHash<QString, State> states_; // by cache name
    QStringList lastMerged_;       // the cache names of the sources the library was last merged from
    bool mergedOnce_ = false;
};
