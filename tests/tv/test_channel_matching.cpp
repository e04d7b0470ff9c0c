#include "navigation/CatalogSlots.h"
#include "tv/ChannelAliases.h"
#include "tv/ChannelKey.h"
#include "tv/ChannelMatcher.h"
#include "tv/IptvLibrary.h"
#include "tv/M3uPlaylist.h"

#include <QFile>
#include <QSet>
#include <QTest>

namespace {

const QStringList kCountries{"ru", "ua", "by", "kz"};

// The four public per-country playlists as published, each entry with its playlist's country.
std::vector<PlaylistEntry> sharedPlaylists() {
    std::vector<PlaylistEntry> all;
    for (const QString& cc : kCountries) {
        QFile f(qEnvironmentVariable("ZELMO_TEST_SOURCE_DIR") + QStringLiteral("/tests/tv/data/iptv-org/") +
                cc + QStringLiteral(".m3u"));
        if (!f.open(QIODevice::ReadOnly))
            qFatal("%s.m3u is missing", qPrintable(cc));
        ParsedPlaylist p = M3uPlaylist::parse(
            f.readAll(), QUrl(QStringLiteral("http://127.0.0.1:1/countries/%1.m3u").arg(cc)));
        if (!p.ok())
            qFatal("%s.m3u: %s", qPrintable(cc), qPrintable(p.error));
        for (PlaylistEntry& e : p.entries) {
            e.country = cc;
            all.push_back(std::move(e));
        }
    }
    return all;
}

// The grid slots that the shared playlists play, and the entry each one plays first. Every pair
// was looked at by hand and judged to be the same channel (renamed ones included: ОРТ is Первый
// канал, ТВЦ ТВ Центр, Перец Че!, Ю U, Viasat History viju History, Наука 2.0 Наука, Боец Матч!
// Боец, ТВ1000 viju TV1000, AXN Sci-Fi .sci-fi, Беларусь ТВ Беларусь 24). Every other slot must stay
// without a stream.
struct Pair {
    const char* layout;
    int slot;
    const char* caption;
    const char* tvgId;
    const char* name;
};
// clang-format off
const Pair kExpected[] = {
    {"public", 1, "ОРТ", "ChannelOne.ru@SD", "Первый канал (720p)"},
    {"public", 4, "НТВ", "NTV.ru@HD", "NTV HD (1080p)"},
    {"public", 6, "Ю", "U.ru@SD", "U (720p)"},
    {"public", 9, "Пятница", "Friday.ru@SD", "Пятница! (576p)"},
    {"public", 11, "Россия 24", "Russia24.ru@SD", "Россия 24 (576p) [Not 24/7]"},
    {"public", 13, "Перец", "Che.ru@SD", "Che!"},
    {"public", 14, "РБК", "RBKTV.ru@SD", "РБК (576p)"},
    {"public", 16, "ТВЦ", "TVCentr.ru@SD", "ТВ Центр"},
    {"public", 19, "Звезда", "Zvezda.ru@SD", "Звезда (1080p) [Not 24/7]"},
    {"public", 22, "Мир ТВ", "Mir.ru@SD", "Мир (1080p) [Not 24/7]"},
    {"public", 25, "Рен ТВ", "RENTV.ru@HD", "REN TV HD"},
    {"public", 29, "Союз", "Soyuz.ru@SD", "Союз (576p)"},
    {"public", 30, "ОТР ", "OTR.ru@SD", "OTR (576p)"},
    {"music", 2, "RU TV", "RUTV.ru@SD", "RU.TV (1080p)"},
    {"music", 11, "Шансон ТВ", "ShansonTV.ru@SD", "Шансон ТВ (576p) [Geo-blocked]"},
    {"music", 24, "Европа плюс ТВ", "EuropaPlusTV.ru@SD", "Europa Plus TV (576p)"},
    {"music", 29, "Retro", "Retro.ru@SD", "Retro"},
    {"entertainment", 6, "Усадьба ТВ", "Usadba.ru@SD", "Usadba (576p)"},
    {"Research", 8, "Viasat  History", "vijuHistory.ru@SD", "viju History (576p)"},
    {"Research", 11, "Наука 2.0.", "Nauka.ru@SD", "Наука"},
    {"Research", 17, "Моя планета", "MoyaPlaneta.ru@SD", "Moya Planeta (576p)"},
    {"Research", 20, "Нано ТВ", "Nano.ru@HD", "Нано ТВ HD (576p)"},
    {"Sport", 5, "Автоплюс", "AutoPlus.ru@SD", "Auto Plus (576p)"},
    {"Sport", 7, "Русский extreme", "RussianExtreme.ru@SD", "Russian Extreme (576p)"},
    {"Sport", 8, "Драйв", "Drive.ru@SD", "Drive (576i)"},
    {"Sport", 13, "Боец", "MatchBoets.ru@SD", "Match! Boets (576p)"},
    {"Sport", 22, "КХЛ", "KHL.ru@SD", "KHL (576p)"},
    {"movie", 1, "ТВ1000", "vijuTV1000.ru@SD", "viju TV1000 (576p)"},
    {"movie", 2, "НСТ", "NST.ru@SD", "NST"},
    {"movie", 5, "AXN Sci-Fi", "scifi.ru@SD", ".sci-fi (576p)"},
    {"movie", 6, "ТВ-21", "TV21.ru@SD", "TV 21 (576p)"},
    {"movie", 7, "ТВ1000 рус. кино", "vijuTV1000russkoe.ru@SD", "viju TV1000 russkoe (576p)"},
    {"movie", 22, "Еврокино", "Evrokino.ru@SD", "Evrokino (576p)"},
    {"Cartoons", 4, "2x2", "2x2.ru@SD", "2x2 (576i)"},
    {"Ukrainian", 9, "RENOME", "RenomeTV.ua@SD", "Renome (576p)"},
    {"Ukrainian", 13, "5 канал", "Channel5.ua@SD", "Channel 5 (1080p)"},
    {"Ukrainian", 23, "100 News", "100NEWS.ua@SD", "100% News (576p)"},
    {"CISa", 14, "KTK", "KTK.kz@SD", "КТК (1080p) [Not 24/7]"},
    {"CISa", 16, "Балапан", "Balapan.kz@SD", "Balapan TV (1080p)"},
    {"CISb", 15, "Беларусь ТВ", "Belarus24.by@SD", "Беларусь 24 (1080p)"},
};
// clang-format on

} // namespace

class TestChannelMatching : public QObject {
    Q_OBJECT
private slots:
    void sharedPlaylistsAgainstTheGrid();
    void aCaptionIsOneChannel();
    void streamsCarryMirrorsHeadersAndLogo();
    void keys_data();
    void keys();
    void countryIsNeverCrossed();
    void aliasTable();
    void requestHeaders_data();
    void requestHeaders();
    void windows1251();
};

void TestChannelMatching::sharedPlaylistsAgainstTheGrid() {
    const std::vector<PlaylistEntry> entries = sharedPlaylists();
    IptvLibrary lib;
    lib.setPlaylist(entries, ChannelMatcher::match(lib.catalog(), entries, {}));

    QHash<QString, const Pair*> expected;
    for (const Pair& p : kExpected)
        expected.insert(QStringLiteral("%1/%2").arg(QLatin1String(p.layout)).arg(p.slot), &p);
    int matched = 0;
    for (const TvSlot& s : CatalogTvSlots()) {
        const QString where = QStringLiteral("%1/%2 %3").arg(LayoutKey(s.layout)).arg(s.slot).arg(s.caption);
        const PlaylistEntry* e = lib.entryFor(s.caption);
        const Pair* want = expected.take(QStringLiteral("%1/%2").arg(LayoutKey(s.layout)).arg(s.slot));
        if (!want) {
            QVERIFY2(!e, qPrintable(where + QStringLiteral(" took ") +
                                    (e ? e->tvgId + u' ' + e->name : QString())));
            continue;
        }
        ++matched;
        QCOMPARE(s.caption, QString::fromUtf8(want->caption));
        QVERIFY2(e, qPrintable(where + QStringLiteral(" has no stream")));
        QCOMPARE(e->tvgId, QString::fromUtf8(want->tvgId));
        QCOMPARE(e->name, QString::fromUtf8(want->name));
        QCOMPARE(EntryCountry(*e), s.country);
    }
    QVERIFY2(expected.isEmpty(), qPrintable(expected.keys().join(u' ')));
    qInfo("grid TV slots matched: %d of %d; catalog channels: %d of %d (playlists of %d entries)", matched,
          int(CatalogTvSlots().size()), lib.matchedCount(), int(lib.catalogNames().size()),
          int(entries.size()));
    QVERIFY(matched >= 35);
}

// The dispatcher gets a slot's caption only: that is enough because a caption names one channel of
// one country wherever a layout shows it.
void TestChannelMatching::aCaptionIsOneChannel() {
    QHash<QString, QString> country;
    for (const TvSlot& s : CatalogTvSlots()) {
        QVERIFY2(!s.country.isEmpty(), qPrintable(s.caption));
        const auto it = country.constFind(s.caption);
        if (it != country.cend())
            QCOMPARE(s.country, *it);
        country.insert(s.caption, s.country);
    }
    // The foreign set's headings: Georgia, Kazakhstan, Armenia; Azerbaijan, Belarus.
    QCOMPARE(SlotCountry(LayoutId::CISa, 6), QStringLiteral("ge"));
    QCOMPARE(SlotCountry(LayoutId::CISa, 14), QStringLiteral("kz"));
    QCOMPARE(SlotCountry(LayoutId::CISa, 23), QStringLiteral("am"));
    QCOMPARE(SlotCountry(LayoutId::CISb, 6), QStringLiteral("az"));
    QCOMPARE(SlotCountry(LayoutId::CISb, 13), QStringLiteral("by"));
    QCOMPARE(SlotCountry(LayoutId::Ukrainian, 13), QStringLiteral("ua"));
    QCOMPARE(SlotCountry(LayoutId::Records, 1), QStringLiteral("ru"));
}

void TestChannelMatching::streamsCarryMirrorsHeadersAndLogo() {
    const std::vector<PlaylistEntry> entries = sharedPlaylists();
    IptvLibrary lib;
    lib.setPlaylist(entries, ChannelMatcher::match(lib.catalog(), entries, {}));
    // ОРТ: "Первый канал (720p)" first, "Channel One HD" behind it.
    const auto ort = lib.streamFor(QStringLiteral("ОРТ"));
    QVERIFY(ort);
    QCOMPARE(ort->displayName, QStringLiteral("Первый канал (720p)"));
    QCOMPARE(ort->alternates.size(), size_t(1));
    QCOMPARE(ort->alternates[0].url, QUrl("http://tmptv.sunduk.tv/CH125/index.m3u8"));
    // Беларусь ТВ: three entries of Беларусь 24 in playlist order, the first one plays.
    const auto by = lib.streamFor(QStringLiteral("Беларусь ТВ"));
    QVERIFY(by);
    QCOMPARE(by->url, QUrl("https://ngtrk.dc.beltelecom.by/ngtrk/smil:belarus24.smil/playlist.m3u8"));
    QCOMPARE(by->alternates.size(), size_t(2));
    QCOMPARE(by->alternates[0].url, QUrl("http://serv30.vintera.tv:8081/belarus24/belarus24/playlist.m3u8"));
    QCOMPARE(by->alternates[1].url,
             QUrl("https://edge53.dc.beltelecom.by/ngtrk/smil:belarus24.smil/playlist.m3u8"));
    // Мир ТВ: the time-shifted feeds (+2, +4, +7) are other schedules, never mirrors.
    const auto mir = lib.streamFor(QStringLiteral("Мир ТВ"));
    QVERIFY(mir);
    QCOMPARE(mir->tvgId, QStringLiteral("Mir.ru@SD"));
    QVERIFY(mir->alternates.empty());
    // A playlist name outside the catalog plays with its mirrors and headers too.
    const auto ldpr = lib.streamFor(QStringLiteral("ЛДПР ТВ (720p)"));
    QVERIFY(ldpr);
    QCOMPARE(ldpr->alternates.size(), size_t(2)); // the same guide id at 1080p and 480p
    const auto belarus2 = lib.streamFor(QStringLiteral("Беларусь 2 (1080p)"));
    QVERIFY(belarus2);
    QCOMPARE(belarus2->headers, (HttpHeaders{{"Referer", "https://belarus2.by/"}}));
}

void TestChannelMatching::keys_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("same");
    QTest::newRow("resolution and label") << "Звезда (1080p) [Not 24/7]"
                                          << "Звезда" << true;
    QTest::newRow("geo label") << "Шансон ТВ (576p) [Geo-blocked]"
                               << "Шансон ТВ" << true;
    QTest::newRow("interlaced") << "Drive (576i)"
                                << "Drive" << true;
    QTest::newRow("HD in brackets") << "Волга (HD)"
                                    << "Волга" << true;
    QTest::newRow("Latin НТВ") << "NTV HD (1080p)"
                               << "НТВ" << true;
    QTest::newRow("Latin Рен ТВ") << "REN TV HD"
                                  << "Рен ТВ" << true;
    QTest::newRow("Latin ОТР") << "OTR (576p)"
                               << "ОТР " << true;
    QTest::newRow("Latin Моя планета") << "Moya Planeta (576p)"
                                       << "Моя планета" << true;
    QTest::newRow("kh and ts") << "Tsargrad TV"
                               << "Царьград ТВ" << true;
    QTest::newRow("КХЛ") << "KHL (576p)"
                         << "КХЛ" << true;
    QTest::newRow("look-alike T") << "TНТ"
                                  << "ТНТ" << true;
    QTest::newRow("look-alikes in a Cyrillic word") << "Poccия 24"
                                                    << "Россия 24" << true;
    QTest::newRow("Latin KTK and Cyrillic КТК") << "KTK"
                                                << "КТК (1080p) [Not 24/7]" << true;
    QTest::newRow("TV word") << "Мир"
                             << "Мир ТВ" << true;
    QTest::newRow("percent") << "100% News (576p)"
                             << "100 News" << true;
    QTest::newRow("Kazakh accents") << "Aqtóbe (576p)"
                                    << "Aqtobe" << true;
    QTest::newRow("another number") << "Россия 1"
                                    << "Россия 24" << false;
    QTest::newRow("time shift") << "Мир +2 (540p)"
                                << "Мир" << false;
    QTest::newRow("region stays") << "РБК (СПБ) (576p)"
                                  << "РБК" << false;
    QTest::newRow("regional sister") << "Rossiya 1 Vainah (576i)"
                                     << "Россия 1" << false;
    QTest::newRow("Домашний is not Domashnie Zhivotnye") << "Domashnie Zhivotnye"
                                                         << "Домашний" << false;
    QTest::newRow("Latin TPO is not Cyrillic ТРО") << "TPO"
                                                   << "ТРО" << false;
}

void TestChannelMatching::keys() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, same);
    const QStringList ka = ChannelMatchKeys(a), kb = ChannelMatchKeys(b);
    bool meet = false;
    for (const QString& k : ka)
        meet = meet || kb.contains(k);
    QVERIFY2(meet == same, qPrintable(ka.join(u',') + QStringLiteral(" / ") + kb.join(u',')));
}

void TestChannelMatching::countryIsNeverCrossed() {
    const auto entry = [](QString name, QString tvgId, QString country = {}) {
        PlaylistEntry e;
        e.name = std::move(name);
        e.tvgId = std::move(tvgId);
        e.country = std::move(country);
        e.url = QUrl(QStringLiteral("http://x/") + e.name);
        return e;
    };
    const std::vector<PlaylistEntry> list{
        entry("Первый канал", "ChannelOne.ru@SD"), // 0
        entry("Channel 5", "Channel5.ru@SD"),      // 1
        entry("СТБ (720p)", "STV.by@SD"),          // 2
        entry("Channel 5", "Channel5.ua@SD"),      // 3
        entry("Звезда", "", "ru"),                 // 4: the playlist's country
        entry("Домашний", ""),                     // 5: no country at all
        entry("КТК", "", "kz"),                    // 6
        entry("Балапан", "Balapan.ru", "kz"),      // 7: the guide id's country wins
    };
    const std::vector<CatalogChannel> catalog{
        {"Первый канал", "ge"}, {"ОРТ", "ru"},      {"5 канал", "ua"},  {"5 Канал", "ru"}, {"СТБ", "ua"},
        {"Звезда", "ru"},       {"Домашний", "ru"}, {"Домашний", "ua"}, {"KTK", "kz"},     {"Балапан", "kz"},
    };
    const auto m = ChannelMatcher::match(catalog, list, {});
    const std::vector<int> want{-1, 0, 3, 1, -1, 4, 5, -1, 6, -1};
    for (size_t i = 0; i < want.size(); ++i)
        QVERIFY2(m[i].entry == want[i],
                 qPrintable(
                     QStringLiteral("%1 (%2): %3").arg(catalog[i].name, catalog[i].country).arg(m[i].entry)));
}

void TestChannelMatching::aliasTable() {
    const ChannelAliases& table = ChannelAliases::builtIn();
    QVERIFY(table.size() >= 20);
    QVERIFY(table.keysFor("ru", "ОРТ").contains(ChannelMatchKeys(u"Channel One").front()));
    QVERIFY(table.keysFor("ru", "ТВЦ").contains(ChannelMatchKeys(u"ТВ Центр").front()));
    QVERIFY(table.keysFor("ru", "Перец").contains(ChannelMatchKeys(u"Che!").front()));
    // A line holds for its own country only.
    QVERIFY(!table.keysFor("ua", "ОРТ").contains(ChannelMatchKeys(u"Channel One").front()));
    // Lines that say nothing usable are left out; the rest is read.
    const ChannelAliases parsed = ChannelAliases::parse(
        "# comment\nru: A = B\nno colon here\nrus: C = D\nru: only one name\n\nua: E=F\n");
    QCOMPARE(parsed.size(), qsizetype(2));
    QVERIFY(parsed.keysFor("ua", "E").contains("f"));
}

void TestChannelMatching::requestHeaders_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("url");
    QTest::addColumn<HttpHeaders>("headers");
    const QByteArray ua = "Mozilla/5.0 (Windows NT 10.0; Win64; x64) Firefox/97.0";
    QTest::newRow("EXTVLCOPT") << QByteArray("#EXTM3U\n#EXTINF:-1,A\n#EXTVLCOPT:http-user-agent=" + ua +
                                             "\n#EXTVLCOPT:http-referrer=https://31.kz/\nhttp://x/a.m3u8\n")
                               << "http://x/a.m3u8"
                               << HttpHeaders{{"User-Agent", ua}, {"Referer", "https://31.kz/"}};
    QTest::newRow("EXTVLCOPT before EXTINF")
        << QByteArray("#EXTM3U\n#EXTVLCOPT:http-referrer=https://r/\n#EXTINF:-1,A\nhttp://x/a\n")
        << "http://x/a" << HttpHeaders{{"Referer", "https://r/"}};
    QTest::newRow("EXTINF attributes")
        << QByteArray("#EXTM3U\n#EXTINF:-1 tvg-id=\"A.ru\" user-agent=\"" + ua +
                      "\" http-referrer=\"https://r/\",A\nhttp://x/a\n")
        << "http://x/a" << HttpHeaders{{"User-Agent", ua}, {"Referer", "https://r/"}};
    QTest::newRow("address|headers")
        << QByteArray(
               "#EXTM3U\n#EXTINF:-1,A\nhttps://x/a.m3u8?t=1|User-Agent=curl%2F8.16.0&Referer=https://r/\n")
        << "https://x/a.m3u8?t=1" << HttpHeaders{{"User-Agent", "curl/8.16.0"}, {"Referer", "https://r/"}};
    QTest::newRow("KODIPROP")
        << QByteArray(
               "#EXTM3U\n#EXTINF:-1,A\n#KODIPROP:inputstream.adaptive.manifest_headers=User-Agent=K%20UA&"
               "Origin=https://o\n#KODIPROP:inputstream.adaptive.stream_headers=Referer=https://r/\n"
               "#KODIPROP:inputstream.adaptive.license_type=clearkey\nhttp://x/a.mpd\n")
        << "http://x/a.mpd"
        << HttpHeaders{{"User-Agent", "K UA"}, {"Origin", "https://o"}, {"Referer", "https://r/"}};
    QTest::newRow("a later value replaces")
        << QByteArray(
               "#EXTM3U\n#EXTINF:-1 user-agent=\"one\",A\n#EXTVLCOPT:http-user-agent=two\nhttp://x/a\n")
        << "http://x/a" << HttpHeaders{{"User-Agent", "two"}};
    QTest::newRow("line end smuggled in a value is dropped")
        << QByteArray("#EXTM3U\n#EXTINF:-1,A\nhttp://x/a|User-Agent=a%0D%0AX-Evil:%201&Referer=https://r/\n")
        << "http://x/a" << HttpHeaders{{"Referer", "https://r/"}};
    QTest::newRow("none") << QByteArray("#EXTM3U\n#EXTINF:-1,A\nhttp://x/a\n") << "http://x/a"
                          << HttpHeaders{};
}

void TestChannelMatching::requestHeaders() {
    QFETCH(QByteArray, text);
    QFETCH(QString, url);
    QFETCH(HttpHeaders, headers);
    const ParsedPlaylist p = M3uPlaylist::parse(text, QUrl("http://x/list.m3u"));
    QVERIFY2(p.ok(), qPrintable(p.error));
    QCOMPARE(p.entries.size(), size_t(1));
    QCOMPARE(p.entries[0].url, QUrl(url));
    QCOMPARE(p.entries[0].headers, headers);
}

void TestChannelMatching::windows1251() {
    // "Первый канал" and "Звезда" in Windows-1251, no byte-order mark.
    const QByteArray text =
        "#EXTM3U\r\n#EXTINF:-1 tvg-id=\"ChannelOne.ru@SD\",\xCF\xE5\xF0\xE2\xFB\xE9\x20\xEA\xE0"
        "\xED\xE0\xEB\r\nhttp://x/1\r\n#EXTINF:-1,\xC7\xE2\xE5\xE7\xE4\xE0\r\nhttp://x/2\r\n"
        "#EXTINF:-1,\xC7\xE2\xE5\xE7\xE4\xE0\r\nrtmp://x/3\r\n";
    const ParsedPlaylist p = M3uPlaylist::parse(text, QUrl("http://x/list.m3u"));
    QVERIFY2(p.ok(), qPrintable(p.error));
    QCOMPARE(p.entries.size(), size_t(2));
    QCOMPARE(p.entries[0].name, QStringLiteral("Первый канал"));
    QCOMPARE(p.entries[1].name, QStringLiteral("Звезда"));
    QCOMPARE(p.refused, 1); // another scheme is refused whatever the encoding
    // UTF-8 stays UTF-8.
    const ParsedPlaylist u =
        M3uPlaylist::parse("#EXTM3U\n#EXTINF:-1,Звезда\nhttp://x/2\n", QUrl("http://x/l.m3u"));
    QCOMPARE(u.entries.at(0).name, QStringLiteral("Звезда"));
}

QTEST_GUILESS_MAIN(TestChannelMatching)
#include "test_channel_matching.moc"
