#include "desktop/SingleInstance.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// A listener at the socket's name that accepts, reads, and answers one byte every interval: a
// hostile or broken peer.
const char* const kDripper = R"(
import os, socket, sys, time
s = socket.socket(socket.AF_UNIX)
s.bind(sys.argv[1]); s.listen(8)
print("ready", flush=True)
c, _ = s.accept()
for _ in range(60):
    c.send(b"x"); time.sleep(float(sys.argv[2]))
)";
} // namespace

// What a crashed or older copy may leave beside the socket must not keep the next start from
// running the program (waiting for it to turn stale, or giving up and running unguarded).
class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void leftoversDoNotBlock_data() {
        QTest::addColumn<QByteArray>("content"); // of <socket>.lock; "<dir>" makes it a folder
        QTest::newRow("nothing") << QByteArray();
        QTest::newRow("empty lock file, writer killed before filling it") << QByteArray("<empty>");
        QTest::newRow("lock of a process on another host") << QByteArray("4242\nfar-away-host\nzelmo\n");
        QTest::newRow("lock path is a folder") << QByteArray("<dir>");
    }
    void leftoversDoNotBlock() {
        QFETCH(QByteArray, content);
        QTemporaryDir runtime;
        const QString name = SingleInstance::ServerName(runtime.path(), runtime.filePath("Setting.ini"));
        const QString lockPath = name + QStringLiteral(".lock");
        if (content == "<dir>") {
            QVERIFY(QDir().mkpath(lockPath + QStringLiteral("/inside")));
        } else if (!content.isEmpty()) {
            QFile lock(lockPath);
            QVERIFY(lock.open(QIODevice::WriteOnly));
            if (content != "<empty>")
                lock.write(content);
            // Dated ahead (a clock that was set back): never "old enough" to count as stale.
            QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(3600),
                                     QFileDevice::FileModificationTime));
        }
        SingleInstance first(name);
        QCOMPARE(first.claim(2000), SingleInstance::Role::Primary);
    }

    // A peer that answers a byte at a time cannot hold a start beyond its deadline.
    void aDrippingListenerCannotHoldAStart() {
        QTemporaryDir runtime;
        const QString name = SingleInstance::ServerName(runtime.path(), runtime.filePath("Setting.ini"));
        QProcess dripper;
        dripper.start(QStringLiteral("/usr/bin/python3"),
                      {QStringLiteral("-c"), QLatin1String(kDripper), name, QStringLiteral("0.5")});
        QVERIFY(dripper.waitForReadyRead(30000));
        QElapsedTimer t;
        t.start();
        SingleInstance later(name);
        later.claim(1000);
        // Generous for a busy machine; the dripper would keep it for 30 s.
        QVERIFY2(t.elapsed() < 10000, qPrintable(QString::number(t.elapsed())));
        dripper.kill();
        dripper.waitForFinished();
    }

    // Another user's socket, or a link to a socket, at the name is never asked: a planted one
    // would make the start end without a window.
    void socketsOfOthersAreNotAsked_data() {
        QTest::addColumn<bool>("link");
        QTest::newRow("another user's socket") << false;
        QTest::newRow("a link to a socket") << true;
    }
    void socketsOfOthersAreNotAsked() {
        QFETCH(bool, link);
        if (!link && ::geteuid() != 0)
            QSKIP("making a socket of another user needs root");
        QTemporaryDir runtime;
        const QString name = SingleInstance::ServerName(runtime.path(), runtime.filePath("Setting.ini"));
        const QString planted = link ? runtime.filePath("elsewhere") : name;
        QLocalServer foreign;
        QVERIFY(foreign.listen(planted));
        if (link)
            QCOMPARE(::symlink(QFile::encodeName(planted).constData(), QFile::encodeName(name).constData()),
                     0);
        else
            QCOMPARE(::lchown(QFile::encodeName(name).constData(), 4242, 4242), 0);
        SingleInstance later(name);
        QVERIFY(later.claim(1000) != SingleInstance::Role::Secondary);
        QTest::qWait(100);
        QVERIFY(!foreign.hasPendingConnections());
    }

    // The listener keeps a few short connections with short requests only; a real later start
    // still gets through afterwards.
    void theListenerBoundsWhatOthersCanMakeItHold() {
        QTemporaryDir runtime;
        const QString name = SingleInstance::ServerName(runtime.path(), runtime.filePath("Setting.ini"));
        SingleInstance running(name);
        QCOMPARE(running.claim(1000), SingleInstance::Role::Primary);
        int activations = 0;
        connect(&running, &SingleInstance::activationRequested, this, [&activations] { ++activations; });

        std::vector<std::unique_ptr<QLocalSocket>> idle;
        for (int i = 0; i < 30; ++i) {
            idle.push_back(std::make_unique<QLocalSocket>());
            idle.back()->connectToServer(name);
        }
        auto connected = [&idle] {
            return std::count_if(idle.begin(), idle.end(),
                                 [](const auto& s) { return s->state() == QLocalSocket::ConnectedState; });
        };
        QTRY_VERIFY_WITH_TIMEOUT(connected() <= 8, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(connected(), 0, 20000); // idle ones are dropped too

        QLocalSocket flood;
        flood.connectToServer(name);
        QVERIFY(flood.waitForConnected(5000));
        const QByteArray block(1 << 20, 'a'); // no line end
        for (int i = 0; i < 64 && flood.state() == QLocalSocket::ConnectedState; ++i) {
            flood.write(block);
            flood.waitForBytesWritten(100);
            QCoreApplication::processEvents();
        }
        QTRY_VERIFY_WITH_TIMEOUT(flood.state() != QLocalSocket::ConnectedState, 10000);

        QLocalSocket later;
        later.connectToServer(name);
        QVERIFY(later.waitForConnected(5000));
        later.write("activate\n");
        QTRY_COMPARE_WITH_TIMEOUT(activations, 1, 10000);
        QCOMPARE(activations, 1);
    }

    // A socket nobody listens on any more (the copy was killed) is taken over.
    void staleSocketIsTakenOver() {
        QTemporaryDir runtime;
        const QString name = SingleInstance::ServerName(runtime.path(), runtime.filePath("Setting.ini"));
        {
            SingleInstance crashed(name);
            QCOMPARE(crashed.claim(2000), SingleInstance::Role::Primary);
        }
        QFile leftover(name);
        QVERIFY(leftover.open(QIODevice::WriteOnly)); // a plain file where the socket was
        leftover.close();
        SingleInstance next(name);
        QCOMPARE(next.claim(2000), SingleInstance::Role::Primary);
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "test_single_instance.moc"
