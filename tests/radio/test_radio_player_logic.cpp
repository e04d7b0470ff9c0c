// The radio player's own decisions (what it opens, frees, records and turns up) over an engine
// without sound; test_radio_player covers the same player with GStreamer and real audio.
#include "common/FakeAudioEngine.h"
#include "radio/RadioPlayer.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestRadioPlayerLogic : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;
    std::shared_ptr<FakeAudioLog> log_;
    std::unique_ptr<RadioPlayer> player_;

    void startPlayer() {
        player_ = std::make_unique<RadioPlayer>(std::make_unique<FakeAudioEngine>(log_));
        player_->StartAudio();
    }
    FakeAudioStream& current() { return *log_->current(); }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(QDir::setCurrent(dir_.path()));
    }
    void init() {
        log_ = std::make_shared<FakeAudioLog>();
        player_.reset();
    }
    void cleanup() {
        if (player_) {
            player_->ShutdownAudio();
            QTRY_VERIFY_WITH_TIMEOUT(!player_->hasUnfinishedRecordings(), 10000);
        }
        player_.reset();
    }

    void startAudio_data() {
        QTest::addColumn<bool>("initWorks");
        QTest::addColumn<bool>("decodesWma");
        QTest::addColumn<bool>("reported");
        QTest::addColumn<bool>("plays");
        QTest::newRow("all there") << true << true << true << true;
        QTest::newRow("no WMA decoder: the caller warns, other stations play")
            << true << false << false << true;
        QTest::newRow("no audio at all") << false << true << false << false;
    }
    void startAudio() {
        QFETCH(bool, initWorks);
        QFETCH(bool, decodesWma);
        log_->initWorks = initWorks;
        log_->decodesWma = decodesWma;
        player_ = std::make_unique<RadioPlayer>(std::make_unique<FakeAudioEngine>(log_));
        QTEST(player_->StartAudio(), "reported");
        player_->PlayStream("http://127.0.0.1:1/a.mp3");
        QTEST(log_->current() != nullptr, "plays");
        player_->ShutdownAudio();
        QCOMPARE(log_->shutdowns, initWorks ? 1 : 0);
        QVERIFY(log_->live.empty());
    }

    void opensOneStationAtATime() {
        startPlayer();
        player_->PlayStream("  http://127.0.0.1:1/one.mp3 ");
        QCOMPARE(log_->opened, QList<QUrl>{QUrl("http://127.0.0.1:1/one.mp3")});
        QCOMPARE(current().plays, 1);
        QVERIFY(player_->isOpening());
        QVERIFY(!player_->isPlaying());
        current().start();
        QVERIFY(player_->isPlaying());
        QVERIFY(!player_->isOpening());

        player_->PlayStream("http://127.0.0.1:1/two.ogg");
        QCOMPARE(log_->live.size(), size_t(1)); // the first one was freed before the second opened
        QCOMPARE(current().url, QUrl("http://127.0.0.1:1/two.ogg"));

        player_->StopStream();
        QVERIFY(log_->live.empty());
        QVERIFY(!player_->isPlaying() && !player_->isOpening());
    }

    void badAddressesOpenNothing_data() {
        QTest::addColumn<QByteArray>("url");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("no scheme") << QByteArray("127.0.0.1/a.mp3");
        QTest::newRow("not a URL") << QByteArray("::not a url");
    }
    void badAddressesOpenNothing() {
        QFETCH(QByteArray, url);
        startPlayer();
        player_->PlayStream("http://127.0.0.1:1/playing.mp3");
        player_->PlayStream(url);
        QVERIFY(log_->live.empty()); // the station playing before is off all the same
        QCOMPARE(log_->opened.size(), 1);
    }

    void failureLeavesSilence_data() {
        QTest::addColumn<bool>("refused");
        QTest::addColumn<bool>("startedFirst");
        QTest::newRow("engine cannot try it") << true << false;
        QTest::newRow("open fails") << false << false;
        QTest::newRow("stream breaks off") << false << true;
    }
    void failureLeavesSilence() {
        QFETCH(bool, refused);
        QFETCH(bool, startedFirst);
        log_->refusesOpen = refused;
        startPlayer();
        player_->PlayStream("rtsp://127.0.0.1:1/station");
        if (!refused) {
            if (startedFirst)
                current().start();
            current().fail(AudioStream::Failure::Unreachable);
        }
        QVERIFY(!player_->isOpening());
        QVERIFY(!player_->isPlaying());
        QCOMPARE(log_->opened.size(), 1); // no second try
        QString why;
        QVERIFY(!player_->StartRecording("after failure", &why));
        QCOMPARE(why, QStringLiteral("радио не играет."));
    }

    void volumeGoesToTheCurrentStream() {
        startPlayer();
        player_->SetVolume(0.3f); // nothing playing: ignored
        player_->PlayStream("http://127.0.0.1:1/a.mp3");
        player_->SetVolume(0.25f);
        QCOMPARE(current().volume, 0.25f);
        player_->PlayStream("http://127.0.0.1:1/b.mp3");
        QCOMPARE(current().volume, 1.0f); // a new station starts at the stream's own level
    }

    void recordingFollowsItsStream() {
        startPlayer();
        QSignalSpy ended(player_.get(), &RadioPlayer::recordingEnded);
        QString why;
        QVERIFY(!player_->StartRecording("nothing", &why));
        QVERIFY(!why.isEmpty());

        // Recording may start while the station still opens; the encoder gets the stream's audio.
        player_->PlayStream("http://127.0.0.1:1/a.mp3");
        QVERIFY2(player_->StartRecording("first", &why), qPrintable(why));
        QVERIFY(player_->isRecording());
        QVERIFY(current().consumer);
        current().start();
        current().feed(QByteArray(44100 * 4 / 10, '\0'));
        player_->StopRecording();
        QCOMPARE(ended.size(), 1);
        QVERIFY(!current().consumer);
        QVERIFY(player_->isPlaying()); // the station plays on

        // The stream failing, a new station and radio off each end the recording.
        QVERIFY(player_->StartRecording("second"));
        current().fail(AudioStream::Failure::Other);
        QCOMPARE(ended.size(), 2);
        QVERIFY(!player_->isRecording());

        player_->PlayStream("http://127.0.0.1:1/b.mp3");
        QVERIFY(player_->StartRecording("third"));
        player_->PlayStream("http://127.0.0.1:1/c.mp3");
        QCOMPARE(ended.size(), 3);
        QVERIFY(!current().consumer);

        QVERIFY(player_->StartRecording("fourth"));
        player_->StopStream();
        QCOMPARE(ended.size(), 4);

        QTRY_VERIFY_WITH_TIMEOUT(!player_->hasUnfinishedRecordings(), 10000);
        QVERIFY(QFile::exists("first.mp3"));
    }

    void missingEncoderRecordsNothing() {
        startPlayer();
        player_->PlayStream("http://127.0.0.1:1/a.mp3");
        current().start();
        player_->setEncoderProgram("zelmo-no-such-encoder");
        QString why;
        QVERIFY(!player_->StartRecording("missing", &why));
        QVERIFY2(why.contains("zelmo-no-such-encoder"), qPrintable(why));
        QVERIFY(!player_->isRecording());
        QVERIFY(!current().consumer);
        QVERIFY(player_->isPlaying());
    }
};

QTEST_GUILESS_MAIN(TestRadioPlayerLogic)
#include "test_radio_player_logic.moc"
