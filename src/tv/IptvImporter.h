#pragma once
#include "tv/IptvLibrary.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

class HttpClient;
class QThread;
class SettingsFile;

// Brings in the user's playlist and guide: from a file or an http(s) address, through the HTTP seam
// (bounded, never blocking), parsed off the UI thread. A good result replaces the library and is
// cached beside Setting.ini; a bad one leaves a clear line in status() and keeps what was there.
// Sources live in [IPTV] playlist= / guide=, the user's own matches in [IPTVMatch]
// (catalog name = playlist name; an empty value: no stream for that channel).
class IptvImporter : public QObject {
    Q_OBJECT
public:
    struct Sources {
        QString playlist;
        QString guide;
    };
    static constexpr qint64 MaxGuideDownload = 64LL * 1024 * 1024;

    IptvImporter(SettingsFile& settings, HttpClient& http, QString cacheDir, QObject* parent = nullptr);
    ~IptvImporter() override;

    IptvLibrary& library() { return library_; }
    const IptvLibrary& library() const { return library_; }
    Sources storedSources() const;
    const QString& cacheDir() const { return cacheDir_; }

    // At start-up: the cached import at once (off the UI thread), then a fresh one from the stored
    // sources. Does nothing while no playlist source is stored.
    void startUp();
    // Imports from these sources and, when the playlist is good, stores them. An empty playlist
    // source turns the feature off.
    void import(const Sources& sources);
    bool busy() const { return busy_; }
    QString status() const;

    // The user's pick for a catalog channel (empty: no stream), stored at once.
    void choose(const QString& catalogName, const QString& playlistName);

    // A generated programme page for a name shown in the program, written into the cache folder;
    // its path, or nothing when the guide does not know the channel for today.
    std::optional<QString> programmePage(const QString& name, qint64 nowMs);

signals:
    // A new playlist (or none): every match may have changed.
    void playlistChanged();
    // The user's choice changed one match, library().matches()[index].
    void matchChanged(int index);
    void statusChanged(const QString& text);
    void finished();

private:
    struct Job {
        QString playlist; // a path or an http(s) URL
        QUrl base;        // what relative stream addresses are resolved against
        QString guide;
        bool fromCache = false;
    };
    void run(Job job);
    void playlistArrived(int generation, const Job& job, QByteArray bytes);
    void playlistFailed(int generation, const Job& job, const QString& why);
    void startGuide(int generation, const Job& job);
    void guideDone(int generation, const Job& job, const QString& error,
                   std::shared_ptr<const ProgrammeGuide> guide);
    void done(int generation);
    void fetch(const QUrl& url, qint64 cap, std::function<void(QByteArray, QString)> then);
    void runOffThread(std::function<std::function<void()>()> work);
    QHash<QString, QString> storedChoices() const;
    void setPlaylistStatus(const QString& text);
    void setGuideStatus(const QString& text);
    QString playlistCache() const;
    QString guideCache() const;

    SettingsFile& settings_;
    HttpClient& http_;
    QString cacheDir_;
    IptvLibrary library_;
    std::vector<QPointer<QThread>> threads_;
    std::atomic_bool cancel_{false};
    std::optional<Job> next_; // the fresh import that follows the cached one at start-up
    int generation_ = 0;
    bool busy_ = false;
    QString playlistStatus_;
    QString guideStatus_;
};
