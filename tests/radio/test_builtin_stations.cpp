// The catalog's radio stations found through a loopback stand-in of the station directory that
// lists them under the directory's own names; the audio engine is a fake here (the real one plays
// a station in test_builtin_stations_play).
#include "DirectoryStandIn.h"
#include "common/FakeAudioEngine.h"
#include "navigation/ChannelCatalog.h"
#include "radio/BuiltInStations.h"
#include "radio/RadioPlayer.h"
#include "settings/SettingsFile.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QTest>

namespace {
QString fixture() {
    return qEnvironmentVariable("ZELMO_TEST_SOURCE_DIR") + "/tests/radio/data/directory-stations.json";
}

QByteArray streamOf(const QString& catalogName) {
    for (const ChannelEntry& e : MainCatalog())
        if (e.isRadio() && e.Name == catalogName)
            return e.Stream;
    return {};
}

// The stand-in's streams never open here: the fake engine only records the addresses.
const QString kStreams = QStringLiteral("http://127.0.0.1:9");
} // namespace

class TestBuiltInStations : public QObject {
    Q_OBJECT

    struct Rig {
        QTemporaryDir dir;
        std::unique_ptr<SettingsFile> settings;
        std::shared_ptr<FakeAudioLog> log = std::make_shared<FakeAudioLog>();
        std::unique_ptr<DirectoryStandIn> directory;
        std::unique_ptr<RadioPlayer> radio;
        std::unique_ptr<BuiltInStations> stations;

        Rig() {
            settings = std::make_unique<SettingsFile>(dir.filePath("Setting.ini"));
            directory = std::make_unique<DirectoryStandIn>(fixture(), kStreams);
            radio = std::make_unique<RadioPlayer>(std::make_unique<FakeAudioEngine>(log));
            radio->StartAudio();
            restart();
        }
        // The program started again over the same Setting.ini.
        void restart() {
            stations.reset();
            stations = std::make_unique<BuiltInStations>(*radio, *settings, directory->base());
        }
        QString kept(const QString& key, const char* field) const {
            return settings->ReadString(BuiltInStations::section(), key + "." + field, QString());
        }
    };

private slots:
    void initTestCase() { QVERIFY2(QFile::exists(fixture()), qPrintable(fixture())); }

    void everyCatalogStationHasOneAlias() {
        int radios = 0;
        QStringList keys;
        for (const ChannelEntry& e : MainCatalog()) {
            if (!e.isRadio())
                continue;
            ++radios;
            const StationAlias* a = BuiltInStations::aliasForStream(e.Stream);
            QVERIFY2(a, qPrintable(e.Name));
            QVERIFY2(!keys.contains(a->key), qPrintable(a->key));
            keys << a->key;
        }
        QCOMPARE(radios, 22);
        QCOMPARE(BuiltInStations::aliases().size(), 22);
    }

    // Expected choices checked by hand against the fixture: the directory's name for the station,
    // its country first, a working stream in a format played here, the most votes.
    void everyCatalogStationResolves_data() {
        QTest::addColumn<QString>("catalogName");
        QTest::addColumn<QString>("stream"); // the stand-in's stream tag of the entry to play
        QTest::newRow("DFM") << "DFM"
                             << "dfm"; // not "DFM Russian Dance"
        QTest::newRow("Европа+") << "Европа+"
                                 << "europaplus"; // 128 kbit/s, most votes
        QTest::newRow("Maximum") << "Maximum"
                                 << "maximum";
        QTest::newRow("Зайцев ФМ") << "Зайцев ФМ"
                                   << "zaycev-pop"; // most votes of its streams
        QTest::newRow("Record") << "Record"
                                << "record"; // not the 90s stream
        QTest::newRow("Русское Радио") << "Русское Радио"
                                       << "russkoe"; // not the unknown codec
        QTest::newRow("NRJ") << "NRJ"
                             << "energy";
        QTest::newRow("Радио   ULTRA") << "Радио   ULTRA"
                                       << "ultra";
        QTest::newRow("Романтика") << "Романтика"
                                   << "romantika";
        QTest::newRow("Дорожное Радио") << "Дорожное Радио"
                                        << "dorozhnoe";
        QTest::newRow("Шансон") << "Шансон"
                                << "shanson";
        QTest::newRow("Радио Ваня") << "Радио Ваня"
                                    << "vanya";
        QTest::newRow("Русский Хит") << "Русский Хит"
                                     << "russkiyhit";
        QTest::newRow("Серебр. Дождь") << "Серебр. Дождь"
                                       << "serebryanydozhd";
        QTest::newRow("Di FM Vocal trance") << "Di FM Vocal trance"
                                            << "difm-vocaltrance";
        QTest::newRow("Retro ") << "Retro "
                                << "retrofm"; // Russian, not the Estonian one with more votes
        QTest::newRow("Радио Шторм") << "Радио Шторм"
                                     << "shtorm";
        QTest::newRow("Хит ФМ") << "Хит ФМ"
                                << "hitfm"; // Russian, not the Ukrainian one
        QTest::newRow("Детское Радио") << "Детское Радио"
                                       << "detskoe";
        QTest::newRow("Радио Маяк") << "Радио Маяк"
                                    << "mayak"; // never the file: entry
        QTest::newRow("Милицейская волна") << "Милицейская волна"
                                           << "militseyskayavolna";
        QTest::newRow("Music Sity") << "Music Sity"
                                    << "musiccity";
    }
    void everyCatalogStationResolves() {
        QFETCH(QString, catalogName);
        QFETCH(QString, stream);
        Rig rig;
        const QByteArray catalogStream = streamOf(catalogName);
        QVERIFY(!catalogStream.isEmpty());
        rig.stations->PlayStream(catalogStream);
        // The call returns at once; the status says what is going on.
        QCOMPARE(rig.radio->status().state, RadioStatus::State::LookingUp);
        QCOMPARE(rig.radio->status().station, catalogName.simplified());
        QVERIFY(rig.log->opened.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(rig.log->opened.size(), 1, 20000);
        const QUrl played = rig.log->opened.first();
        QCOMPARE(QUrlQuery(played).queryItemValue("s"), stream);
        QCOMPARE(rig.radio->status().state, RadioStatus::State::Connecting);
        QCOMPARE(rig.radio->status().station, catalogName.simplified());
        // Kept for the next time: address, the directory's id, logo and when.
        const QString key = BuiltInStations::aliasForName(catalogName)->key;
        QCOMPARE(rig.kept(key, "url"), played.toString());
        QVERIFY(!rig.kept(key, "uuid").isEmpty());
        QCOMPARE(rig.kept(key, "logo"), kStreams + "/logo/" + stream + ".png");
        QVERIFY(QDateTime::fromString(rig.kept(key, "time"), Qt::ISODate).isValid());
        QCOMPARE(rig.stations->currentLogo(), QUrl(kStreams + "/logo/" + stream + ".png"));
        // The directory's etiquette: a click once the station plays, not before.
        QVERIFY(rig.directory->clicks.isEmpty());
        rig.log->current()->start();
        QTRY_COMPARE_WITH_TIMEOUT(rig.directory->clicks, QStringList{rig.kept(key, "uuid")}, 20000);
    }

    void aKeptAddressPlaysAtOnceAndIsLookedUpAgainWhenItFails() {
        Rig rig;
        const QByteArray europa = streamOf("Европа+");
        rig.stations->PlayStream(europa);
        QTRY_COMPARE_WITH_TIMEOUT(rig.log->opened.size(), 1, 20000);
        const QString first = rig.log->opened.first().toString();
        const QString uuid = rig.kept("europaplus", "uuid");
        QCOMPARE(rig.directory->searches(), 1);

        // Next run: the kept address plays without asking the directory, which is down.
        rig.restart();
        rig.directory->down = true;
        rig.stations->PlayStream(europa);
        QCOMPARE(rig.log->opened.size(), 2);
        QCOMPARE(rig.log->opened.last().toString(), first);
        QCOMPARE(rig.directory->searches(), 1);

        // The station moved: the kept address fails, the directory knows the new one.
        rig.directory->down = false;
        rig.directory->moveStream(uuid, kStreams + "/moved.mp3");
        rig.log->current()->fail(AudioStream::Failure::Unreachable);
        QTRY_COMPARE_WITH_TIMEOUT(rig.log->opened.size(), 3, 20000);
        QCOMPARE(rig.log->opened.last().toString(), kStreams + "/moved.mp3");
        QCOMPARE(rig.kept("europaplus", "url"), kStreams + "/moved.mp3");
        QCOMPARE(rig.directory->searches(), 2);

        // The new address failing too is said once; no endless lookups.
        rig.log->current()->fail(AudioStream::Failure::Unreachable);
        QTRY_COMPARE(rig.radio->status().state, RadioStatus::State::NoConnection);
        QTest::qWait(300);
        QCOMPARE(rig.directory->searches(), 2);
        QCOMPARE(rig.log->opened.size(), 3);
    }

    void aStationTheDirectoryDoesNotListStaysSilent() {
        Rig rig;
        rig.directory->stations = {};
        rig.stations->PlayStream(streamOf("Радио Ваня"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.radio->status().state, RadioStatus::State::NoConnection, 20000);
        // Its country first, then anywhere.
        QCOMPARE(rig.directory->names, (QStringList{"Ваня", "Ваня"}));
        QVERIFY(rig.log->opened.isEmpty());
        QVERIFY(rig.kept("vanya", "url").isEmpty());
    }

    void theDirectoryDownSaysSoAndOtherAddressesPlayAsTheyAre() {
        Rig rig;
        rig.directory->down = true;
        rig.stations->PlayStream(streamOf("Шансон"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.radio->status().state, RadioStatus::State::NoConnection, 20000);
        QVERIFY(rig.log->opened.isEmpty());
        // A user's own station is no catalog station: straight to the radio.
        rig.stations->PlayStream("http://127.0.0.1:9/own.mp3");
        QCOMPARE(rig.log->opened.value(0), QUrl("http://127.0.0.1:9/own.mp3"));
        QCOMPARE(rig.directory->server.requests.size(), 1);
    }

    void radioOffOrAnotherStationDuringTheLookupWins() {
        Rig rig;
        // The directory takes its time: the answer never completes.
        rig.directory->server.handler = [](const QByteArray&) {
            return std::optional<LoopbackServer::Route>(
                LoopbackServer::Route{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n[", true});
        };
        rig.stations->PlayStream(streamOf("Романтика"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.directory->server.requests.size(), 1, 20000);
        rig.radio->StopStream();
        QCOMPARE(rig.radio->status().state, RadioStatus::State::Off);
        rig.directory->server.dropAll();
        QTest::qWait(300);
        QCOMPARE(rig.radio->status().state, RadioStatus::State::Off);
        QVERIFY(rig.log->opened.isEmpty());

        rig.stations->PlayStream(streamOf("Романтика"));
        rig.stations->PlayStream("http://127.0.0.1:9/own.mp3");
        rig.directory->server.dropAll();
        QTest::qWait(300);
        QCOMPARE(rig.log->opened, QList<QUrl>{QUrl("http://127.0.0.1:9/own.mp3")});
    }

    void aKeptAddressThatIsNoWebAddressIsNotPlayed() {
        Rig rig;
        rig.settings->WriteString(BuiltInStations::section(), "mayak.url", "file:///dev/zero");
        rig.settings->WriteString(BuiltInStations::section(), "mayak.time",
                                  QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
        rig.stations->PlayStream(streamOf("Радио Маяк"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.log->opened.size(), 1, 20000);
        QCOMPARE(QUrlQuery(rig.log->opened.first()).queryItemValue("s"), QStringLiteral("mayak"));
    }
};

QTEST_GUILESS_MAIN(TestBuiltInStations)
#include "test_builtin_stations.moc"
