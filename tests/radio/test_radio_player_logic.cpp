// The radio player's own decisions (what it opens, frees, records and turns up) over an engine
// without sound; test_radio_player covers the same player with GStreamer and real audio.
#include "../radio/RadioTestKit.h"
#include "common/FakeAudioEngine.h"
#include "radio/RadioPlayer.h"
#include "radio/SongAnnouncer.h"

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

    // A station chosen while the engine still loads never makes the window wait for it: the choice
    // waits instead, and the latest one plays once the engine is there.
    void stationChosenWhileTheEngineLoadsWaitsForIt() {
        log_->ready = false;
        player_ = std::make_unique<RadioPlayer>(std::make_unique<FakeAudioEngine>(log_));
        player_->PlayStream("http://127.0.0.1:1/a.mp3");
        QCOMPARE(log_->inits, 0); // init() would wait for the load
        QVERIFY(log_->prepares > 0);
        QCOMPARE(player_->status().state, RadioStatus::State::Connecting);
        QVERIFY(player_->isOpening());
        player_->PlayStream("http://127.0.0.1:1/b.mp3");
        QTest::qWait(200);
        QCOMPARE(log_->inits, 0);
        QVERIFY(log_->opened.isEmpty());
        log_->ready = true;
        QTRY_COMPARE_WITH_TIMEOUT(log_->opened.size(), 1, 10000);
        QCOMPARE(log_->opened.first(), QUrl("http://127.0.0.1:1/b.mp3"));
        QCOMPARE(log_->inits, 1);
        QCOMPARE(player_->status().state, RadioStatus::State::Connecting);

        // Turned off before the engine is there: nothing plays once it is.
        log_ = std::make_shared<FakeAudioLog>();
        log_->ready = false;
        player_ = std::make_unique<RadioPlayer>(std::make_unique<FakeAudioEngine>(log_));
        player_->PlayStream("http://127.0.0.1:1/a.mp3");
        player_->StopStream();
        log_->ready = true;
        QTest::qWait(300);
        QVERIFY(log_->opened.isEmpty());
        QCOMPARE(player_->status().state, RadioStatus::State::Off);
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
        QCOMPARE(log_->opened.size(), 1); // a station that never played is not tried again
        QCOMPARE(player_->status().state, RadioStatus::State::NoConnection);
        QVERIFY(!player_->status().reason.isEmpty());
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
        QCOMPARE(current().volume, 0.25f); // a new station plays at the bar's volume too
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

        // A station that fails before it ever played, a new station and radio off each end it.
        player_->PlayStream("http://127.0.0.1:1/never.mp3");
        QCOMPARE(ended.size(), 1);
        QVERIFY(player_->StartRecording("second"));
        current().fail(AudioStream::Failure::Unreachable);
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

    // Tries every second or two for the first minute after a drop, then growing apart to half a
    // minute: walked through as the player schedules them.
    void reconnectDelaysQuickForAMinuteThenGrowToHalfAMinute() {
        QList<int> delays;
        qint64 since = 0;
        int slow = 0;
        while (since < 4 * 60 * 1000) {
            const int delay = RadioPlayer::reconnectDelayMs(since, slow);
            if (since >= 60000)
                ++slow;
            delays << delay;
            since += delay;
        }
        QCOMPARE(delays.mid(0, 20), QList<int>(20, 1000));
        QCOMPARE(delays.mid(20, 20), QList<int>(20, 2000));
        QCOMPARE(delays.mid(40, 8), (QList<int>{4000, 8000, 16000, 30000, 30000, 30000, 30000, 30000}));
    }

    void droppedStationComesBackUntilTheUserChoosesOtherwise() {
        startPlayer();
        player_->setReconnectUnit(5);
        QSignalSpy changes(player_.get(), &RadioPlayer::statusChanged);
        player_->SetVolume(0.4f);
        player_->PlayStream("http://127.0.0.1:1/live");
        QCOMPARE(player_->status().state, RadioStatus::State::Connecting);
        current().start();
        QCOMPARE(player_->status().state, RadioStatus::State::Playing);

        // Dropped: announced at once, tried again after a pause, again and again while it fails.
        current().fail(AudioStream::Failure::Unreachable, "Connection refused");
        QCOMPARE(player_->status().state, RadioStatus::State::Reconnecting);
        QCOMPARE(player_->status().attempt, 1);
        QCOMPARE(player_->status().reason, QStringLiteral("Connection refused"));
        QCOMPARE(player_->status().retryIn, 1); // "Переподключение через 1 с"
        QCOMPARE(radioStateText(player_->status()), QStringLiteral("Переподключение через 1 с"));
        QTRY_COMPARE_WITH_TIMEOUT(log_->opened.size(), 2, 10000);
        QCOMPARE(log_->opened.last(), QUrl("http://127.0.0.1:1/live"));
        QCOMPARE(player_->status().retryIn, 0); // a try under way: "Переподключение (1)"
        QCOMPARE(radioStateText(player_->status()), QStringLiteral("Переподключение (1)"));
        QCOMPARE(current().volume, 0.4f); // at the bar's volume
        current().fail(AudioStream::Failure::Unreachable);
        QCOMPARE(player_->status().attempt, 2);
        QTRY_COMPARE_WITH_TIMEOUT(log_->opened.size(), 3, 10000);
        current().fail(AudioStream::Failure::Other);
        QCOMPARE(player_->status().attempt, 3);
        QTRY_COMPARE_WITH_TIMEOUT(log_->opened.size(), 4, 10000);
        current().start();
        QCOMPARE(player_->status().state, RadioStatus::State::Playing);
        QCOMPARE(player_->status().attempt, 0);

        // A live stream that simply ends is reopened too; radio off stops the tries.
        current().fail(AudioStream::Failure::None, "end of stream");
        QCOMPARE(player_->status().attempt, 1);
        player_->StopStream();
        QCOMPARE(player_->status().state, RadioStatus::State::Off);
        QTest::qWait(100); // far beyond the 5 ms pause: nothing may come
        QCOMPARE(log_->opened.size(), 4);

        // Another station chosen while a reconnect waits: only that one opens.
        player_->setReconnectUnit(1000);
        player_->PlayStream("http://127.0.0.1:1/live");
        current().start();
        current().fail(AudioStream::Failure::Unreachable);
        player_->PlayStream("http://127.0.0.1:1/other");
        QCOMPARE(log_->opened.last(), QUrl("http://127.0.0.1:1/other"));
        QCOMPARE(player_->status().state, RadioStatus::State::Connecting);
    }

    void aFileThatEndsIsNotReopened() {
        startPlayer();
        player_->setReconnectUnit(5);
        player_->PlayStream("http://127.0.0.1:1/song.mp3");
        current().setBounded(true);
        current().start();
        current().fail(AudioStream::Failure::None, "end of stream");
        QCOMPARE(player_->status().state, RadioStatus::State::Ended);
        QTest::qWait(50);
        QCOMPARE(log_->opened.size(), 1);
    }

    void recordingSurvivesAReconnectAsOneFile() {
        startPlayer();
        player_->setReconnectUnit(5);
        QSignalSpy ended(player_.get(), &RadioPlayer::recordingEnded);
        player_->PlayStream("http://127.0.0.1:1/live");
        current().start();
        QVERIFY(player_->StartRecording("across"));
        // A second of audio handed over in pieces that split frames, then the drop mid-frame.
        const QByteArray second(44100 * 4, '\x10');
        current().feed(second.first(1001));
        current().feed(second.sliced(1001));
        current().feed(QByteArray(6, '\x10')); // a frame and a half: the half is lost with the drop
        current().fail(AudioStream::Failure::Unreachable);
        QVERIFY(player_->isRecording());
        QCOMPARE(ended.size(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(log_->opened.size(), 2, 10000);
        QVERIFY(current().consumer); // the same recording continues on the new stream
        current().start();
        current().feed(second);
        player_->StopRecording();
        QCOMPARE(ended.size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!player_->hasUnfinishedRecordings(), 20000);
        const radiotest::Decoded d = radiotest::decode("across.mp3");
        QVERIFY(d.ok);
        QVERIFY2(std::abs(d.seconds - 2.0) < 0.1, qPrintable(QString::number(d.seconds)));
    }

    void titlesAreDecodedForTheStation() {
        startPlayer();
        std::function<StationInfo(const QByteArray&)> lookup = [](const QByteArray& url) {
            if (url.endsWith("/koi"))
                return StationInfo{QStringLiteral("Ретро КОИ"), TitleEncoding::Koi8R};
            if (url.endsWith("/known"))
                return StationInfo{QStringLiteral("Радио Лоопбэк"), TitleEncoding::Auto};
            return StationInfo{};
        };
        player_->setStationLookup(lookup);

        player_->PlayStream("http://127.0.0.1:1/known");
        current().start();
        emit current().titleBytes(
            QByteArray("\xca\xe8\xed\xee - \xc3\xf0\xf3\xef\xef\xe0 \xea\xf0\xee\xe2\xe8"));
        QCOMPARE(player_->status().station, QStringLiteral("Радио Лоопбэк"));
        QCOMPARE(player_->status().title, QStringLiteral("Кино - Группа крови")); // guessed: Windows-1251
        emit current().tags(QString(), QString(), QStringLiteral("Loopback FM")); // the known name stays
        QCOMPARE(player_->status().station, QStringLiteral("Радио Лоопбэк"));

        // The station's own choice wins over the guess: these bytes read as KOI8-R.
        player_->PlayStream("http://127.0.0.1:1/koi");
        QCOMPARE(player_->status().title, QString()); // a new station starts without a title
        current().start();
        emit current().titleBytes(QByteArray("\xf3\xd0\xcc\xc9\xce"));
        QCOMPARE(player_->status().title, QStringLiteral("Сплин"));

        // Unknown station: named by the stream; titles from tags as "artist - title".
        player_->PlayStream("http://127.0.0.1:1/other.ogg");
        current().start();
        emit current().tags(QStringLiteral("Осень"), QStringLiteral("ДДТ"), QStringLiteral("Ogg FM"));
        QCOMPARE(player_->status().station, QStringLiteral("Ogg FM"));
        QCOMPARE(player_->status().title, QStringLiteral("ДДТ - Осень"));

        // Radio off keeps what was last chosen, for playing it again.
        player_->StopStream();
        QCOMPARE(player_->status().state, RadioStatus::State::Off);
        player_->replay();
        QCOMPARE(log_->opened.last(), QUrl("http://127.0.0.1:1/other.ogg"));
        QCOMPARE(player_->status().state, RadioStatus::State::Connecting);
    }

    // A song is announced once, when it is heard: also a title sent before the sound started, and
    // not again after a reconnect; a new station's first song is news again.
    void songsAreAnnouncedOnceWhenHeard() {
        startPlayer();
        player_->setReconnectUnit(1);
        SongAnnouncer announcer;
        QStringList announced;
        connect(player_.get(), &RadioPlayer::statusChanged, this, [&](const RadioStatus& s) {
            if (const auto a = announcer.next(s, QStringLiteral("Zelmo Player")))
                announced << a->summary + QStringLiteral(": ") + a->body;
        });
        player_->setStationLookup([](const QByteArray& url) {
            return StationInfo{url.endsWith("/a") ? QStringLiteral("Радио А") : QString(),
                               TitleEncoding::Auto};
        });
        player_->PlayStream("http://127.0.0.1:1/a");
        emit current().titleBytes("Кино - Группа крови"); // before Playing
        QVERIFY(announced.isEmpty());
        current().start();
        QCOMPARE(announced, QStringList{"Радио А: Кино - Группа крови"});
        emit current().titleBytes("Кино - Группа крови");
        current().fail(AudioStream::Failure::Unreachable); // a drop and a reconnect
        QTRY_VERIFY(log_->live.size() == 1 && current().state() == AudioStream::State::Opening);
        current().start();
        emit current().titleBytes("ДДТ - Осень");
        QCOMPARE(announced, (QStringList{"Радио А: Кино - Группа крови", "Радио А: ДДТ - Осень"}));
        player_->PlayStream("http://127.0.0.1:1/b");
        current().start();
        emit current().titleBytes("ДДТ - Осень");
        QCOMPARE(announced.last(), QStringLiteral("Zelmo Player: ДДТ - Осень"));
        QCOMPARE(announced.size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestRadioPlayerLogic)
#include "test_radio_player_logic.moc"
