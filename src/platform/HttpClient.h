#pragma once
#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>

// What one GET brought back.
struct HttpResult {
    bool completed = false;      // the whole response arrived, with no transport or HTTP error
    int status = 0;              // HTTP status code, 0 when no response arrived
    qint64 announcedLength = -1; // Content-Length of the response, -1 when none was announced
    QByteArray body;             // what arrived, possibly partial
    QString error;               // why it did not complete, for messages and logs
};

// Progress of one transfer: begin once when the response starts (total = announced length, or 0
// when unknown), work with the bytes so far, end once when the transfer is over, successful or not,
// right before the completion.
struct HttpProgress {
    std::function<void(qint64 total)> begin;
    std::function<void(qint64 done)> work;
    std::function<void()> end;
};

// The update check's HTTP seam: one GET at a time, asynchronous. get() returns at once; progress
// and completion arrive later on the calling thread, from its event loop.
class HttpClient {
public:
    static inline const QByteArray AcceptHeader = QByteArrayLiteral("text/html, */*");
    static inline const QByteArray UserAgentHeader =
        QByteArrayLiteral("Mozilla/3.0 (compatible; Indy Library)");

    using Completion = std::function<void(const HttpResult&)>;

    virtual ~HttpClient() = default;
    // Proxy for the following requests. An empty host means a direct connection; a port outside
    // 1..65535 with a host makes requests fail rather than silently bypass the proxy.
    virtual void setProxy(const QString& host, int port) = 0;
    // Starts a GET; false (and no callback at all) while another transfer runs.
    virtual bool get(const QUrl& url, HttpProgress progress, Completion done) = 0;
    // Ends the running transfer, which then completes as failed. No effect when idle.
    virtual void abort() = 0;
    virtual bool busy() const = 0;
};
