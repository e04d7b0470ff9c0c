#include "platform/QtHttpClient.h"

#include "platform/LogCategories.h"

#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <utility>

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

bool QtHttpClient::get(const QUrl& url, HttpProgress progress, Completion done, HttpBody body) {
    if (pending_)
        return false;
    pending_ = true;
    progress_ = std::move(progress);
    done_ = std::move(done);
    bodyRule_ = std::move(body);
    body_.clear();
    received_ = 0;
    stopReason_.clear();
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
    request.setRawHeader("User-Agent", userAgent_);
    // Unpacked bytes only, so the announced length is the length of the body we get.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setTransferTimeout(idleTimeoutMs_);
    reply_ = manager_.get(request);
    // The body is taken as it arrives, so the reply never holds more than this.
    reply_->setReadBufferSize(256 * 1024);
    const auto beginOnce = [this](qint64 total) {
        if (begun_)
            return;
        begun_ = true;
        if (progress_.begin)
            progress_.begin(total > 0 ? total : 0);
    };
    connect(reply_, &QNetworkReply::metaDataChanged, this, [this, beginOnce] {
        const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
        if (bodyRule_.maxBytes >= 0 && length.isValid() && length.toLongLong() > bodyRule_.maxBytes) {
            stop(QStringLiteral("The response is larger than %1 bytes").arg(bodyRule_.maxBytes));
            return;
        }
        beginOnce(length.toLongLong());
    });
    connect(reply_, &QNetworkReply::readyRead, this, &QtHttpClient::take);
    connect(reply_, &QNetworkReply::downloadProgress, this, [this, beginOnce](qint64 received, qint64 total) {
        beginOnce(total);
        if (progress_.work)
            progress_.work(received);
    });
    connect(reply_, &QNetworkReply::finished, this, &QtHttpClient::finish);
    return true;
}

void QtHttpClient::take() {
    if (!reply_ || !stopReason_.isEmpty() || !reply_->isOpen())
        return;
    const QByteArray piece = reply_->readAll();
    if (piece.isEmpty())
        return;
    received_ += piece.size();
    if (bodyRule_.maxBytes >= 0 && received_ > bodyRule_.maxBytes) {
        stop(QStringLiteral("The response is larger than %1 bytes").arg(bodyRule_.maxBytes));
        return;
    }
    if (bodyRule_.sink) {
        if (!bodyRule_.sink(piece))
            stop(QStringLiteral("The received data could not be stored"));
        return;
    }
    body_ += piece;
}

void QtHttpClient::stop(const QString& reason) {
    stopReason_ = reason;
    qCWarning(lcNetwork) << "ending the transfer of" << reply_->url().toString() << ":" << reason;
    reply_->abort(); // emits finished, which reports the failure
}

void QtHttpClient::finish() {
    take(); // whatever is still buffered
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    if (!reply)
        return;
    reply->deleteLater();

    HttpResult result;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    result.announcedLength = length.isValid() ? length.toLongLong() : -1;
    result.chunked = reply->rawHeader("Transfer-Encoding").toLower().contains("chunked");
    result.received = received_;
    result.body = std::exchange(body_, QByteArray());
    result.completed = reply->error() == QNetworkReply::NoError && stopReason_.isEmpty();
    if (!result.completed) {
        result.error = stopReason_.isEmpty() ? reply->errorString() : stopReason_;
        qCWarning(lcNetwork) << "GET" << reply->url().toString() << "failed:" << result.error;
    } else if (result.announcedLength >= 0 && result.received != result.announcedLength) {
        // Closed early without a transport error: the body is cut short.
        result.completed = false;
        result.error =
            QStringLiteral("Received %1 of %2 bytes").arg(result.received).arg(result.announcedLength);
        qCWarning(lcNetwork) << "GET" << reply->url().toString() << "failed:" << result.error;
    }
    deliver(result);
}

void QtHttpClient::deliver(const HttpResult& result) {
    // Hand over before calling out, so a callback may start the next transfer.
    HttpProgress progress = std::move(progress_);
    Completion done = std::move(done_);
    progress_ = {};
    done_ = {};
    bodyRule_ = {};
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
