#pragma once
#include <QHash>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <functional>
#include <optional>

// A small HTTP/1.1 server on loopback. Each request target answers with raw bytes; the connection
// is closed after the answer unless the route holds it open (a transfer still under way).
class LoopbackServer : public QObject {
public:
    struct Route {
        QByteArray raw;
        bool hold = false;
    };
    QHash<QByteArray, Route> routes; // by request target as it appears on the request line
    Route fallback{"HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\nnot found"};
    QList<QByteArray> requests; // each request's head: request line and header lines
    // Asked first for every request target; an answer it gives wins over the routes.
    std::function<std::optional<Route>(const QByteArray& target)> handler;

    LoopbackServer() {
        QVERIFY(server_.listen(QHostAddress::LocalHost));
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                s->setParent(this);
                held_ << s;
                connect(s, &QTcpSocket::readyRead, this, [this, s] { serve(s); });
            }
        });
    }
    bool listening() const { return server_.isListening(); }
    quint16 port() const { return server_.serverPort(); }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(port()); }

    static QByteArray ok(const QByteArray& body) {
        return "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
               QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    }
    static QByteArray status(const QByteArray& line) {
        return "HTTP/1.1 " + line + "\r\nContent-Length: 3\r\nConnection: close\r\n\r\n2.9";
    }

    QByteArray header(int request, const QByteArray& name) const {
        for (const QByteArray& line : requests.value(request).split('\n')) {
            const qsizetype colon = line.indexOf(':');
            if (colon > 0 && line.first(colon).trimmed().toLower() == name.toLower())
                return line.sliced(colon + 1).trimmed();
        }
        return {};
    }

    // Ends every connection still open, cutting short whatever it was sending.
    void dropAll() {
        for (const QPointer<QTcpSocket>& s : held_)
            if (s)
                s->disconnectFromHost();
    }

private:
    void serve(QTcpSocket* s) {
        QByteArray& buffer = pending_[s];
        buffer += s->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QByteArray head = buffer.first(end);
        buffer.clear();
        requests << head;
        const qsizetype lineEnd = head.indexOf("\r\n");
        const QList<QByteArray> requestLine = head.first(lineEnd < 0 ? head.size() : lineEnd).split(' ');
        const QByteArray target = requestLine.value(1);
        std::optional<Route> answer = handler ? handler(target) : std::nullopt;
        const Route route = answer ? *answer : routes.value(target, fallback);
        s->write(route.raw);
        if (!route.hold)
            s->disconnectFromHost();
    }

    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> pending_;
    QList<QPointer<QTcpSocket>> held_;
};

// A loopback port nobody listens on.
inline quint16 ClosedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}
