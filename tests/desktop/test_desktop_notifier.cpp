// Song-change notifications reach a notification service on a real session bus.
#include "desktop/DesktopNotifier.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QTest>

// A stand-in notification daemon: the bus is real, only the bubble is not drawn.
class NotificationDaemon : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Shown {
        QString app;
        uint replaces;
        QString summary;
        QString body;
    };
    QList<Shown> shown;
    QStringList capabilities{QStringLiteral("body"), QStringLiteral("body-markup")};
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("daemon"));
    bool start() {
        return bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                                  QDBusConnection::ExportAllSlots) &&
               bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
    }
public slots:
    QStringList GetCapabilities() { return capabilities; }
    uint Notify(const QString& app, uint replaces, const QString&, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap&, int) {
        shown << Shown{app, replaces, summary, body};
        return replaces ? replaces : 77;
    }
};

class TestDesktopNotifier : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("no session bus: run under dbus-run-session");
    }

    void eachTitleReplacesThePreviousBubble() {
        DesktopNotifier notifier;
        // Without a daemon nothing happens and nothing waits.
        notifier.notify(QStringLiteral("Радио"), QStringLiteral("nobody listens"));
        QTest::qWait(300);

        NotificationDaemon daemon;
        QVERIFY(daemon.start());
        notifier.notify(QStringLiteral("Радио Лоопбэк"), QStringLiteral("Кино - Группа крови"));
        QTRY_COMPARE_WITH_TIMEOUT(daemon.shown.size(), 1, 20000);
        QCOMPARE(daemon.shown[0].app, QStringLiteral("Zelmo Player"));
        QCOMPARE(daemon.shown[0].summary, QStringLiteral("Радио Лоопбэк"));
        QCOMPARE(daemon.shown[0].body, QStringLiteral("Кино - Группа крови"));
        QCOMPARE(daemon.shown[0].replaces, 0u);
        QTRY_COMPARE_WITH_TIMEOUT(notifier.lastId(), 77u, 20000); // the id comes back asynchronously
        notifier.notify(QStringLiteral("Радио Лоопбэк"), QStringLiteral("ДДТ - Осень"));
        QTRY_COMPARE_WITH_TIMEOUT(daemon.shown.size(), 2, 20000);
        QCOMPARE(daemon.shown[1].replaces, 77u);
    }

    // A service that reads markup in the body gets the title escaped; one that does not, as it is.
    void titlesReachTheServiceAsText_data() {
        QTest::addColumn<bool>("markup");
        QTest::addColumn<QString>("expected");
        QTest::newRow("body-markup") << true
                                     << QStringLiteral(
                                            "AC/DC &amp; &lt;Friends&gt; - &lt;b&gt;Live&lt;/b&gt;");
        QTest::newRow("plain body") << false << QStringLiteral("AC/DC & <Friends> - <b>Live</b>");
    }
    void titlesReachTheServiceAsText() {
        QFETCH(bool, markup);
        QFETCH(QString, expected);
        NotificationDaemon daemon;
        if (!markup)
            daemon.capabilities = {QStringLiteral("body")};
        QVERIFY(daemon.start());
        DesktopNotifier notifier;
        const QString title = QStringLiteral("AC/DC & <Friends> - <b>Live</b>");
        notifier.notify(QStringLiteral("Rock & <Roll> FM"), title);
        QTRY_COMPARE_WITH_TIMEOUT(daemon.shown.size(), 1, 20000);
        // Before the service has answered what it reads, the body is escaped: never read as markup.
        QCOMPARE(daemon.shown[0].body, DesktopNotifier::bodyFor(title, true));
        QCOMPARE(daemon.shown[0].summary, QStringLiteral("Rock & <Roll> FM")); // the summary is never markup
        // The service's answers come in order: once the bubble's id is back, so is what it reads.
        QTRY_COMPARE_WITH_TIMEOUT(notifier.lastId(), 77u, 20000);
        notifier.notify(QStringLiteral("Rock & <Roll> FM"), title);
        QTRY_COMPARE_WITH_TIMEOUT(daemon.shown.size(), 2, 20000);
        QCOMPARE(daemon.shown[1].body, expected);
        QVERIFY(daemon.bus.unregisterService(QStringLiteral("org.freedesktop.Notifications")));
    }
};

QTEST_GUILESS_MAIN(TestDesktopNotifier)
#include "test_desktop_notifier.moc"
