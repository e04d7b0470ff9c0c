#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QUrl>

#include <functional>

// What one GET brought back.
struct HttpResult {
    bool completed = false;      // the whole response arrived, with no transport or HTTP error
    int status = 0;              // HTTP status code, 0 when no response arrived
    qint64 announcedLength = -1; // Content-Length of the response, -1 when none was announced
    bool chunked = false;        // the body came in chunks, so its end was marked by the server
    qint64 received = 0;         // body bytes that arrived
    QByteArray body;             // what arrived, possibly partial; empty when handed to a sink
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

// How the body of a response is taken. By default it is kept whole in HttpResult::body. A transfer
// whose body grows beyond maxBytes is ended and fails. With a sink, each piece goes there as it
// arrives and is not kept; a sink that returns false ends the transfer, which then fails.
struct HttpBody {
    qint64 maxBytes = -1; // -1: no cap
    std::function<bool(QByteArrayView piece)> sink;
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
    // The User-Agent of the following requests; UserAgentHeader until changed.
    virtual void setUserAgent(const QByteArray& userAgent) = 0;
    // Starts a GET; false (and no callback at all) while another transfer runs.
    virtual bool get(const QUrl& url, HttpProgress progress, Completion done, HttpBody body) = 0;
    bool get(const QUrl& url, HttpProgress progress, Completion done) {
        return get(url, std::move(progress), std::move(done), HttpBody{});
    }
    // Ends the running transfer, which then completes as failed. No effect when idle.
    virtual void abort() = 0;
    virtual bool busy() const = 0;
};
