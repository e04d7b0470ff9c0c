// The MPRIS service on a real session bus, driven by gdbus as a desktop would drive it.
#include "desktop/MprisService.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

namespace {
// Runs gdbus with the event loop turning, so that our own service can answer it.
QString gdbus(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("gdbus"), args);
    if (!p.waitForStarted(5000))
        return QStringLiteral("<no gdbus>");
    QElapsedTimer t;
    t.start();
    while (p.state() != QProcess::NotRunning && t.elapsed() < 20000) {
        QCoreApplication::processEvents();
        p.waitForFinished(10);
    }
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
}

QString call(const QString& method, const QStringList& args = {}) {
    return gdbus(QStringList{"call", "--session", "--dest", MprisService::kServiceName, "--object-path",
                             MprisService::kObjectPath, "--method", method} +
                 args);
}

QString get(const QString& interface, const QString& property) {
    return call(QStringLiteral("org.freedesktop.DBus.Properties.Get"), {interface, property});
}

const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
} // namespace

// PropertiesChanged as a separate client of the bus receives it.
class ChangeWatcher : public QObject {
    Q_OBJECT
public:
    QList<QVariantMap> changes;
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("watcher"));
    ChangeWatcher() {
        bus.connect(QString(), MprisService::kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                    QStringLiteral("PropertiesChanged"), this,
                    SLOT(onChanged(QString, QVariantMap, QStringList)));
    }
    bool saw(const QString& key) const {
        for (const auto& c : changes)
            if (c.contains(key))
                return true;
        return false;
    }
public slots:
    void onChanged(const QString&, const QVariantMap& changed, const QStringList&) { changes << changed; }
};

class TestMpris : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("no session bus: run under dbus-run-session");
    }

    void identityAndCapabilities() {
        MprisService service;
        QVERIFY(service.publish());
        QCOMPARE(service.busName(), MprisService::kServiceName);
        QCOMPARE(get(kRoot, "Identity"), QStringLiteral("(<'Zelmo Player'>,)"));
        QCOMPARE(get(kRoot, "DesktopEntry"), QStringLiteral("(<'zelmo-player'>,)"));
        QCOMPARE(get(kRoot, "CanQuit"), QStringLiteral("(<true>,)"));
        // Nothing to play yet: nothing to step through, nothing to start.
        QCOMPARE(get(kPlayer, "CanGoNext"), QStringLiteral("(<false>,)"));
        QCOMPARE(get(kPlayer, "CanGoPrevious"), QStringLiteral("(<false>,)"));
        QCOMPARE(get(kPlayer, "CanPlay"), QStringLiteral("(<false>,)"));
        QCOMPARE(get(kPlayer, "PlaybackStatus"), QStringLiteral("(<'Stopped'>,)"));
    }

    void stateReachesTheBusAndIsAnnounced() {
        MprisService service;
        QVERIFY(service.publish());
        ChangeWatcher watcher;
        service.setStatus(MprisService::Status::Playing);
        service.setTrack({QStringLiteral("Кино - Группа крови - live"), QStringLiteral("Радио Лоопбэк"),
                          QUrl(QStringLiteral("http://127.0.0.1:9/logo.png")),
                          QUrl(QStringLiteral("http://127.0.0.1:9/live"))});
        service.setVolume(0.37);
        QTRY_VERIFY_WITH_TIMEOUT(
            watcher.saw("Metadata") && watcher.saw("PlaybackStatus") && watcher.saw("Volume"), 20000);
        QCOMPARE(get(kPlayer, "PlaybackStatus"), QStringLiteral("(<'Playing'>,)"));
        const QString meta = get(kPlayer, "Metadata");
        // The title whole, as decoded; the station as the album.
        QVERIFY2(meta.contains(QStringLiteral("'xesam:title': <'Кино - Группа крови - live'>")),
                 qPrintable(meta));
        QVERIFY2(meta.contains(QStringLiteral("'xesam:album': <'Радио Лоопбэк'>")), qPrintable(meta));
        QVERIFY2(meta.contains(QStringLiteral("'xesam:artist': <['Радио Лоопбэк']>")), qPrintable(meta));
        QVERIFY2(meta.contains(QStringLiteral("'mpris:artUrl': <'http://127.0.0.1:9/logo.png'>")),
                 qPrintable(meta));
        QVERIFY2(meta.contains(QStringLiteral("'xesam:url': <'http://127.0.0.1:9/live'>")), qPrintable(meta));
        QCOMPARE(get(kPlayer, "Volume"), QStringLiteral("(<0.37>,)"));
    }

    void controlsBecomeRequests() {
        MprisService service;
        QVERIFY(service.publish());
        QSignalSpy play(&service, &MprisService::playRequested);
        QSignalSpy stop(&service, &MprisService::stopRequested);
        QSignalSpy volume(&service, &MprisService::volumeRequested);
        QSignalSpy next(&service, &MprisService::nextRequested);
        QSignalSpy previous(&service, &MprisService::previousRequested);
        QSignalSpy quit(&service, &MprisService::quitRequested);

        call(kPlayer + ".PlayPause"); // nothing to play yet: nothing happens
        call(kPlayer + ".Next");
        QCOMPARE(play.count() + next.count(), 0);
        service.setCanPlay(true);
        service.setCanGoNext(true);
        service.setCanGoPrevious(true);
        QCOMPARE(get(kPlayer, "CanGoNext"), QStringLiteral("(<true>,)"));
        call(kPlayer + ".PlayPause"); // stopped: play the last station
        QCOMPARE(play.count(), 1);
        service.setStatus(MprisService::Status::Playing);
        call(kPlayer + ".PlayPause"); // playing: radio off
        QCOMPARE(stop.count(), 1);
        call(kPlayer + ".Play"); // already playing: nothing to do
        QCOMPARE(play.count(), 1);
        call(kPlayer + ".Stop");
        QCOMPARE(stop.count(), 2);
        call(kPlayer + ".Next");
        call(kPlayer + ".Previous");
        call(kPlayer + ".Previous");
        QCOMPARE(next.count(), 1);
        QCOMPARE(previous.count(), 2);
        QCOMPARE(play.count() + stop.count(), 3);
        call(kRoot + ".Quit");
        QCOMPARE(quit.count(), 1);

        QSignalSpy open(&service, &MprisService::openUriRequested);
        call(kPlayer + ".OpenUri", {"http://127.0.0.1:9/live"});
        call(kPlayer + ".OpenUri", {"file:///etc/passwd"}); // not a stream address: ignored
        QCOMPARE(open.count(), 1);
        QCOMPARE(open.at(0).at(0).toString(), QStringLiteral("http://127.0.0.1:9/live"));

        call(QStringLiteral("org.freedesktop.DBus.Properties.Set"), {kPlayer, "Volume", "<0.25>"});
        QCOMPARE(volume.count(), 1);
        QCOMPARE(volume.at(0).at(0).toDouble(), 0.25);
        call(QStringLiteral("org.freedesktop.DBus.Properties.Set"), {kPlayer, "Volume", "<7.0>"});
        QCOMPARE(volume.count(), 2);
        QCOMPARE(volume.at(1).at(0).toDouble(), 1.0); // clamped
    }
};

QTEST_GUILESS_MAIN(TestMpris)
#include "test_mpris.moc"
