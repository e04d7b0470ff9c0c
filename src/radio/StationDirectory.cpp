#include "radio/StationDirectory.h"

#include "platform/HttpReason.h"
#include "platform/LogCategories.h"
#include "platform/UiText.h"

#include <QCoreApplication>
#include <QDnsLookup>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>
#include <QUrlQuery>

#include <algorithm>

namespace {
// The directory asks every client to say who it is.
const QByteArray kUserAgent = QByteArrayLiteral("ZelmoPlayer/" ZELMO_VERSION " (radio directory client)");
const QString kSrvName = QStringLiteral("_api._tcp.radio-browser.info");
// Used when DNS gives nothing: the round-robin name itself.
const QString kFallbackHost = QStringLiteral("all.api.radio-browser.info");

QUrl baseFor(const QString& server) {
    const QString s = server.trimmed();
    if (s.contains(QStringLiteral("://")))
        return QUrl(s);
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(s);
    return url;
}

QString unreachable() {
    return UiText("DirectoryForm", "unreachable",
                  QStringLiteral("Каталог радиостанций недоступен: нет связи с сервером."));
}
} // namespace

StationDirectory::StationDirectory(const QString& server, QObject* parent)
    : QObject(parent), fixedServer_(server.trimmed()), network_(std::make_unique<QNetworkAccessManager>()) {
    network_->setTransferTimeout(kTimeoutMs);
}

StationDirectory::~StationDirectory() {
    cancel();
}

QUrl StationDirectory::searchUrl(const QUrl& base, const DirectoryQuery& query, const QString& order) {
    QUrl url = base;
    QString path = base.path();
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    url.setPath(path + QStringLiteral("/json/stations/search"));
    QUrlQuery q;
    if (!query.name.trimmed().isEmpty())
        q.addQueryItem(QStringLiteral("name"), query.name.trimmed());
    if (!query.countryCode.trimmed().isEmpty())
        q.addQueryItem(QStringLiteral("countrycode"), query.countryCode.trimmed().toUpper());
    if (!query.tag.trimmed().isEmpty())
        q.addQueryItem(QStringLiteral("tag"), query.tag.trimmed().toLower());
    if (!order.isEmpty()) {
        q.addQueryItem(QStringLiteral("order"), order);
        q.addQueryItem(QStringLiteral("reverse"), QStringLiteral("true"));
    }
    q.addQueryItem(QStringLiteral("limit"), QString::number(std::max(1, query.limit)));
    q.addQueryItem(QStringLiteral("hidebroken"), QStringLiteral("true"));
    url.setQuery(q);
    return url;
}

bool StationDirectory::parseStations(const QByteArray& json, QList<DirectoryStation>* out) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return false;
    const QJsonArray items = doc.array();
    out->reserve(out->size() + items.size());
    for (const QJsonValue& v : items) {
        const QJsonObject o = v.toObject();
        DirectoryStation s;
        s.name = o.value(QLatin1String("name")).toString().trimmed();
        s.url = o.value(QLatin1String("url_resolved")).toString().trimmed();
        if (s.url.isEmpty())
            s.url = o.value(QLatin1String("url")).toString().trimmed();
        if (s.name.isEmpty() || s.url.isEmpty())
            continue;
        s.country = o.value(QLatin1String("country")).toString();
        s.countryCode = o.value(QLatin1String("countrycode")).toString();
        s.codec = o.value(QLatin1String("codec")).toString();
        s.bitrate = o.value(QLatin1String("bitrate")).toInt();
        s.clicks = o.value(QLatin1String("clickcount")).toInt();
        out->append(std::move(s));
    }
    return true;
}

void StationDirectory::search(const DirectoryQuery& query) {
    start({Request{query, QStringLiteral("clickcount")}});
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
}

bool StationDirectory::busy() const {
    return dns_ || reply_ || !pending_.isEmpty();
}

void StationDirectory::start(QList<Request> requests) {
    cancel();
    pending_ = std::move(requests);
    if (!fixedServer_.isEmpty()) {
        servers_ = {baseFor(fixedServer_)};
        serversKnown_ = true;
    }
    if (serversKnown_) {
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
    QNetworkRequest request(searchUrl(servers_.value(serverIndex_ % servers_.size()), r.query, r.order));
    request.setHeader(QNetworkRequest::UserAgentHeader, kUserAgent);
    request.setTransferTimeout(kTimeoutMs);
    reply_ = network_->get(request);
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
        // Another server may answer; each one is tried once per request.
        if (fixedServer_.isEmpty() && ++serverIndex_ < servers_.size()) {
            sendNext();
            return;
        }
        serverIndex_ = 0;
        if (status >= 400)
            fail(UiText("DirectoryForm", "httpError",
                        QStringLiteral("Каталог радиостанций ответил ошибкой %1 (%2)."))
                     .arg(status)
                     .arg(HttpReasonText(
                         status, reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())));
        else
            fail(unreachable());
        return;
    }
    if (!parseStations(reply->readAll(), &collected_)) {
        fail(UiText("DirectoryForm", "badReply",
                    QStringLiteral("Каталог радиостанций прислал непонятный ответ.")));
        return;
    }
    pending_.removeFirst();
    sendNext();
}

void StationDirectory::fail(const QString& reason) {
    pending_.clear();
    collected_.clear();
    emit failed(reason);
}
