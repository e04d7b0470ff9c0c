#include "radio/StreamDiagnosis.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {
StreamDiagnosis::Finding fromError(QNetworkReply* reply) {
    using C = RadioStatus::Cause;
    StreamDiagnosis::Finding f;
    f.words = reply->errorString();
    switch (reply->error()) {
    case QNetworkReply::HostNotFoundError:
        f.cause = C::HostUnknown;
        break;
    case QNetworkReply::ConnectionRefusedError:
        f.cause = C::Refused;
        break;
    case QNetworkReply::SslHandshakeFailedError:
    case QNetworkReply::UnknownNetworkError: // among others, a server that does not speak TLS
        f.cause = reply->url().scheme() == QLatin1String("https") ? C::Tls : C::Unknown;
        break;
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        f.cause = C::Timeout;
        break;
    default:
        break;
    }
    return f;
}
} // namespace

StreamDiagnosis::StreamDiagnosis(QObject* parent)
    : QObject(parent), network_(new QNetworkAccessManager(this)) {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] {
        finish({RadioStatus::Cause::Timeout, 0, QStringLiteral("no answer in time")});
    });
}

StreamDiagnosis::~StreamDiagnosis() {
    cancel();
}

void StreamDiagnosis::diagnose(const QUrl& url, std::function<void(const Finding&)> done, int timeoutMs) {
    cancel();
    done_ = std::move(done);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(timeoutMs);
    reply_ = network_->get(request);
    // The head is all it takes: a station that answers would stream for ever.
    connect(reply_, &QNetworkReply::metaDataChanged, this, [this] {
        const int code = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (code >= 400)
            finish({RadioStatus::Cause::Http, code,
                    QStringLiteral("HTTP %1 %2")
                        .arg(code)
                        .arg(reply_->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())});
        else if (code >= 200 && code < 300)
            finish({RadioStatus::Cause::Unknown, code, QStringLiteral("the server answers now")});
    });
    connect(reply_, &QNetworkReply::finished, this, [this] {
        const int code = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (code >= 400)
            finish({RadioStatus::Cause::Http, code, QStringLiteral("HTTP %1").arg(code)});
        else
            finish(reply_->error() == QNetworkReply::NoError ? Finding{} : fromError(reply_));
    });
    deadline_.start(timeoutMs + 500);
}

void StreamDiagnosis::cancel() {
    deadline_.stop();
    done_ = nullptr;
    if (QNetworkReply* reply = reply_) {
        reply_ = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void StreamDiagnosis::finish(const Finding& finding) {
    auto done = std::exchange(done_, nullptr);
    cancel();
    if (done)
        done(finding);
}
