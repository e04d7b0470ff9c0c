// A TV channel chosen while GStreamer's module still loads: the choice returns at once and the UI
// thread turns on; the wait ends by itself within its bound, and a module that fails to load is
// reported. The module here is a named pipe nobody writes to, so its load hangs until the test
// opens the other end (this test links no GStreamer code of its own, as the program does).
#include "platform/MediaBackend.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using Status = VideoPlayer::Status;

class TestVideoModuleWait : public QObject {
    Q_OBJECT
private slots:
    void aChannelNeverWaitsForTheModule();
};

void TestVideoModuleWait::aChannelNeverWaitsForTheModule() {
    QTemporaryDir dir;
    const QByteArray pipe = QFile::encodeName(dir.filePath("zelmo-gst.so"));
    QVERIFY(mkfifo(pipe.constData(), 0600) == 0);
    qputenv("ZELMO_GST_MODULE", pipe);

    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
    ticker.start(20);

    auto player = MediaBackend::CreateVideoPlayer();
    QList<Status> seen;
    connect(player.get(), &VideoPlayer::statusChanged, this, [&seen](Status s) { seen << s; });
    QElapsedTimer t;
    t.start();
    player->play(QUrl(QStringLiteral("http://127.0.0.1:9/live.m3u8")));
    // Milliseconds when idle; the bound leaves room for a very busy machine.
    QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
    QCOMPARE(player->status(), Status::Connecting);

    // The load hangs: the loop turns meanwhile, and the wait ends after its bound of 10 s.
    QTRY_VERIFY_WITH_TIMEOUT(player->status() != Status::Connecting, 60000);
    QVERIFY2(t.elapsed() >= 9500, qPrintable(QString::number(t.elapsed())));
    QCOMPARE(player->status(), Status::Failed);
    QVERIFY2(player->reason().contains("still loading"), qPrintable(player->reason()));
    QVERIFY2(ticks > 100, qPrintable(QString::number(ticks)));
    QCOMPARE(seen, (QList<Status>{Status::Connecting, Status::Failed}));

    // Asked again, it waits again, and the module's failure to load reaches it as soon as it
    // happens (the other end of the pipe gives no library).
    player->play(QUrl(QStringLiteral("http://127.0.0.1:9/live.m3u8")));
    QCOMPARE(player->status(), Status::Connecting);
    const int end = open(pipe.constData(), O_WRONLY);
    QVERIFY(end >= 0);
    QVERIFY(write(end, "not a library", 13) == 13);
    close(end);
    t.restart();
    QTRY_COMPARE_WITH_TIMEOUT(player->status(), Status::Failed, 30000);
    QVERIFY2(t.elapsed() < 9000, qPrintable(QString::number(t.elapsed())));
    QVERIFY2(player->reason().contains("cannot be loaded"), qPrintable(player->reason()));

    // Stopping while nothing loads any more is harmless; a later play fails at once, saying why.
    player->stop();
    QCOMPARE(player->status(), Status::Idle);
    player->play(QUrl(QStringLiteral("http://127.0.0.1:9/live.m3u8")));
    QCOMPARE(player->status(), Status::Failed);
    QVERIFY(player->reason().contains("cannot be loaded"));
}

QTEST_MAIN(TestVideoModuleWait)
#include "test_video_module_wait.moc"
