#include "desktop/SingleInstance.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
