// The radio player with the real GStreamer engine, playing from a loopback server into the
// PulseAudio null sink, and recording with the real lame.
#include "RadioTestKit.h"

#include "platform/GstAudioEngine.h"
#include "radio/RadioPlayer.h"

#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

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
    bool waitForSound(int timeoutMs = 8000, double level = kSound) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs) {
            if (player_->isPlaying() && monitor_.recentLevel() > level)
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

    // The loopback station's next song title, sent as the given codec's bytes.
    void setTitle(const QString& text, const char* codec) {
        QUrlQuery q;
        q.addQueryItem("text", text);
        q.addQueryItem("enc", QString::fromLatin1(codec));
        QUrl url(QString::fromUtf8(server_.url("set-title")));
        url.setQuery(q);
        QNetworkAccessManager network;
        QNetworkReply* reply = network.get(QNetworkRequest(url));
        QTRY_VERIFY_WITH_TIMEOUT(reply->isFinished(), 10000);
        QCOMPARE(reply->error(), QNetworkReply::NoError);
        reply->deleteLater();
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
        player_->SetVolume(0.3f); // nothing plays yet: kept for the station that comes next
        player_->StopStream();
        player_->PlayStream(mp3());
        QTRY_VERIFY_WITH_TIMEOUT(player_->isPlaying(), 8000);
        QTest::qWait(900);
        const double third = monitor_.levelOver(600);
        player_->SetVolume(1.0f);
        QVERIFY(waitForSound());
        QTest::qWait(600);
        const double full = monitor_.levelOver(600);
        QVERIFY(full > kSound);
        QVERIFY2(third > 0.2 * full && third < 0.4 * full,
                 qPrintable(QString("%1 vs %2").arg(third).arg(full)));

        player_->SetVolume(0.5f);
        QTest::qWait(600);
        const double half = monitor_.levelOver(600);
        QVERIFY2(half > 0.4 * full && half < 0.6 * full, qPrintable(QString("%1 vs %2").arg(half).arg(full)));

        player_->SetVolume(0.0f);
        QVERIFY(waitForSilence());

        // Another station plays at the bar's volume: still silent, until the bar moves.
        player_->PlayStream(mp3("b"));
        QTRY_VERIFY_WITH_TIMEOUT(player_->isPlaying(), 8000);
        QVERIFY(waitForSilence());
        player_->SetVolume(1.0f);
        QVERIFY(waitForSound());
        QTest::qWait(300);
        const double again = monitor_.levelOver(600);
        QVERIFY2(again > 0.8 * full && again < 1.25 * full,
                 qPrintable(QString("%1 vs %2").arg(again).arg(full)));

        // A station whose playlist is still being read takes a change made meanwhile.
        player_->StopStream();
        QVERIFY(waitForSilence());
        player_->PlayStream(server_.url("list.m3u?volume=1"));
        QVERIFY(player_->isOpening());
        player_->SetVolume(0.5f);
        QVERIFY(waitForSound(8000, 0.25 * full));
        const double listed = monitor_.levelOver(600);
        QVERIFY2(listed > 0.4 * full && listed < 0.6 * full,
                 qPrintable(QString("%1 vs %2").arg(listed).arg(full)));
    }

    void deadStationLeavesSilence_data() {
        using C = RadioStatus::Cause;
        QTest::addColumn<QByteArray>("url");
        QTest::addColumn<int>("cause"); // as the status's tooltip names it
        QTest::addColumn<QString>("words");
        QTest::newRow("server never answers")
            << server_.url("hang") << int(C::Timeout) << "сервер не отвечает";
        QTest::newRow("headers, then nothing") << server_.url("headers-only") << int(C::Unknown) << QString();
        QTest::newRow("closed port") << QByteArray("http://127.0.0.1:9/tone.mp3") << int(C::Refused)
                                     << "сервер отклонил соединение";
        QTest::newRow("missing file")
            << server_.url("nothing-here.mp3") << int(C::Http) << "сервер ответил ошибкой HTTP 404";
        QTest::newRow("unknown host") << QByteArray("http://zelmo-test.invalid/live") << int(C::HostUnknown)
                                      << "сервер не найден (неизвестное имя)";
        QTest::newRow("TLS to a plain server") << server_.url("tone.mp3").replace("http://", "https://")
                                               << int(C::Tls) << "ошибка защищённого соединения (TLS)";
        QTest::newRow("not a URL") << QByteArray("::not a url") << int(C::Unknown) << QString();
    }
    void deadStationLeavesSilence() {
        QFETCH(QByteArray, url);
        QFETCH(int, cause);
        QFETCH(QString, words);
        player_->PlayStream(mp3());
        QVERIFY(waitForSound());
        player_->PlayStream(url);
        QVERIFY(waitForSilence()); // the previous station was freed at once
        // The open gives up on its own, and the UI thread was never held.
        QTRY_VERIFY_WITH_TIMEOUT(!player_->isOpening(), 8000);
        QVERIFY(!player_->isPlaying());
        // Said in one line, with the engine's reason; never tried again by itself.
        QCOMPARE(player_->status().state, RadioStatus::State::NoConnection);
        QVERIFY(!player_->status().reason.isEmpty());
        // The cause in words, found by a look at the server (the engine's own word is a generic
        // stream error).
        if (cause != int(RadioStatus::Cause::Unknown)) {
            QTRY_COMPARE_WITH_TIMEOUT(int(player_->status().cause), cause, 8000);
            QCOMPARE(radioCauseText(player_->status()), words);
        }
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

        // Recording again under one name ends the running recording and keeps it: the next one
        // gets a free name.
        QVERIFY(player_->StartRecording("second"));
        QTest::qWait(1000);
        QVERIFY(player_->StartRecording("second"));
        QCOMPARE(ended.size(), 2);
        QCOMPARE(QFileInfo(player_->recordingFile()).fileName(), QStringLiteral("second (2).mp3"));
        QTest::qWait(1500);
        player_->StopStream(); // radio off ends it too
        QCOMPARE(ended.size(), 3);
        waitForFiles();
        for (const char* name : {"first.mp3", "second.mp3", "second (2).mp3"}) {
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

    // A recording never replaces a file; its tag names the station and the first song, and a cue
    // sheet beside it places every song; split by song, each song is a file of its own.
    void recordingKeepsEveryFileAndListsTheSongs() {
        player_->setStationLookup([](const QByteArray&) {
            return StationInfo{QStringLiteral("Европа Плюс"), TitleEncoding::Auto};
        });
        {
            QFile old(recordDir_ + "/Европа Плюс.mp3");
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("an older recording");
        }
        setTitle(QStringLiteral("Кино - Группа крови"), "utf-8");
        player_->PlayStream(mp3("cue"));
        QVERIFY(waitForSound());
        QTRY_COMPARE_WITH_TIMEOUT(player_->status().title, QStringLiteral("Кино - Группа крови"), 10000);
        QVERIFY(player_->StartRecording(QStringLiteral("Европа Плюс")));
        const QString file = player_->recordingFile();
        QCOMPARE(file, recordDir_ + "/Европа Плюс (2).mp3");
        QTest::qWait(2500);
        setTitle(QStringLiteral("ДДТ - Что такое осень"), "cp1251");
        QTRY_COMPARE_WITH_TIMEOUT(player_->status().title, QStringLiteral("ДДТ - Что такое осень"), 10000);
        QTest::qWait(1500);
        player_->StopRecording();
        waitForFiles();

        QFile old(recordDir_ + "/Европа Плюс.mp3");
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("an older recording"));
        const Decoded d = decode(file);
        QVERIFY(d.ok && d.seconds > 3.0 && d.rms > kSound);
        QByteArray tags;
        QVERIFY(run("ffprobe",
                    {"-v", "error", "-show_entries", "format_tags=title,artist,album", "-of",
                     "default=noprint_wrappers=1", file},
                    &tags));
        QCOMPARE(QString::fromUtf8(tags).split('\n', Qt::SkipEmptyParts),
                 (QStringList{"TAG:title=Кино - Группа крови", "TAG:artist=Европа Плюс",
                              "TAG:album=Европа Плюс"}));
        QFile cue(recordDir_ + "/Европа Плюс (2).cue");
        QVERIFY(cue.open(QIODevice::ReadOnly));
        const QString sheet = QString::fromUtf8(cue.readAll());
        QVERIFY2(sheet.contains("FILE \"Европа Плюс (2).mp3\" MP3"), qPrintable(sheet));
        QVERIFY2(sheet.contains("TRACK 01 AUDIO\n    TITLE \"Кино - Группа крови\"\n    PERFORMER \"Европа "
                                "Плюс\"\n    INDEX 01 00:00:00"),
                 qPrintable(sheet));
        // The second song starts where its audio reached the file: after the 2.5 s, inside the file.
        const QRegularExpression second(
            "TRACK 02 AUDIO\n    TITLE \"ДДТ - Что такое осень\"\n.*\n    INDEX 01 "
            "(\\d\\d):(\\d\\d):(\\d\\d)");
        const auto m = second.match(sheet);
        QVERIFY2(m.hasMatch(), qPrintable(sheet));
        const double at = m.captured(1).toInt() * 60 + m.captured(2).toInt() + m.captured(3).toInt() / 75.0;
        QVERIFY2(at > 2.0 && at < d.seconds, qPrintable(QString("%1 of %2").arg(at).arg(d.seconds)));

        player_->setSplitBySong(true);
        QVERIFY(player_->StartRecording(QStringLiteral("split")));
        QTest::qWait(2000);
        setTitle(QStringLiteral("Sigur Rós - Hoppípolla"), "utf-8");
        QTRY_COMPARE_WITH_TIMEOUT(player_->status().title, QStringLiteral("Sigur Rós - Hoppípolla"), 10000);
        QTest::qWait(2000);
        player_->StopRecording();
        waitForFiles();
        for (const QString& name :
             {QStringLiteral("split.mp3"), QStringLiteral("split - 02 - Sigur Rós - Hoppípolla.mp3")}) {
            const Decoded piece = decode(recordDir_ + "/" + name);
            QVERIFY2(piece.ok && piece.seconds > 1.0 && piece.rms > kSound, qPrintable(name));
        }
        QVERIFY(run("ffprobe",
                    {"-v", "error", "-show_entries", "format_tags=title", "-of", "default=noprint_wrappers=1",
                     recordDir_ + "/split - 02 - Sigur Rós - Hoppípolla.mp3"},
                    &tags));
        QCOMPARE(QString::fromUtf8(tags).trimmed(), QStringLiteral("TAG:title=Sigur Rós - Hoppípolla"));
        QVERIFY(!QFile::exists(recordDir_ + "/split.cue"));
    }

    // An encoder that gives up (lame ends with 255 when it cannot create its file) ends the
    // recording and says so; the empty file reserved for it goes.
    void aFailingEncoderIsReported() {
        const QString script = dir_.filePath("failing-lame");
        {
            QFile f(script);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("#!/bin/sh\necho 'Could not create \"x.mp3\".' >&2\nexit 255\n");
            f.close();
            QVERIFY(f.setPermissions(f.permissions() | QFile::ExeOwner));
        }
        QSignalSpy failed(player_.get(), &RadioPlayer::recordingFailed);
        player_->PlayStream(mp3("failing"));
        QVERIFY(waitForSound());
        player_->setEncoderProgram(script);
        QVERIFY(player_->StartRecording("doomed"));
        QVERIFY(failed.wait(10000));
        QCOMPARE(failed.first().first().toString(), QStringLiteral("Could not create \"x.mp3\"."));
        QVERIFY(!player_->isRecording());
        QVERIFY(!QFile::exists(recordDir_ + "/doomed.mp3"));
        QVERIFY(player_->isPlaying());
    }

    void icyTitlesInEveryEncoding() {
        player_->setStationLookup([](const QByteArray& url) {
            return url.contains("koi") ? StationInfo{QStringLiteral("Станция KOI"), TitleEncoding::Koi8R}
                                       : StationInfo{QStringLiteral("Станция"), TitleEncoding::Auto};
        });
        struct Case {
            QString text;
            const char* sentAs;
        };
        const Case cases[] = {
            {QStringLiteral("Кино - Группа крови"), "utf-8"},
            {QStringLiteral("ДДТ - Что такое осень"), "cp1251"},
            {QStringLiteral("Сплин - Выхода нет"), "koi8_r"},
            {QStringLiteral("Rock 'n' Roll - Beyoncé"), "utf-8"},
        };
        // Every title the listener is ever shown, to catch a wrong reading that comes and goes.
        QStringList seen;
        QObject watching; // ends the connection with this test function
        connect(player_.get(), &RadioPlayer::statusChanged, &watching, [&seen](const RadioStatus& s) {
            if (!s.title.isEmpty() && (seen.isEmpty() || seen.last() != s.title))
                seen << s.title;
        });
        setTitle(cases[0].text, cases[0].sentAs);
        player_->PlayStream(mp3("icy"));
        QVERIFY(waitForSound());
        for (const Case& c : cases) {
            setTitle(c.text, c.sentAs);
            QTRY_COMPARE_WITH_TIMEOUT(player_->status().title, c.text, 10000);
            QCOMPARE(player_->status().station, QStringLiteral("Станция"));
            QCOMPARE(player_->status().state, RadioStatus::State::Playing);
        }
        QTest::qWait(1500); // later tags of the same song must not replace the right reading
        QCOMPARE(player_->status().title, cases[std::size(cases) - 1].text);
        for (const QString& t : seen)
            QVERIFY2(
                std::any_of(std::begin(cases), std::end(cases), [&t](const Case& c) { return c.text == t; }),
                qPrintable("shown: " + t));
        // A KOI8-R station whose short title the guess could get wrong: the station's choice decides.
        setTitle(QStringLiteral("Ёлки"), "koi8_r");
        player_->PlayStream(mp3("koi"));
        QTRY_COMPARE_WITH_TIMEOUT(player_->status().title, QStringLiteral("Ёлки"), 10000);
    }

    void reconnectsAfterAServerRestartAndTheRecordingGoesOn() {
        // A server of its own on a fixed port, so that it can come back where the player expects it.
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const int port = probe.serverPort();
        probe.close();
        StreamServer station;
        QVERIFY(station.start(dir_.path(), port));
        player_->setReconnectUnit(250);
        player_->SetVolume(0.5f);
        player_->PlayStream(station.url("tone.mp3?rate=16000&loop=1"));
        QVERIFY(waitForSound());
        QTest::qWait(300);
        const double before = monitor_.levelOver(600);
        QSignalSpy ended(player_.get(), &RadioPlayer::recordingEnded);
        QVERIFY(player_->StartRecording("across the gap"));
        QTest::qWait(1500);

        station.stop();
        QTRY_COMPARE_WITH_TIMEOUT(player_->status().state, RadioStatus::State::Reconnecting, 10000);
        QVERIFY(waitForSilence());
        QTRY_VERIFY_WITH_TIMEOUT(player_->status().attempt >= 2, 10000); // failing tries go on
        QVERIFY(player_->isRecording());

        QVERIFY(station.start(dir_.path(), port));
        QTRY_COMPARE_WITH_TIMEOUT(player_->status().state, RadioStatus::State::Playing, 20000);
        QVERIFY(waitForSound());
        QTest::qWait(300);
        const double after = monitor_.levelOver(600);
        // Back at the bar's volume, not at full.
        QVERIFY2(after > 0.7 * before && after < 1.4 * before,
                 qPrintable(QString("%1 vs %2").arg(after).arg(before)));
        QTest::qWait(1500);
        player_->StopRecording();
        QCOMPARE(ended.size(), 1);
        waitForFiles();
        const Decoded d = decode(recordDir_ + "/across the gap.mp3");
        QVERIFY(d.ok);
        // Both sides of the gap in one file; the gap itself is simply missing.
        QVERIFY2(d.seconds > 2.5 && d.seconds < 9, qPrintable(QString::number(d.seconds)));
        QVERIFY(!QFile::exists(recordDir_ + "/across the gap (2).mp3"));
    }

    // A station that drops and answers 503 for 10 s: tried every second or two, the status counts
    // down to the next try and names the HTTP code; sound comes back soon after the server does.
    void anOutageEndsWithSoundWithinSeconds() {
        player_->PlayStream(mp3("outage"));
        QVERIFY(waitForSound());
        QElapsedTimer outage;
        QNetworkAccessManager network;
        QNetworkReply* reply =
            network.get(QNetworkRequest(QUrl(QString::fromUtf8(server_.url("outage?seconds=10")))));
        outage.start();
        QTRY_VERIFY_WITH_TIMEOUT(reply->isFinished(), 10000);
        reply->deleteLater();
        QTRY_COMPARE_WITH_TIMEOUT(player_->status().state, RadioStatus::State::Reconnecting, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(player_->status().cause, RadioStatus::Cause::Http, 8000);
        QCOMPARE(player_->status().httpCode, 503);
        QStringList shown;
        QObject watching;
        connect(player_.get(), &RadioPlayer::statusChanged, &watching,
                [&shown](const RadioStatus& s) { shown << radioStateText(s); });
        QTRY_COMPARE_WITH_TIMEOUT(player_->status().state, RadioStatus::State::Playing, 30000);
        QVERIFY(waitForSound());
        const qint64 back = outage.elapsed() - 10000;
        qInfo("sound back %lld ms after the server answered again (tries: %d)", back, int(shown.size()));
        QVERIFY2(shown.contains(QStringLiteral("Переподключение через 1 с")) ||
                     shown.contains(QStringLiteral("Переподключение через 2 с")),
                 qPrintable(shown.join(" | ")));
        player_->StopStream();
    }

    // A station that floods song titles (a new 4 KB title after every byte of audio) costs the
    // window a few updates a second: it stays responsive and memory stays flat.
    void aTitleFloodNeitherBlocksNorGrows() {
        const auto rssKb = [] {
            QFile status(QStringLiteral("/proc/self/status"));
            if (!status.open(QIODevice::ReadOnly))
                return qint64(0);
            for (const QByteArray& line : status.readAll().split('\n'))
                if (line.startsWith("VmRSS:"))
                    return line.mid(6).trimmed().split(' ').first().toLongLong();
            return qint64(0);
        };
        QElapsedTimer clock;
        clock.start();
        qint64 lastTick = 0, worstGap = 0;
        QTimer ping;
        ping.setInterval(20);
        connect(&ping, &QTimer::timeout, &ping, [&] {
            worstGap = std::max(worstGap, clock.elapsed() - lastTick);
            lastTick = clock.elapsed();
        });
        int titles = 0;
        QString last;
        QObject watching;
        connect(player_.get(), &RadioPlayer::statusChanged, &watching, [&](const RadioStatus& s) {
            if (s.title != last) {
                ++titles;
                last = s.title;
            }
        });
        const qint64 before = rssKb();
        qint64 peak = before;
        lastTick = clock.elapsed();
        ping.start();
        player_->PlayStream(server_.url("flood?seconds=5"));
        while (clock.elapsed() < 7000) {
            QTest::qWait(50);
            peak = std::max(peak, rssKb());
        }
        ping.stop();
        const double seconds = clock.elapsed() / 1000.0;
        qInfo("title flood: %d title updates in %.1f s, longest UI gap %lld ms, RSS %lld -> peak %lld MB",
              titles, seconds, worstGap, before / 1024, peak / 1024);
        QVERIFY2(titles >= 1 && last.startsWith(QStringLiteral("Flood ")), qPrintable(last.left(40)));
        QVERIFY2(titles <= int(seconds * 5) + 2, qPrintable(QString::number(titles)));
        QVERIFY2(worstGap < 2000, qPrintable(QString::number(worstGap)));
        QVERIFY2(peak - before < 200 * 1024, qPrintable(QString::number((peak - before) / 1024)));
        player_->StopStream();
    }

    void aStationThatFallsSilentIsReopened() {
        player_->setReconnectUnit(250);
        // 2 s of audio, then the connection stays open and sends nothing.
        player_->PlayStream(server_.url("tone.mp3?rate=16000&stall=32000"));
        QVERIFY(waitForSound());
        QTRY_COMPARE_WITH_TIMEOUT(player_->status().state, RadioStatus::State::Reconnecting, 20000);
        // The next try gets a fresh connection and sound again.
        QTRY_COMPARE_WITH_TIMEOUT(player_->status().state, RadioStatus::State::Playing, 20000);
        player_->StopStream();
        QCOMPARE(player_->status().state, RadioStatus::State::Off);
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
