// The radio player with the real GStreamer engine, playing from a loopback server into the
// PulseAudio null sink, and recording with the real lame.
#include "RadioTestKit.h"

#include "platform/GstAudioEngine.h"
#include "radio/RadioPlayer.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace radiotest;

class TestRadioPlayer : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;
    QString recordDir_;
    StreamServer server_;
    MonitorCapture monitor_;
    std::unique_ptr<RadioPlayer> player_;

    // 128 kbit/s MP3, paced like a live station and looped so that it never ends.
    QByteArray mp3(const QString& tag = "a") const {
        return server_.url("tone.mp3?rate=16000&loop=1&s=" + tag);
    }

    std::unique_ptr<RadioPlayer> makePlayer() {
        auto engine = std::make_unique<GstAudioEngine>();
        engine->setDevice(kSink.toUtf8());
        auto player = std::make_unique<RadioPlayer>(std::move(engine));
        player->StartAudio();
        return player;
    }

    // The player says it plays and the sink carries sound (the player's word alone could hide audio
    // captured before this station started).
    bool waitForSound(int timeoutMs = 8000) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs) {
            if (player_->isPlaying() && monitor_.recentLevel() > kSound)
                return true;
            QTest::qWait(50);
        }
        return false;
    }

    // Silence that lasts: the recent audio is silent and stays so for half a second.
    bool waitForSilence(int timeoutMs = 3000) {
        QElapsedTimer t;
        t.start();
        while (monitor_.recentLevel() > kSilence && t.elapsed() < timeoutMs)
            QTest::qWait(50);
        return monitor_.levelOver(500) < kSilence;
    }

    void waitForFiles() { QTRY_VERIFY_WITH_TIMEOUT(!player_->hasUnfinishedRecordings(), 10000); }

private slots:
    void initTestCase() {
        QByteArray sinks;
        if (!run("pactl", {"list", "short", "sinks"}, &sinks) || !sinks.contains(kSink.toUtf8()))
            QSKIP("No PulseAudio server with the null sink \"testsink\" (scripts/test.sh starts one).");
        QVERIFY(dir_.isValid());
        for (const char* name : {"tone.mp3", "tone.ogg", "tone.wma"})
            QVERIFY2(makeTone(dir_.filePath(name), 20), name);
        QVERIFY(server_.start(dir_.path()));
        auto write = [this](const QString& name, const QByteArray& text) {
            QFile f(dir_.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text);
        };
        // BOM, CRLF, comments and a relative entry, as found in the wild.
        write("list.m3u", "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:-1,Tone\r\n\r\ntone.mp3?rate=16000&loop=1\r\n");
        write("list.pls", "[playlist]\nNumberOfEntries=1\nFile1=" + mp3("pls") + "\nTitle1=Tone\n");
        write("station", "#EXTM3U\n" + mp3("sniffed") + "\n");
        recordDir_ = dir_.filePath("rec");
        QVERIFY(QDir().mkpath(recordDir_));
        QVERIFY(QDir::setCurrent(recordDir_));
        QVERIFY(monitor_.start());
    }

    void init() { player_ = makePlayer(); }
    void cleanup() { player_.reset(); }

    void startAudioReportsWmaSupport() {
        RadioPlayer player(std::make_unique<GstAudioEngine>());
        QVERIFY(player.StartAudio()); // asfdemux and a WMA decoder are installed here
    }

    void playsStationsAndStops_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("mp3") << "tone.mp3?rate=16000&loop=1";
        QTest::newRow("ogg vorbis") << "tone.ogg";
        QTest::newRow("wma in asf") << "tone.wma";
        QTest::newRow("m3u playlist") << "list.m3u";
        QTest::newRow("pls playlist") << "list.pls?x=1";
        QTest::newRow("playlist without suffix") << "station?type=application/octet-stream";
    }
    void playsStationsAndStops() {
        QFETCH(QString, path);
        player_->PlayStream(server_.url(path));
        QVERIFY2(waitForSound(), "no sound on the sink");
        QVERIFY(player_->isPlaying());
        player_->StopStream();
        QVERIFY(waitForSilence());
        player_->StopStream(); // a second press does nothing
        QVERIFY(!player_->isPlaying());
    }

    void volumeBelongsToTheStream() {
        player_->SetVolume(0.3f); // nothing plays yet: no effect, no failure
        player_->StopStream();
        player_->PlayStream(mp3());
        QVERIFY(waitForSound());
        QTest::qWait(300);
        const double full = monitor_.levelOver(600);
        QVERIFY(full > kSound);

        player_->SetVolume(0.5f);
        QTest::qWait(600);
        const double half = monitor_.levelOver(600);
        QVERIFY2(half > 0.4 * full && half < 0.6 * full, qPrintable(QString("%1 vs %2").arg(half).arg(full)));

        player_->SetVolume(0.0f);
        QVERIFY(waitForSilence());

        // Another station starts at full volume whatever the last setting was.
        player_->PlayStream(mp3("b"));
        QVERIFY(waitForSound());
        QTest::qWait(300);
        const double again = monitor_.levelOver(600);
        QVERIFY2(again > 0.8 * full && again < 1.25 * full,
                 qPrintable(QString("%1 vs %2").arg(again).arg(full)));
    }

    void deadStationLeavesSilence_data() {
        QTest::addColumn<QByteArray>("url");
        QTest::newRow("server never answers") << server_.url("hang");
        QTest::newRow("headers, then nothing") << server_.url("headers-only");
        QTest::newRow("closed port") << QByteArray("http://127.0.0.1:9/tone.mp3");
        QTest::newRow("missing file") << server_.url("nothing-here.mp3");
        QTest::newRow("not a URL") << QByteArray("::not a url");
    }
    void deadStationLeavesSilence() {
        QFETCH(QByteArray, url);
        player_->PlayStream(mp3());
        QVERIFY(waitForSound());
        player_->PlayStream(url);
        QVERIFY(waitForSilence()); // the previous station was freed at once
        // The open gives up on its own, and the UI thread was never held.
        QTRY_VERIFY_WITH_TIMEOUT(!player_->isOpening(), 8000);
        QVERIFY(!player_->isPlaying());
        QString why;
        QVERIFY(!player_->StartRecording("dead", &why));
        QVERIFY(!why.isEmpty());
        QVERIFY(!QFile::exists("dead.mp3"));
    }

    void recordsTheStreamToMp3() {
        QSignalSpy ended(player_.get(), &RadioPlayer::recordingEnded);
        player_->PlayStream(mp3());
        QVERIFY(waitForSound());
        QString why;
        QVERIFY2(player_->StartRecording("My Record", &why), qPrintable(why));
        QVERIFY(player_->isRecording());
        QTest::qWait(3000);
        player_->StopRecording();
        QCOMPARE(ended.size(), 1);
        QVERIFY(!player_->isRecording());
        QVERIFY(player_->isPlaying()); // stopping the recording leaves the station playing
        waitForFiles();
        const Decoded d = decode(recordDir_ + "/My Record.mp3");
        QVERIFY(d.ok);
        QVERIFY2(d.seconds > 2.0 && d.seconds < 4.6, qPrintable(QString::number(d.seconds)));
        QVERIFY(d.rms > kSound);
        player_->StopRecording(); // nothing attached: ignored
        QCOMPARE(ended.size(), 1);
    }

    void recordingEndsWithItsStream() {
        QSignalSpy ended(player_.get(), &RadioPlayer::recordingEnded);
        player_->PlayStream(mp3());
        QVERIFY(waitForSound());

        // A new station ends the recording; the file is complete.
        QVERIFY(player_->StartRecording("first"));
        QTest::qWait(1500);
        player_->PlayStream(mp3("next"));
        QCOMPARE(ended.size(), 1);
        QVERIFY(!player_->isRecording());
        QVERIFY(waitForSound());

        // Recording again under one name ends the running encoder before the next one starts.
        QVERIFY(player_->StartRecording("second"));
        QTest::qWait(1000);
        QVERIFY(player_->StartRecording("second"));
        QCOMPARE(ended.size(), 2);
        QTest::qWait(1500);
        player_->StopStream(); // radio off ends it too
        QCOMPARE(ended.size(), 3);
        waitForFiles();
        for (const char* name : {"first.mp3", "second.mp3"}) {
            const Decoded d = decode(recordDir_ + "/" + name);
            QVERIFY2(d.ok && d.seconds > 0.8 && d.rms > kSound, name);
        }

        // Shutting down completes the file before it returns.
        player_->PlayStream(mp3("last"));
        QVERIFY(waitForSound());
        QVERIFY(player_->StartRecording("at exit"));
        QTest::qWait(1500);
        player_->ShutdownAudio();
        QCOMPARE(ended.size(), 4);
        const Decoded d = decode(recordDir_ + "/at exit.mp3");
        QVERIFY(d.ok && d.seconds > 0.8);
    }

    void recordingNeedsAStreamAndAnEncoder() {
        QString why;
        QVERIFY(!player_->StartRecording("none", &why));
        QVERIFY(!why.isEmpty());

        player_->PlayStream(mp3());
        QVERIFY(waitForSound());
        player_->setEncoderProgram("zelmo-no-such-encoder");
        why.clear();
        QVERIFY(!player_->StartRecording("missing", &why));
        QVERIFY2(why.contains("zelmo-no-such-encoder"), qPrintable(why));
        QVERIFY(!player_->isRecording());
        QVERIFY(!QFile::exists("missing.mp3"));
        QVERIFY(player_->isPlaying());
    }
};

QTEST_GUILESS_MAIN(TestRadioPlayer)
#include "test_radio_player.moc"
