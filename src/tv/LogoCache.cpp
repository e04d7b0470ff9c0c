#include "tv/LogoCache.h"

#include "platform/HttpClient.h"
#include "platform/LogCategories.h"
#include "platform/UserAgent.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <algorithm>

LogoCache::LogoCache(HttpClient& http, QString cacheDir, QObject* parent)
    : QObject(parent), http_(http), dir_(std::move(cacheDir)) {
    if (!dir_.endsWith(u'/'))
        dir_ += u'/';
    dir_ += QStringLiteral("logos/");
    http_.setUserAgent(UserAgent::Browser);
}

LogoCache::~LogoCache() {
    queue_.clear();
    http_.abort();
}

QString LogoCache::diskPath(const QUrl& url) const {
    return dir_ +
           QString::fromLatin1(QCryptographicHash::hash(url.toEncoded(), QCryptographicHash::Sha1).toHex()) +
           QStringLiteral(".png");
}

QImage LogoCache::logo(const QUrl& url) {
    if (!url.isValid() || failed_.contains(url))
        return {};
    if (const auto it = images_.constFind(url); it != images_.cend())
        return *it;
    const QString scheme = url.scheme().toLower();
    if (scheme != u"http" && scheme != u"https") {
        failed_.insert(url);
        return {};
    }
    if (QImage kept(diskPath(url)); !kept.isNull()) {
        if (images_.size() >= MaxInMemory)
            images_.clear();
        images_.insert(url, kept);
        return kept;
    }
    if (url == current_ || std::find(queue_.begin(), queue_.end(), url) != queue_.end())
        return {};
    queue_.push_back(url);
    if (int(queue_.size()) > MaxQueued)
        queue_.pop_front();
    if (!running_)
        QTimer::singleShot(0, this, &LogoCache::next);
    running_ = true;
    return {};
}

void LogoCache::next() {
    if (queue_.empty()) {
        running_ = false;
        current_.clear();
        return;
    }
    // The latest request first: the rows on screen now.
    current_ = queue_.back();
    queue_.pop_back();
    const int transfer = ++transfer_;
    auto* deadline = new QTimer(this);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, this, [this, transfer] {
        if (transfer == transfer_)
            http_.abort();
    });
    deadline->start(DeadlineMs);
    const QUrl url = current_;
    HttpBody body;
    body.maxBytes = MaxBytes;
    const bool started = http_.get(
        url, {},
        [this, url, deadline](const HttpResult& r) {
            deadline->stop();
            deadline->deleteLater();
            QImage image;
            if (r.completed)
                image.loadFromData(r.body);
            if (image.isNull()) {
                qCDebug(lcTv) << "logo" << url << (r.completed ? QStringLiteral("not an image") : r.error);
                failed_.insert(url);
            } else {
                image = image.scaledToHeight(Height, Qt::SmoothTransformation);
                if (image.width() > Height * 3)
                    image = image.scaledToWidth(Height * 3, Qt::SmoothTransformation);
                if (QDir().mkpath(dir_))
                    image.save(diskPath(url), "PNG");
                if (images_.size() >= MaxInMemory)
                    images_.clear();
                images_.insert(url, image);
                emit logoReady(url);
            }
            QTimer::singleShot(0, this, &LogoCache::next);
        },
        body);
    if (!started) {
        deadline->deleteLater();
        queue_.push_back(url);
        QTimer::singleShot(200, this, &LogoCache::next);
    }
}
