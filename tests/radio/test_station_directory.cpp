// The radio directory client against a loopback server that speaks the directory's JSON.
#include "common/LoopbackServer.h"
#include "radio/StationDirectory.h"

#include <QSignalSpy>
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
};

QTEST_GUILESS_MAIN(TestStationDirectory)
#include "test_station_directory.moc"
