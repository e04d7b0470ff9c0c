#include "common/LoopbackServer.h"

#include "platform/QtHttpClient.h"
#include "settings/UpdateChecker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

constexpr int Bound = 20000; // generous bound on every wait; never a speed check

} // namespace

class TestUpdateChecker : public QObject {
    Q_OBJECT

private slots:
    void checkShowsTheWholeBody_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("shown");
        QTest::newRow("later version") << QByteArray("2.9") << QStringLiteral("2.9");
        QTest::newRow("same version") << QByteArray("2.8") << QStringLiteral("2.8");
        QTest::newRow("trailing line break") << QByteArray("2.9\n") << QStringLiteral("2.9\n");
        QTest::newRow("CRLF and text") << QByteArray("3.0 beta\r\n") << QStringLiteral("3.0 beta\r\n");
        QTest::newRow("UTF-8") << QByteArray("3.0 — новая") << QStringLiteral("3.0 — новая");
        QTest::newRow("empty") << QByteArray() << QString();
    }
    void checkShowsTheWholeBody() {
        QFETCH(QByteArray, body);
        QFETCH(QString, shown);
        LoopbackServer server;
        server.routes["/actual/2.3.txt"] = {LoopbackServer::ok(body)};
        QtHttpClient http;
        UpdateChecker checker(http, server.base());
        QSignalSpy checked(&checker, &UpdateChecker::checked);
        QSignalSpy failed(&checker, &UpdateChecker::checkFailed);
        QVERIFY(checker.check());
        QVERIFY(checker.busy());
        QVERIFY(checked.wait(Bound));
        QCOMPARE(checked.at(0).at(0).toString(), shown);
        QCOMPARE(failed.count(), 0);
        QVERIFY(!checker.busy());
        QCOMPARE(UpdateChecker::OwnVersion, QStringLiteral("2.8"));
    }

    // A version text longer than a few KB is an error, not a label of megabytes.
    void overlongVersionTextFails_data() {
        QTest::addColumn<QByteArray>("response");
        const QByteArray big(5000, '9');
        QTest::newRow("announced") << LoopbackServer::ok(big);
        QTest::newRow("unannounced") << "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + big;
        QTest::newRow("chunked")
            << "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n" +
                   QByteArray::number(big.size(), 16) + "\r\n" + big + "\r\n0\r\n\r\n";
    }
    void overlongVersionTextFails() {
        QFETCH(QByteArray, response);
        LoopbackServer server;
        server.routes["/actual/2.3.txt"] = {response};
        QtHttpClient http;
        UpdateChecker checker(http, server.base());
        QSignalSpy checked(&checker, &UpdateChecker::checked);
        QSignalSpy failed(&checker, &UpdateChecker::checkFailed);
        QVERIFY(checker.check());
        QVERIFY(failed.wait(Bound));
        QCOMPARE(failed.at(0).at(0).toString(), QStringLiteral("The response is larger than 4096 bytes"));
        QCOMPARE(checked.count(), 0);

        server.routes["/actual/2.3.txt"] = {LoopbackServer::ok(QByteArray(4096, '9'))};
        QVERIFY(checker.check());
        QVERIFY(checked.wait(Bound));
        QCOMPARE(checked.at(0).at(0).toString().size(), 4096);
    }

    void requestCarriesTheTwoHeaders() {
        LoopbackServer server;
        server.routes["/actual/2.3.txt"] = {LoopbackServer::ok("2.9")};
        QtHttpClient http;
        UpdateChecker checker(http, server.base());
        QSignalSpy checked(&checker, &UpdateChecker::checked);
        checker.check();
        QVERIFY(checked.wait(Bound));
        QCOMPARE(server.requests.size(), 1);
        QVERIFY(server.requests[0].startsWith("GET /actual/2.3.txt HTTP/1.1\r\n"));
        QCOMPARE(server.header(0, "Accept"), QByteArray("text/html, */*"));
        QCOMPARE(server.header(0, "User-Agent"), QByteArray("Mozilla/3.0 (compatible; Indy Library)"));
    }

    void checkFailures_data() {
        QTest::addColumn<QByteArray>("response"); // empty: nobody listens
        QTest::newRow("404") << LoopbackServer::status("404 Not Found");
        QTest::newRow("500") << LoopbackServer::status("500 Internal Server Error");
        QTest::newRow("closed port") << QByteArray();
    }
    void checkFailures() {
        QFETCH(QByteArray, response);
        LoopbackServer server;
        server.routes["/actual/2.3.txt"] = {response};
        const QString base =
            response.isEmpty() ? QStringLiteral("http://127.0.0.1:%1").arg(ClosedPort()) : server.base();
        QtHttpClient http;
        UpdateChecker checker(http, base);
        QSignalSpy checked(&checker, &UpdateChecker::checked);
        QSignalSpy failed(&checker, &UpdateChecker::checkFailed);
        checker.check();
        QVERIFY(failed.wait(Bound));
        QCOMPARE(checked.count(), 0);
        QVERIFY(!checker.busy());
    }

    // The client is handed in and outlives the checker: a checker that ends mid-transfer leaves it
    // idle for the next one, and its own late callbacks do nothing.
    void checkerEndingMidTransferFreesTheClient() {
        LoopbackServer server;
        server.routes["/actual/2.3.txt"] = {"HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n", true};
        QtHttpClient http;
        {
            UpdateChecker first(http, server.base());
            QVERIFY(first.check());
            QTRY_VERIFY_WITH_TIMEOUT(!server.requests.isEmpty(), Bound);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!http.busy(), Bound);
        server.routes["/actual/2.3.txt"] = {LoopbackServer::ok("2.9")};
        UpdateChecker second(http, server.base());
        QSignalSpy checked(&second, &UpdateChecker::checked);
        QVERIFY(second.check());
        QVERIFY(checked.wait(Bound));
        QCOMPARE(checked.first().first().toString(), QStringLiteral("2.9"));
    }

    void stalledTransferTimesOut() {
        LoopbackServer server;
        server.routes["/actual/2.3.txt"] = {"HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n", true};
        QtHttpClient http(300);
        UpdateChecker checker(http, server.base());
        QSignalSpy failed(&checker, &UpdateChecker::checkFailed);
        checker.check();
        QVERIFY(failed.wait(Bound));
    }

    void proxyIsUsedOnlyWhenSet() {
        LoopbackServer origin;
        origin.routes["/actual/2.3.txt"] = {LoopbackServer::ok("direct")};
        LoopbackServer proxy; // answers itself, recording what it was asked
        proxy.fallback = {LoopbackServer::ok("via proxy")};
        QtHttpClient http;
        UpdateChecker checker(http, origin.base());
        QSignalSpy checked(&checker, &UpdateChecker::checked);

        checker.setProxy(QStringLiteral("127.0.0.1"), proxy.port());
        checker.check();
        QVERIFY(checked.wait(Bound));
        QCOMPARE(checked.takeFirst().at(0).toString(), QStringLiteral("via proxy"));
        QCOMPARE(proxy.requests.size(), 1);
        QVERIFY(
            proxy.requests[0].startsWith("GET " + origin.base().toUtf8() + "/actual/2.3.txt HTTP/1.1\r\n"));
        QCOMPARE(proxy.header(0, "User-Agent"), QByteArray("Mozilla/3.0 (compatible; Indy Library)"));
        QCOMPARE(origin.requests.size(), 0);

        checker.setProxy(QString(), proxy.port()); // no host: no proxy, whatever the port
        checker.check();
        QVERIFY(checked.wait(Bound));
        QCOMPARE(checked.takeFirst().at(0).toString(), QStringLiteral("direct"));
        QCOMPARE(proxy.requests.size(), 1);
        QCOMPARE(origin.requests.size(), 1);
    }

    void unreachableOrInvalidProxyFails_data() {
        QTest::addColumn<int>("port");
        QTest::newRow("nobody listens") << int(ClosedPort());
        QTest::newRow("port 0") << 0;
        QTest::newRow("port out of range") << 70000;
    }
    void unreachableOrInvalidProxyFails() {
        QFETCH(int, port);
        LoopbackServer origin;
        origin.routes["/actual/2.3.txt"] = {LoopbackServer::ok("direct")};
        QtHttpClient http;
        UpdateChecker checker(http, origin.base());
        checker.setProxy(QStringLiteral("127.0.0.1"), port);
        QSignalSpy failed(&checker, &UpdateChecker::checkFailed);
        checker.check();
        QVERIFY(failed.wait(Bound));
        QCOMPARE(origin.requests.size(), 0);
        QVERIFY(!checker.busy());
    }

    void downloadSavesACompleteInstaller() {
        QTemporaryDir appDir;
        const QString target = appDir.filePath(QStringLiteral("InstalZelmoPlayer.exe"));
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old installer");
        old.close();

        QByteArray body(300 * 1024, '\0');
        for (qsizetype i = 0; i < body.size(); ++i)
            body[i] = char(i * 7 % 251);
        LoopbackServer server;
        server.routes["/data/Zelmo_player.exe"] = {LoopbackServer::ok(body)};
        QtHttpClient http;
        UpdateChecker checker(http, server.base());
        QSignalSpy begin(&checker, &UpdateChecker::progressBegin);
        QSignalSpy work(&checker, &UpdateChecker::progressWork);
        QSignalSpy end(&checker, &UpdateChecker::progressEnd);
        QSignalSpy done(&checker, &UpdateChecker::downloaded);
        QSignalSpy failed(&checker, &UpdateChecker::downloadFailed);

        QVERIFY(checker.download(appDir.path() + QLatin1Char('/')));
        QVERIFY(!checker.check()); // one transfer at a time
        QVERIFY(!checker.download(appDir.path() + QLatin1Char('/')));
        QVERIFY(done.wait(Bound));
        QCOMPARE(done.at(0).at(0).toString(), target);
        QCOMPARE(failed.count(), 0);
        QCOMPARE(fileBytes(target), body);
        QCOMPARE(server.requests.size(), 1);
        QCOMPARE(begin.count(), 1);
        QCOMPARE(begin.at(0).at(0).toLongLong(), body.size());
        QVERIFY(!work.isEmpty());
        QCOMPARE(work.last().at(0).toLongLong(), body.size());
        QCOMPARE(end.count(), 1);
        QVERIFY(!QDir(appDir.path())
                     .entryList(QDir::Files)
                     .filter(QStringLiteral("InstalZelmoPlayer.exe."))
                     .size());
    }

    // The installer goes to disk while it arrives: what arrived so far is not held in memory.
    void installerIsStreamedToDisk() {
        QTemporaryDir appDir;
        const QByteArray part(1024 * 1024, 'x');
        LoopbackServer server;
        server.routes["/data/Zelmo_player.exe"] = {
            "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(2 * part.size()) + "\r\n\r\n" + part,
            true};
        QtHttpClient http;
        UpdateChecker checker(http, server.base());
        QSignalSpy failed(&checker, &UpdateChecker::downloadFailed);
        QVERIFY(checker.download(appDir.path() + QLatin1Char('/')));
        // The temporary file may have no name yet (O_TMPFILE): find it among the open files.
        const auto onDisk = [&] {
            qint64 total = 0;
            const QDir fds(QStringLiteral("/proc/self/fd"));
            for (const QString& fd : fds.entryList(QDir::Files | QDir::System)) {
                const QFileInfo link(fds.filePath(fd));
                if (link.symLinkTarget().startsWith(appDir.path() + QLatin1Char('/')))
                    total += QFileInfo(fds.filePath(fd)).size();
            }
            return total;
        };
        QTRY_COMPARE_WITH_TIMEOUT(onDisk(), qint64(part.size()), Bound);
        QCOMPARE(failed.count(), 0);
        checker.abort();
        QVERIFY(failed.count() || failed.wait(Bound));
        QVERIFY(QDir(appDir.path()).isEmpty());
    }

    void failedDownloadWritesNothing_data() {
        QTest::addColumn<QByteArray>("response"); // empty: nobody listens
        QTest::addColumn<bool>("hold");
        QTest::newRow("cut short")
            << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\nConnection: close\r\n\r\n") +
                   QByteArray(1000, 'x')
            << false;
        QTest::newRow("404")
            << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\nConnection: close\r\n\r\nnope")
            << false;
        QTest::newRow("500") << QByteArray(
                                    "HTTP/1.1 500 Oops\r\nContent-Length: 4\r\nConnection: close\r\n\r\nbusy")
                             << false;
        QTest::newRow("closed port") << QByteArray() << false;
        QTest::newRow("no length, no chunks")
            << QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n") + QByteArray(1000, 'x') << false;
        // Qt resends a request whose chunked answer was cut and joins the pieces, reporting success:
        // without an announced length the end cannot be known.
        QTest::newRow("chunked, whole")
            << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n"
                          "3\r\nMZ1\r\n0\r\n\r\n")
            << false;
        QTest::newRow("chunked, cut before the end")
            << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n"
                          "3e8\r\n") +
                   QByteArray(1000, 'x') + "\r\n"
            << false;
        QTest::newRow("aborted") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n") +
                                        QByteArray(100, 'x')
                                 << true;
    }
    void failedDownloadWritesNothing() {
        QFETCH(QByteArray, response);
        QFETCH(bool, hold);
        QTemporaryDir appDir;
        LoopbackServer server;
        server.routes["/data/Zelmo_player.exe"] = {response, hold};
        const QString base =
            response.isEmpty() ? QStringLiteral("http://127.0.0.1:%1").arg(ClosedPort()) : server.base();
        QtHttpClient http;
        UpdateChecker checker(http, base);
        QSignalSpy done(&checker, &UpdateChecker::downloaded);
        QSignalSpy failed(&checker, &UpdateChecker::downloadFailed);
        QSignalSpy end(&checker, &UpdateChecker::progressEnd);
        QSignalSpy begin(&checker, &UpdateChecker::progressBegin);
        checker.download(appDir.path() + QLatin1Char('/'));
        if (hold) {
            QVERIFY(begin.wait(Bound));
            QCOMPARE(begin.at(0).at(0).toLongLong(), 5000);
            checker.abort();
        }
        QVERIFY(failed.count() || failed.wait(Bound));
        QCOMPARE(done.count(), 0);
        QCOMPARE(end.count(), 1);
        QVERIFY(QDir(appDir.path()).isEmpty());
        QVERIFY(!checker.busy());
    }

    void unwritableProgramDirectoryFails() {
        QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("file"));
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        LoopbackServer server;
        server.routes["/data/Zelmo_player.exe"] = {LoopbackServer::ok("MZ")};
        QtHttpClient http;
        UpdateChecker checker(http, server.base());
        QSignalSpy failed(&checker, &UpdateChecker::downloadFailed);
        QSignalSpy notSaved(&checker, &UpdateChecker::saveFailed);
        checker.download(blocker + QLatin1Char('/'));
        QVERIFY(notSaved.wait(Bound));
        QCOMPARE(failed.count(), 0);
        const QString message = notSaved.at(0).at(0).toString();
        const QString prefix =
            QStringLiteral("Unable to write to ") + blocker + QStringLiteral("/InstalZelmoPlayer.exe: ");
        QVERIFY2(message.startsWith(prefix) && message.size() > prefix.size() + 3, qPrintable(message));
    }
};

QTEST_GUILESS_MAIN(TestUpdateChecker)
#include "test_update_checker.moc"
