#include "platform/QtHttpClient.h"

#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

QtHttpClient::QtHttpClient(int idleTimeoutMs, QObject* parent)
    : QObject(parent), idleTimeoutMs_(idleTimeoutMs) {
    manager_.setProxy(QNetworkProxy::NoProxy);
}

QtHttpClient::~QtHttpClient() {
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
    }
}

void QtHttpClient::setProxy(const QString& host, int port) {
    proxyUsable_ = true;
    if (host.isEmpty()) {
        manager_.setProxy(QNetworkProxy::NoProxy);
        return;
    }
    proxyUsable_ = port > 0 && port <= 65535;
    manager_.setProxy(QNetworkProxy(QNetworkProxy::HttpProxy, host, proxyUsable_ ? quint16(port) : 0));
}

bool QtHttpClient::get(const QUrl& url, HttpProgress progress, Completion done) {
    if (pending_)
        return false;
    pending_ = true;
    progress_ = std::move(progress);
    done_ = std::move(done);
    begun_ = false;

    if (!proxyUsable_) {
        // Fails like any other transfer: later, from the event loop.
        QTimer::singleShot(0, this, [this] {
            HttpResult result;
            result.error = QStringLiteral("Invalid proxy port");
            deliver(result);
        });
        return true;
    }

    QNetworkRequest request(url);
    request.setRawHeader("Accept", AcceptHeader);
    request.setRawHeader("User-Agent", UserAgentHeader);
    // Unpacked bytes only, so the announced length is the length of the body we get.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setTransferTimeout(idleTimeoutMs_);
    reply_ = manager_.get(request);
    const auto beginOnce = [this](qint64 total) {
        if (begun_)
            return;
        begun_ = true;
        if (progress_.begin)
            progress_.begin(total > 0 ? total : 0);
    };
    connect(reply_, &QNetworkReply::metaDataChanged, this, [this, beginOnce] {
        beginOnce(reply_->header(QNetworkRequest::ContentLengthHeader).toLongLong());
    });
    connect(reply_, &QNetworkReply::downloadProgress, this, [this, beginOnce](qint64 received, qint64 total) {
        beginOnce(total);
        if (progress_.work)
            progress_.work(received);
    });
    connect(reply_, &QNetworkReply::finished, this, &QtHttpClient::finish);
    return true;
}

void QtHttpClient::finish() {
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    if (!reply)
        return;
    reply->deleteLater();

    HttpResult result;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    result.announcedLength = length.isValid() ? length.toLongLong() : -1;
    if (reply->isOpen())
        result.body = reply->readAll();
    result.completed = reply->error() == QNetworkReply::NoError;
    if (!result.completed)
        result.error = reply->errorString();
    deliver(result);
}

void QtHttpClient::deliver(const HttpResult& result) {
    // Hand over before calling out, so a callback may start the next transfer.
    HttpProgress progress = std::move(progress_);
    Completion done = std::move(done_);
    progress_ = {};
    done_ = {};
    pending_ = false;
    if (progress.end)
        progress.end();
    if (done)
        done(result);
}

void QtHttpClient::abort() {
    if (reply_)
        reply_->abort(); // emits finished, which reports the failure
}

bool QtHttpClient::busy() const {
    return pending_;
}
