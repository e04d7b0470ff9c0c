#pragma once
#include "platform/HttpClient.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>

class QNetworkReply;

// HttpClient on QNetworkAccessManager: never blocks the caller's thread. A transfer that moves
// no byte for the idle time-out (connecting included) is aborted and fails.
class QtHttpClient : public QObject, public HttpClient {
    Q_OBJECT
public:
    static constexpr int DefaultIdleTimeoutMs = 15000;

    explicit QtHttpClient(int idleTimeoutMs = DefaultIdleTimeoutMs, QObject* parent = nullptr);
    ~QtHttpClient() override;

    void setProxy(const QString& host, int port) override;
    void setUserAgent(const QByteArray& userAgent) override { userAgent_ = userAgent; }
    using HttpClient::get;
    bool get(const QUrl& url, HttpProgress progress, Completion done, HttpBody body) override;
    void abort() override;
    bool busy() const override;

private:
    void finish();
    void take();
    void stop(const QString& reason);
    void deliver(const HttpResult& result);

    QNetworkAccessManager manager_;
    int idleTimeoutMs_;
    QByteArray userAgent_ = UserAgentHeader;
    bool proxyUsable_ = true;
    QPointer<QNetworkReply> reply_;
    HttpProgress progress_;
    Completion done_;
    HttpBody bodyRule_;
    QByteArray body_;
    qint64 received_ = 0;
    QString stopReason_; // why this client ended the transfer, if it did
    bool begun_ = false;
    bool pending_ = false;
};
