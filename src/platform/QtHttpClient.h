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
    bool get(const QUrl& url, HttpProgress progress, Completion done) override;
    void abort() override;
    bool busy() const override;

private:
    void finish();
    void deliver(const HttpResult& result);

    QNetworkAccessManager manager_;
    int idleTimeoutMs_;
    bool proxyUsable_ = true;
    QPointer<QNetworkReply> reply_;
    HttpProgress progress_;
    Completion done_;
    bool begun_ = false;
    bool pending_ = false;
};
