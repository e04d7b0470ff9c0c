// A catalog station found through the loopback stand-in of the station directory and played with
// the real GStreamer engine from the loopback radio server into the PulseAudio null sink.
#include "DirectoryStandIn.h"
#include "RadioTestKit.h"
#include "navigation/ChannelCatalog.h"
#include "platform/GstAudioEngine.h"
#include "radio/BuiltInStations.h"
#include "radio/RadioPlayer.h"
#include "settings/SettingsFile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace radiotest;

class TestBuiltInStationsPlay : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    StreamServer streams_;
    MonitorCapture monitor_;

    static QByteArray streamOf(const QString& catalogName) {
        for (const ChannelEntry& e : MainCatalog())
            if (e.isRadio() && e.Name == catalogName)
                return e.Stream;
        return {};
    }

    bool waitForSound(const RadioPlayer& radio, int timeoutMs = 15000) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs) {
            if (radio.isPlaying() && monitor_.recentLevel() > kSound)
                return true;
            QTest::qWait(50);
        }
        return false;
    }

private slots:
    void initTestCase() {
        QByteArray sinks;
        if (!run("pactl", {"list", "short", "sinks"}, &sinks) || !sinks.contains(kSink.toUtf8()))
            QSKIP("No PulseAudio server with the null sink \"testsink\" (scripts/test.sh starts one).");
        QVERIFY(dir_.isValid());
        QVERIFY(makeTone(dir_.filePath("tone.mp3"), 20));
        QVERIFY(streams_.start(dir_.path()));
        QVERIFY(monitor_.start());
    }

    void aCatalogStationPlaysThroughTheDirectory() {
        DirectoryStandIn directory(qEnvironmentVariable("ZELMO_TEST_SOURCE_DIR") +
                                       "/tests/radio/data/directory-stations.json",
                                   QStringLiteral("http://127.0.0.1:%1").arg(streams_.port()));
        SettingsFile settings(dir_.filePath("Setting.ini"));
        auto engine = std::make_unique<GstAudioEngine>();
        engine->setDevice(kSink.toUtf8());
        RadioPlayer radio(std::move(engine));
        QVERIFY(radio.StartAudio());
        BuiltInStations stations(radio, settings, directory.base());

        stations.PlayStream(streamOf("Европа+"));
        QCOMPARE(radio.status().state, RadioStatus::State::LookingUp);
        QVERIFY2(waitForSound(radio), "no sound on the sink");
        QCOMPARE(radio.status().station, QStringLiteral("Европа+"));
        QVERIFY(radio.currentUrl().contains("s=europaplus&") || radio.currentUrl().endsWith("s=europaplus"));
        const QString uuid = settings.ReadString(BuiltInStations::section(), "europaplus.uuid", {});
        QTRY_COMPARE_WITH_TIMEOUT(directory.clicks, QStringList{uuid}, 10000);
        // The directory was asked for the station by its own name.
        QCOMPARE(directory.names, QStringList{"Европа Плюс"});

        radio.StopStream();
        QTRY_VERIFY_WITH_TIMEOUT(monitor_.recentLevel() < kSilence, 5000);
    }
};

QTEST_GUILESS_MAIN(TestBuiltInStationsPlay)
#include "test_builtin_stations_play.moc"
