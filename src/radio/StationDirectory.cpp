#include "radio/StationDirectory.h"

#include "platform/HttpReason.h"
#include "platform/LogCategories.h"
#include "platform/UiText.h"

#include <QCoreApplication>
#include <QDnsLookup>
#include <QFutureWatcher>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {
// The directory asks every client to say who it is.
const QByteArray kUserAgent = QByteArrayLiteral("ZelmoPlayer/" ZELMO_VERSION " (radio directory client)");
const QString kSrvName = QStringLiteral("_api._tcp.radio-browser.info");
// Used when DNS gives nothing: the round-robin name itself.
const QString kFallbackHost = QStringLiteral("all.api.radio-browser.info");
// A station entry of the directory weighs 1 to 3 KB; an answer may take eight times that per
// station asked for, and never less than this.
constexpr qint64 kReplyFloor = 256 * 1024;
constexpr qint64 kReplyPerStation = 24 * 1024;
constexpr qint64 kReplyCeiling = 16 * 1024 * 1024;
constexpr int kMaxLimit = 10000;

QUrl baseFor(const QString& server) {
    const QString s = server.trimmed();
    if (s.contains(QStringLiteral("://")))
        return QUrl(s);
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(s);
    return url;
}

QUrl withPath(const QUrl& base, const QString& tail) {
    QUrl url = base;
    QString path = base.path();
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    url.setPath(path + tail);
    return url;
}

bool isWebAddress(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

// A query value as the directory's server decodes it: every reserved character escaped, "+"
// included (a bare "+" reads as a space there).
QString encoded(const QString& value) {
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

int clampedLimit(int limit) {
    return std::clamp(limit, 1, kMaxLimit);
}

QString unreachable() {
    return UiText("DirectoryForm", "unreachable",
                  QStringLiteral("Каталог радиостанций недоступен: нет связи с сервером."));
}

QString tooLargeText() {
    return UiText("DirectoryForm", "tooLarge",
                  QStringLiteral("Каталог радиостанций прислал слишком большой ответ."));
}
} // namespace

StationDirectory::StationDirectory(const QString& servers, QObject* parent)
    : QObject(parent), network_(std::make_unique<QNetworkAccessManager>()) {
    network_->setTransferTimeout(kTimeoutMs);
    for (const QString& s : servers.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts))
        fixedServers_.append(baseFor(s));
}

StationDirectory::~StationDirectory() {
    cancel();
}

QUrl StationDirectory::searchUrl(const QUrl& base, const DirectoryQuery& query, const QString& order) {
    QUrl url = withPath(base, QStringLiteral("/json/stations/search"));
    QStringList items;
    auto add = [&items](const char* key, const QString& value) {
        items.append(QLatin1String(key) + QLatin1Char('=') + encoded(value));
    };
    if (!query.name.trimmed().isEmpty())
        add("name", query.name.trimmed());
    if (!query.countryCode.trimmed().isEmpty())
        add("countrycode", query.countryCode.trimmed().toUpper());
    if (!query.tag.trimmed().isEmpty())
        add("tag", query.tag.trimmed().toLower());
    if (!order.isEmpty()) {
        add("order", order);
        add("reverse", QStringLiteral("true"));
    }
    add("limit", QString::number(clampedLimit(query.limit)));
    add("hidebroken", QStringLiteral("true"));
    url.setQuery(items.join(QLatin1Char('&')), QUrl::StrictMode);
    return url;
}

QUrl StationDirectory::clickUrl(const QUrl& base, const QString& stationUuid) {
    return withPath(base, QStringLiteral("/json/url/") + encoded(stationUuid));
}

qint64 StationDirectory::replyLimit(int stations) {
    return std::clamp(kReplyPerStation * clampedLimit(stations), kReplyFloor, kReplyCeiling);
}

bool StationDirectory::parseStations(const QByteArray& json, QList<DirectoryStation>* out, int maxStations) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return false;
    const QJsonArray items = doc.array();
    out->reserve(out->size() + std::min<qsizetype>(items.size(), std::max(0, maxStations)));
    int taken = 0;
    for (const QJsonValue& v : items) {
        if (taken >= maxStations)
            break;
        const QJsonObject o = v.toObject();
        DirectoryStation s;
        s.name = o.value(QLatin1String("name")).toString().trimmed();
        // Only a web stream is ever played or stored: a file: or other local address from the
        // directory is refused, whichever of the two fields carries it.
        const QString resolved = o.value(QLatin1String("url_resolved")).toString().trimmed();
        const QString given = o.value(QLatin1String("url")).toString().trimmed();
        if (isWebAddress(resolved))
            s.url = resolved;
        else if (resolved.isEmpty() && isWebAddress(given))
            s.url = given;
        if (s.name.isEmpty() || s.url.isEmpty())
            continue;
        s.country = o.value(QLatin1String("country")).toString();
        s.countryCode = o.value(QLatin1String("countrycode")).toString();
        s.codec = o.value(QLatin1String("codec")).toString();
        s.bitrate = o.value(QLatin1String("bitrate")).toInt();
        s.clicks = o.value(QLatin1String("clickcount")).toInt();
        s.votes = o.value(QLatin1String("votes")).toInt();
        const QJsonValue check = o.value(QLatin1String("lastcheckok"));
        s.lastCheckOk = check.isUndefined() || check.toInt() == 1;
        s.uuid = o.value(QLatin1String("stationuuid")).toString().trimmed();
        const QString favicon = o.value(QLatin1String("favicon")).toString().trimmed();
        if (isWebAddress(favicon))
            s.favicon = favicon;
        out->append(std::move(s));
        ++taken;
    }
    return true;
}

void StationDirectory::search(const DirectoryQuery& query, const QString& order) {
    start({Request{query, order}});
}

void StationDirectory::mostClicked(const QStringList& countryCodes, int perCountry) {
    QList<Request> requests;
    for (const QString& code : countryCodes)
        requests.append(Request{DirectoryQuery{{}, code, {}, perCountry}, QStringLiteral("clickcount")});
    start(requests);
}

void StationDirectory::cancel() {
    ++generation_;
    pending_.clear();
    collected_.clear();
    body_.clear();
    if (dns_) {
        dns_->abort();
        dns_->deleteLater();
        dns_ = nullptr;
    }
    if (QNetworkReply* reply = std::exchange(reply_, nullptr)) {
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    // A parse under way runs to its end on its thread; its result is dropped.
    if (QFutureWatcher<Parsed>* watcher = std::exchange(parsing_, nullptr)) {
        watcher->disconnect(this);
        connect(watcher, &QFutureWatcherBase::finished, watcher, &QObject::deleteLater);
        if (watcher->isFinished())
            watcher->deleteLater();
    }
}

bool StationDirectory::busy() const {
    return dns_ || reply_ || parsing_ || !pending_.isEmpty();
}

QUrl StationDirectory::currentServer() const {
    return servers_.value(serverIndex_ % std::max<qsizetype>(1, servers_.size()));
}

void StationDirectory::click(const QString& stationUuid) {
    if (stationUuid.trimmed().isEmpty())
        return;
    // A station kept from an earlier run plays before any search has found the servers.
    const QUrl base = !servers_.isEmpty()        ? currentServer()
                      : !fixedServers_.isEmpty() ? fixedServers_.first()
                                                 : baseFor(kFallbackHost);
    QNetworkRequest request(clickUrl(base, stationUuid.trimmed()));
    request.setHeader(QNetworkRequest::UserAgentHeader, kUserAgent);
    request.setTransferTimeout(kTimeoutMs);
    QNetworkReply* reply = network_->get(request);
    // The answer (the station's record) is not needed: read nothing of it beyond a small buffer.
    reply->setReadBufferSize(64 * 1024);
    connect(reply, &QNetworkReply::readyRead, reply, [reply] {
        if (reply->bytesAvailable() > 64 * 1024)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, reply, [reply] {
        if (reply->error() != QNetworkReply::NoError &&
            reply->error() != QNetworkReply::OperationCanceledError)
            qCInfo(lcNetwork) << "directory: click not counted:" << reply->errorString();
        reply->deleteLater();
    });
}

void StationDirectory::start(QList<Request> requests) {
    cancel();
    pending_ = std::move(requests);
    if (!fixedServers_.isEmpty() && !serversKnown_) {
        servers_ = fixedServers_;
        serversKnown_ = true;
    }
    if (serversKnown_) {
        triesLeft_ = int(servers_.size());
        sendNext();
        return;
    }
    // The server list comes from DNS once per run; the names are shuffled so that clients spread.
    dns_ = new QDnsLookup(QDnsLookup::SRV, kSrvName, this);
    connect(dns_, &QDnsLookup::finished, this, [this, lookup = dns_] {
        if (lookup != dns_)
            return;
        dns_ = nullptr;
        lookup->deleteLater();
        QList<QUrl> found;
        if (lookup->error() == QDnsLookup::NoError) {
            for (const QDnsServiceRecord& r : lookup->serviceRecords())
                found.append(baseFor(r.target()));
        } else {
            qCInfo(lcNetwork) << "directory: server lookup failed:" << lookup->errorString();
        }
        std::shuffle(found.begin(), found.end(), *QRandomGenerator::global());
        found.append(baseFor(kFallbackHost));
        servers_ = found;
        serversKnown_ = true;
        serverIndex_ = 0;
        triesLeft_ = int(servers_.size());
        sendNext();
    });
    dns_->lookup();
}

void StationDirectory::sendNext() {
    if (pending_.isEmpty()) {
        emit finished(std::exchange(collected_, {}));
        return;
    }
    if (servers_.isEmpty()) {
        fail(unreachable());
        return;
    }
    const Request& r = pending_.first();
    QNetworkRequest request(searchUrl(currentServer(), r.query, r.order));
    request.setHeader(QNetworkRequest::UserAgentHeader, kUserAgent);
    request.setTransferTimeout(kTimeoutMs);
    body_.clear();
    const qint64 limit = replyLimit(r.query.limit);
    reply_ = network_->get(request);
    // Qt holds no more than this much unread; the rest waits in the socket until read below.
    reply_->setReadBufferSize(64 * 1024);
    const int generation = generation_;
    auto tooLarge = [this, generation, reply = reply_] {
        if (generation != generation_ || reply != reply_)
            return;
        qCInfo(lcNetwork) << "directory: answer over" << replyLimit(pending_.first().query.limit)
                          << "bytes from" << reply->url().toDisplayString();
        reply_ = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
        body_.clear();
        fail(tooLargeText());
    };
    connect(reply_, &QNetworkReply::metaDataChanged, this, [reply = reply_, limit, tooLarge] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limit)
            tooLarge();
    });
    connect(reply_, &QNetworkReply::readyRead, this, [this, reply = reply_, limit, tooLarge] {
        if (reply != reply_)
            return;
        if (body_.size() + reply->bytesAvailable() > limit) {
            tooLarge();
            return;
        }
        body_ += reply->readAll();
    });
    connect(reply_, &QNetworkReply::finished, this, [this, reply = reply_] { onReply(reply); });
}

void StationDirectory::onReply(QNetworkReply* reply) {
    if (reply != reply_)
        return;
    reply_ = nullptr;
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError) {
        qCInfo(lcNetwork) << "directory:" << reply->url().toDisplayString() << reply->errorString();
        body_.clear();
        if (status >= 400)
            failOver(
                UiText("DirectoryForm", "httpError",
                       QStringLiteral("Каталог радиостанций ответил ошибкой %1 (%2)."))
                    .arg(status)
                    .arg(HttpReasonText(
                        status, reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())));
        else
            failOver(unreachable());
        return;
    }
    const qint64 limit = replyLimit(pending_.first().query.limit);
    if (body_.size() + reply->bytesAvailable() > limit) {
        body_.clear();
        fail(tooLargeText());
        return;
    }
    body_ += reply->readAll();
    // A server that answered keeps being asked first; the next request may try every server again.
    triesLeft_ = int(servers_.size());
    // The answer is parsed off the window's thread; it keeps no more stations than were asked for.
    const int generation = generation_;
    const int maxStations = clampedLimit(pending_.first().query.limit);
    parsing_ = new QFutureWatcher<Parsed>(this);
    connect(parsing_, &QFutureWatcherBase::finished, this, [this, generation, watcher = parsing_] {
        watcher->deleteLater();
        if (watcher != parsing_)
            return;
        parsing_ = nullptr;
        onParsed(generation, watcher->result());
    });
    parsing_->setFuture(QtConcurrent::run([json = std::exchange(body_, {}), maxStations] {
        Parsed p;
        p.ok = parseStations(json, &p.stations, maxStations);
        return p;
    }));
}

void StationDirectory::onParsed(int generation, const Parsed& parsed) {
    if (generation != generation_)
        return;
    if (!parsed.ok) {
        fail(UiText("DirectoryForm", "badReply",
                    QStringLiteral("Каталог радиостанций прислал непонятный ответ.")));
        return;
    }
    collected_.append(parsed.stations);
    pending_.removeFirst();
    sendNext();
}

void StationDirectory::failOver(const QString& reason) {
    // Another server may answer: each one is tried once per request, starting from the one that
    // answered last.
    if (--triesLeft_ > 0 && servers_.size() > 1) {
        serverIndex_ = (serverIndex_ + 1) % int(servers_.size());
        sendNext();
        return;
    }
    triesLeft_ = int(servers_.size());
    fail(reason);
}

void StationDirectory::fail(const QString& reason) {
    pending_.clear();
    collected_.clear();
    emit failed(reason);
}
