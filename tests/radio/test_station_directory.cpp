// The radio directory client against a loopback server that speaks the directory's JSON.
#include "common/LoopbackServer.h"
#include "radio/StationDirectory.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {
QByteArray target(const QUrl& url) {
    return (url.path(QUrl::FullyEncoded) + "?" + url.query(QUrl::FullyEncoded)).toUtf8();
}

QByteArray json(const QByteArray& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

DirectoryQuery named(const char* name) {
    DirectoryQuery q;
    q.name = QString::fromUtf8(name);
    return q;
}

QByteArray station(const char* name, const char* country, const char* code, const char* url,
                   const char* resolved = "") {
    return QStringLiteral(R"({"name":"%1","url":"%2","url_resolved":"%3","country":"%4","countrycode":"%5",)"
                          R"("codec":"MP3","bitrate":128,"clickcount":42,"tags":"pop"})")
        .arg(QString::fromUtf8(name), QString::fromUtf8(url), QString::fromUtf8(resolved),
             QString::fromUtf8(country), QString::fromUtf8(code))
        .toUtf8();
}

// A hostile directory: every request gets one endless-looking station list of `size` bytes, sent
// as fast as the client reads it, with no length given.
class EndlessDirectory : public QObject {
public:
    explicit EndlessDirectory(qint64 size) : size_(size) {
        QVERIFY(server_.listen(QHostAddress::LocalHost));
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* s = server_.nextPendingConnection();
            s->setParent(this);
            connect(s, &QTcpSocket::readyRead, s, [this, s] {
                if (!s->readAll().contains("\r\n\r\n") || started_)
                    return;
                started_ = true;
                s->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n\r\n[");
                more(s);
            });
            connect(s, &QTcpSocket::bytesWritten, s, [this, s] {
                if (s->bytesToWrite() < 256 * 1024)
                    more(s);
            });
            connect(s, &QTcpSocket::disconnected, this, [this] { closed = true; });
        });
    }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }
    qint64 sent = 0;
    bool closed = false;

private:
    void more(QTcpSocket* s) {
        if (sent >= size_ || s->state() != QAbstractSocket::ConnectedState)
            return;
        QByteArray chunk;
        while (chunk.size() < 256 * 1024) {
            chunk += sent || !chunk.isEmpty() ? "," : "";
            chunk += station("Hostile", "X", "XX", "http://h/" + QByteArray::number(n_++));
        }
        sent += chunk.size();
        s->write(chunk);
        if (sent >= size_) {
            s->write("]");
            s->disconnectFromHost();
        }
    }
    QTcpServer server_;
    qint64 size_;
    qint64 n_ = 0;
    bool started_ = false;
};
} // namespace

class TestStationDirectory : public QObject {
    Q_OBJECT
private slots:
    void firstScreenAsksEachCountryInTurn() {
        LoopbackServer server;
        const QUrl base(server.base());
        const QStringList countries{"RU", "UA", "BY", "KZ"};
        for (const QString& c : countries) {
            const QUrl url = StationDirectory::searchUrl(base, DirectoryQuery{{}, c, {}, 25}, "clickcount");
            const QByteArray name = "Top " + c.toUtf8();
            server.routes[target(url)] = {
                json("[" + station(name, "Land", c.toUtf8(), "http://s/" + c.toUtf8()) + "]")};
        }
        StationDirectory directory(server.base());
        QSignalSpy done(&directory, &StationDirectory::finished);
        QSignalSpy failed(&directory, &StationDirectory::failed);
        directory.mostClicked(countries, 25);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
        QCOMPARE(failed.count(), 0);
        const auto stations = done.at(0).at(0).value<QList<DirectoryStation>>();
        QCOMPARE(stations.size(), 4);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(stations[i].countryCode, countries[i]);
            QCOMPARE(stations[i].name, "Top " + countries[i]);
        }
        QCOMPARE(stations[0].codec, QStringLiteral("MP3"));
        QCOMPARE(stations[0].bitrate, 128);
        // What the directory asks of its clients: broken stations hidden, a descriptive agent.
        QVERIFY(server.requests.value(0).contains("hidebroken=true"));
        QVERIFY(server.requests.value(0).contains("order=clickcount&reverse=true&limit=25"));
        QVERIFY(server.header(0, "User-Agent").startsWith("ZelmoPlayer/"));
        QVERIFY(!directory.busy());
    }

    void searchSendsTheFieldsAndKeepsTheUsableRows() {
        LoopbackServer server;
        const DirectoryQuery query{QStringLiteral("Радио Рекорд"), QStringLiteral("ru"),
                                   QStringLiteral("Dance"), 50};
        const QUrl url = StationDirectory::searchUrl(QUrl(server.base()), query, "clickcount");
        const QByteArray body =
            "[" + station("Радио Рекорд", "Россия", "RU", "http://r/pls", "http://r/live") + "," +
            station("", "X", "XX", "http://nameless") + "," + station("Без ссылки", "X", "XX", "") + "," +
            station("Plain", "X", "XX", "http://p") + "]";
        server.routes[target(url)] = {json(body)};
        StationDirectory directory(server.base());
        QSignalSpy done(&directory, &StationDirectory::finished);
        directory.search(query);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
        const QByteArray requestLine = server.requests.value(0).split('\r').value(0);
        QVERIFY2(requestLine.contains("name=%D0%A0%D0%B0%D0%B4%D0%B8%D0%BE"), requestLine);
        QVERIFY2(requestLine.contains("countrycode=RU") && requestLine.contains("tag=dance"), requestLine);
        const auto stations = done.at(0).at(0).value<QList<DirectoryStation>>();
        QCOMPARE(stations.size(), 2);
        QCOMPARE(stations[0].name, QStringLiteral("Радио Рекорд"));
        QCOMPARE(stations[0].url, QStringLiteral("http://r/live")); // the resolved stream wins
        QCOMPARE(stations[0].country, QStringLiteral("Россия"));
        QCOMPARE(stations[1].url, QStringLiteral("http://p"));
    }

    void failuresEndInOneClearSentence_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("sentence");
        QTest::newRow("server error")
            << LoopbackServer::status("500 Internal Server Error") << QStringLiteral("ошибкой 500");
        QTest::newRow("not json") << json("<html>maintenance</html>") << QStringLiteral("непонятный ответ");
        QTest::newRow("not a list") << json(R"({"error":"x"})") << QStringLiteral("непонятный ответ");
        QTest::newRow("cut short") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n[{")
                                   << QStringLiteral("нет связи");
    }
    void failuresEndInOneClearSentence() {
        QFETCH(QByteArray, answer);
        QFETCH(QString, sentence);
        LoopbackServer server;
        server.fallback = {answer};
        StationDirectory directory(server.base());
        QSignalSpy done(&directory, &StationDirectory::finished);
        QSignalSpy failed(&directory, &StationDirectory::failed);
        directory.search(named("x"));
        QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 20000);
        QVERIFY2(failed.at(0).at(0).toString().contains(sentence), qPrintable(failed.at(0).at(0).toString()));
        QCOMPARE(done.count(), 0);
    }

    void noServerListeningFailsWithoutBlocking() {
        quint16 port;
        {
            LoopbackServer gone;
            port = gone.port();
        }
        StationDirectory directory(QStringLiteral("http://127.0.0.1:%1").arg(port));
        QSignalSpy failed(&directory, &StationDirectory::failed);
        QElapsedTimer t;
        t.start();
        directory.search(named("x"));
        QVERIFY(t.elapsed() < 1000); // the call returns at once
        QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 20000);
        QVERIFY(failed.at(0).at(0).toString().contains(QStringLiteral("нет связи")));
    }

    void aNewSearchReplacesTheRunningOne() {
        LoopbackServer server;
        const DirectoryQuery slow = named("slow"), fast = named("fast");
        server.routes[target(StationDirectory::searchUrl(QUrl(server.base()), slow, "clickcount"))] = {
            "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n[", true};
        server.routes[target(StationDirectory::searchUrl(QUrl(server.base()), fast, "clickcount"))] = {
            json("[" + station("Fast", "X", "XX", "http://f") + "]")};
        StationDirectory directory(server.base());
        QSignalSpy done(&directory, &StationDirectory::finished);
        QSignalSpy failed(&directory, &StationDirectory::failed);
        directory.search(slow);
        QTRY_COMPARE_WITH_TIMEOUT(server.requests.size(), 1, 20000);
        directory.search(fast);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
        QCOMPARE(done.at(0).at(0).value<QList<DirectoryStation>>().value(0).name, QStringLiteral("Fast"));
        QTest::qWait(200);
        QCOMPARE(failed.count(), 0); // the replaced request says nothing
        QCOMPARE(done.count(), 1);
    }
    void reservedCharactersOfASearchGoOutEncoded() {
        LoopbackServer server;
        StationDirectory directory(server.base());
        directory.search(named("Европа+ & Co"));
        QTRY_COMPARE_WITH_TIMEOUT(server.requests.size(), 1, 20000);
        const QByteArray line = server.requests[0].split('\r').value(0);
        // A bare "+" would reach the directory as a space.
        QVERIFY2(line.contains("name=%D0%95%D0%B2%D1%80%D0%BE%D0%BF%D0%B0%2B%20%26%20Co&"), line);
    }

    void aFailingServerHandsOverAndTheOneThatAnswersStaysFirst() {
        LoopbackServer a, b;
        const LoopbackServer::Route ok{json("[" + station("S", "X", "XX", "http://s") + "]")};
        const LoopbackServer::Route down{LoopbackServer::status("503 Service Unavailable")};
        a.fallback = down;
        b.fallback = ok;
        StationDirectory directory(a.base() + " " + b.base());
        QSignalSpy done(&directory, &StationDirectory::finished);
        QSignalSpy failed(&directory, &StationDirectory::failed);
        directory.search(named("x"));
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
        QCOMPARE(a.requests.size(), 1);
        QCOMPARE(b.requests.size(), 1);
        directory.search(named("y"));
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 2, 20000);
        QCOMPARE(a.requests.size(), 1); // the server that answered is asked first
        QCOMPARE(b.requests.size(), 2);
        // It fails in its turn: the other one, back in service, is tried again.
        a.fallback = ok;
        b.fallback = down;
        directory.search(named("z"));
        QTRY_COMPARE_WITH_TIMEOUT(done.count() + failed.count(), 3, 20000);
        QCOMPARE(failed.count(), 0);
        QCOMPARE(a.requests.size(), 2);
        QCOMPARE(b.requests.size(), 3);
        // Both down: each is tried once, then one sentence.
        a.fallback = down;
        directory.search(named("w"));
        QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 20000);
        QCOMPARE(a.requests.size() + b.requests.size(), 7);
        QVERIFY(failed.at(0).at(0).toString().contains(QStringLiteral("ошибкой 503")));
    }

    void onlyWebStreamsAndNoMoreStationsThanAsked() {
        QByteArray body = "[" + station("Zero", "X", "XX", "http://ok/1", "file:///dev/zero") + "," +
                          station("Shadow", "X", "XX", "file:///etc/shadow") + "," +
                          station("Ftp", "X", "XX", "ftp://host/a") + "," +
                          station("No host", "X", "XX", "http:/nohost") + "," +
                          station("Upper", "X", "XX", "HTTPS://host/upper");
        for (int i = 0; i < 30; ++i)
            body += "," + station("Fine", "X", "XX", "http://host/" + QByteArray::number(i));
        body += "]";
        QList<DirectoryStation> parsed;
        QVERIFY(StationDirectory::parseStations(body, &parsed, 25));
        QCOMPARE(parsed.size(), 25);
        QCOMPARE(parsed[0].name, QStringLiteral("Upper"));
        for (const DirectoryStation& s : parsed)
            QVERIFY2(s.url.startsWith("http", Qt::CaseInsensitive) && !s.url.contains("nohost"),
                     qPrintable(s.url));

        // Through the client: the limit asked is the most it keeps.
        LoopbackServer server;
        server.fallback = {json(body)};
        StationDirectory directory(server.base());
        QSignalSpy done(&directory, &StationDirectory::finished);
        DirectoryQuery q = named("x");
        q.limit = 10;
        directory.search(q);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
        QCOMPARE(done.at(0).at(0).value<QList<DirectoryStation>>().size(), 10);
    }

    void aHugeAnswerIsCutOffAndSaidSo() {
        EndlessDirectory hostile(20 * 1024 * 1024);
        StationDirectory directory(hostile.base());
        QSignalSpy done(&directory, &StationDirectory::finished);
        QSignalSpy failed(&directory, &StationDirectory::failed);
        DirectoryQuery q = named("x");
        q.limit = 25;
        directory.search(q);
        QTRY_COMPARE_WITH_TIMEOUT(done.count() + failed.count(), 1, 60000);
        QCOMPARE(done.count(), 0);
        QVERIFY2(failed.at(0).at(0).toString().contains(QStringLiteral("слишком большой")),
                 qPrintable(failed.at(0).at(0).toString()));
        // The client stopped reading near its bound, not at the end of the answer.
        QTRY_VERIFY_WITH_TIMEOUT(hostile.closed, 20000);
        QVERIFY2(hostile.sent < 8 * 1024 * 1024, QByteArray::number(hostile.sent));
        QVERIFY(!directory.busy());
    }
};

QTEST_GUILESS_MAIN(TestStationDirectory)
#include "test_station_directory.moc"
