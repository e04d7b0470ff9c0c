#pragma once
#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>

#include <deque>

class HttpClient;

// Channel logos for the IPTV tab, fetched only when a row asks for one, one at a time, each bounded
// in size and time, scaled down and kept on disk (<cache>/logos) and in memory (bounded).
class LogoCache : public QObject {
    Q_OBJECT
public:
    static constexpr int Height = 16;
    static constexpr qint64 MaxBytes = 512 * 1024;
    static constexpr int DeadlineMs = 15000;
    static constexpr int MaxQueued = 64; // older requests give way: the rows on screen come last
    static constexpr int MaxInMemory = 2000;

    LogoCache(HttpClient& http, QString cacheDir, QObject* parent = nullptr);
    ~LogoCache() override;

    // The logo if it is at hand; otherwise a null image, and the logo is fetched (logoReady follows).
    QImage logo(const QUrl& url);

signals:
    void logoReady(const QUrl& url);

private:
    void next();
    QString diskPath(const QUrl& url) const;

    HttpClient& http_;
    QString dir_;
    QHash<QUrl, QImage> images_;
    QSet<QUrl> failed_;
    std::deque<QUrl> queue_;
    QUrl current_;
    bool running_ = false;
    int transfer_ = 0;
};
