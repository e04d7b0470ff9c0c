#include "tv/ChannelMatcher.h"
#include "tv/ChannelName.h"
#include "tv/GuidePage.h"
#include "tv/IptvLibrary.h"
#include "tv/M3uPlaylist.h"
#include "tv/XmltvReader.h"

#include "TvSamples.h"

#include <QBuffer>
#include <QTest>

#include <sys/resource.h>
#include <zlib.h>

#include <ctime>

namespace {

const QUrl kSource(QStringLiteral("http://127.0.0.1:8080/lists/ru.m3u"));

QStringList names(const ParsedPlaylist& p) {
    QStringList out;
    for (const PlaylistEntry& e : p.entries)
        out << e.name;
    return out;
}

ParsedGuide readGuide(const QByteArray& bytes, const GuideFilter& filter) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return XmltvReader::read(buffer, filter);
}

GuideFilter around(qint64 now, QSet<QString> ids, QSet<QString> nameKeys = {}) {
    GuideFilter f;
    f.ids = std::move(ids);
    f.nameKeys = std::move(nameKeys);
    f.from = now - 24 * 3600 * 1000LL;
    f.to = now + 24 * 3600 * 1000LL;
    return f;
}

// gzip of head, then filler repeated until `plainBytes`, then tail: a large plain text from a
// small buffer, as a compression bomb is built.
QByteArray gzipBomb(const QByteArray& head, const QByteArray& filler, qint64 plainBytes,
                    const QByteArray& tail = {}) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    const auto put = [&](const QByteArray& in, int flush) {
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
        z.avail_in = uInt(in.size());
        do {
            z.next_out = reinterpret_cast<Bytef*>(buffer.data());
            z.avail_out = uInt(buffer.size());
            deflate(&z, flush);
            out.append(buffer.constData(), buffer.size() - qsizetype(z.avail_out));
        } while (z.avail_out == 0);
    };
    put(head, Z_NO_FLUSH);
    const QByteArray block = filler.repeated((1 << 20) / filler.size());
    for (qint64 left = plainBytes; left > 0; left -= block.size())
        put(block.first(qsizetype(std::min<qint64>(left, block.size()))), Z_NO_FLUSH);
    put(tail, Z_FINISH);
    deflateEnd(&z);
    return out;
}

long peakRssKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

} // namespace

class TestIptvParsing : public QObject {
    Q_OBJECT
private slots:
    void playlistFields();
    void playlistBadInput_data();
    void playlistBadInput();
    void nameKeys_data();
    void nameKeys();
    void matchingOrderAndChoices();
    void realWorldPlaylistAgainstTheCatalog();
    void guidePlainAndCompressedAgree();
    void guideKeepsOnlyWhatIsNeeded();
    void guideBadInput_data();
    void guideBadInput();
    void guidePage();
    void guideTimeZones_data();
    void guideTimeZones();
    void guidePageShowsLocalTime();
    void guideHostileInput_data();
    void guideHostileInput();
};

void TestIptvParsing::playlistFields() {
    const QByteArray text = "\xEF\xBB\xBF#EXTM3U x-tvg-url=\"http://x/epg.xml\"\r\n"
                            "#EXTINF:-1 tvg-id=\"ntv.ru\" tvg-name=\"НТВ\" tvg-logo=\"http://x/n.png\" "
                            "group-title=\"Эфирные, федеральные\",НТВ, Москва\r\n"
                            "#EXTGRP:ignored\r\n"
                            "http://cdn.example/ntv/index.m3u8\r\n"
                            "#EXTINF:0,Relative\n"
                            "../streams/rel.ts\n";
    const ParsedPlaylist p = M3uPlaylist::parse(text, kSource);
    QVERIFY2(p.ok(), qPrintable(p.error));
    QCOMPARE(p.entries.size(), size_t(2));
    const PlaylistEntry& e = p.entries[0];
    QCOMPARE(e.name, QStringLiteral("НТВ, Москва")); // the comma inside quotes does not end the head
    QCOMPARE(e.tvgId, QStringLiteral("ntv.ru"));
    QCOMPARE(e.tvgName, QStringLiteral("НТВ"));
    QCOMPARE(e.logo, QStringLiteral("http://x/n.png"));
    QCOMPARE(e.group, QStringLiteral("Эфирные, федеральные"));
    QCOMPARE(e.url, QUrl(QStringLiteral("http://cdn.example/ntv/index.m3u8")));
    QCOMPARE(p.entries[1].url, QUrl(QStringLiteral("http://127.0.0.1:8080/streams/rel.ts")));
    QCOMPARE(p.guideUrl, QUrl(QStringLiteral("http://x/epg.xml")));
    // The header's guide: a list whose first http(s) address counts, relative ones resolved; none.
    QCOMPARE(
        M3uPlaylist::parse("#EXTM3U url-tvg=\"file:///etc/epg.xml, guides/epg.xml.gz\"\n", kSource).guideUrl,
        QUrl(QStringLiteral("http://127.0.0.1:8080/lists/guides/epg.xml.gz")));
    QVERIFY(M3uPlaylist::parse("#EXTM3U\n#EXTINF:-1,A\nhttp://a/\n", kSource).guideUrl.isEmpty());
    QCOMPARE(
        M3uPlaylist::parse(TvSamples::ruPlaylist(QStringLiteral("http://127.0.0.1:1")), kSource).guideUrl,
        QUrl(QStringLiteral("http://127.0.0.1:1/epg.xml.gz")));
}

void TestIptvParsing::playlistBadInput_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("error"); // part of the error; empty: the import succeeds
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QList<int>>("counts"); // skipped lines, duplicates, refused

    QTest::newRow("no header") << QByteArray("#EXTINF:-1,A\nhttp://x/a\n") << "#EXTM3U" << QStringList{}
                               << QList<int>{0, 0, 0};
    QTest::newRow("empty") << QByteArray() << "#EXTM3U" << QStringList{} << QList<int>{0, 0, 0};
    QTest::newRow("html page") << QByteArray("<html><body>404</body></html>") << "#EXTM3U" << QStringList{}
                               << QList<int>{0, 0, 0};
    QTest::newRow("header only") << QByteArray("#EXTM3U\n") << "нет ни одного канала" << QStringList{}
                                 << QList<int>{0, 0, 0};
    QTest::newRow("only local files")
        << QByteArray("#EXTM3U\n#EXTINF:-1,A\nfile:///etc/passwd\n#EXTINF:-1,B\n"
                      "rtsp://x/b\n")
        << "http(s)" << QStringList{} << QList<int>{0, 0, 2};
    QTest::newRow("broken lines")
        << QByteArray(
               "#EXTM3U\n#EXTINF:-1 no comma here\nhttp://x/0\n#EXTINF:-1,A\n#EXTINF:-1,B\nhttp://x/b\n"
               "http://x/orphan\n#EXTINF:-1,C\nhttp://x/c\n#EXTINF:-1,D\n")
        << "" << QStringList{"B", "C"} << QList<int>{5, 0, 0};
    QTest::newRow("a name's second entry is kept: a mirror")
        << QByteArray(
               "#EXTM3U\n#EXTINF:-1,A\nhttp://x/1\n#EXTINF:-1,A\nhttp://x/2\n#EXTINF:-1,B\nhttp://x/3\n")
        << "" << QStringList{"A", "A", "B"} << QList<int>{0, 1, 0};
    QTest::newRow("other schemes refused")
        << QByteArray("#EXTM3U\n#EXTINF:-1,A\nrtmp://x/a\n#EXTINF:-1,B\nhttps://x/b\n#EXTINF:-1,C\n"
                      "udp://@239.0.0.1:1234\n#EXTINF:-1,D\njavascript:alert(1)\n")
        << "" << QStringList{"B"} << QList<int>{0, 0, 3};
    QByteArray garbage(10 * 1024 * 1024, 'x');
    garbage.prepend("#EXTM3U\n");
    QTest::newRow("10 MB") << garbage << "больше 8 МБ" << QStringList{} << QList<int>{0, 0, 0};
}

void TestIptvParsing::playlistBadInput() {
    QFETCH(QByteArray, text);
    QFETCH(QString, error);
    QFETCH(QStringList, kept);
    QFETCH(QList<int>, counts);
    const ParsedPlaylist p = M3uPlaylist::parse(text, kSource);
    if (error.isEmpty())
        QVERIFY2(p.ok(), qPrintable(p.error));
    else
        QVERIFY2(p.error.contains(error), qPrintable(p.error));
    QCOMPARE(names(p), kept);
    QCOMPARE((QList<int>{p.skippedLines, p.duplicates, p.refused}), counts);
}

void TestIptvParsing::nameKeys_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("same");
    QTest::newRow("case") << "нтв"
                          << "НТВ" << true;
    QTest::newRow("Latin T in ТНТ") << "TНТ"
                                    << "ТНТ" << true;
    QTest::newRow("Latin P in Рен") << "Pен ТВ"
                                    << "Рен ТВ" << true;
    QTest::newRow("spaces") << "РИА   Новости"
                            << "РИА Новости" << true;
    QTest::newRow("HD") << "Первый канал HD"
                        << "Первый канал" << true;
    QTest::newRow("FHD and +0") << "Россия 1 FHD +0"
                                << "Россия 1" << true;
    QTest::newRow("country") << "НТВ (Россия)"
                             << "НТВ" << true;
    QTest::newRow("country then HD") << "НТВ (Россия) HD"
                                     << "НТВ" << true;
    QTest::newRow("quotes") << "«Спас»"
                            << "Спас" << true;
    QTest::newRow("ampersand") << "Кухня & Дом"
                               << "Кухня и дом" << true;
    QTest::newRow("hyphen") << "Муз-ТВ"
                            << "Муз ТВ" << true;
    QTest::newRow("ё") << "Ёлка"
                       << "Елка" << true;
    QTest::newRow("other number") << "Россия 1"
                                  << "Россия 2" << false;
    QTest::newRow("time shift is another channel") << "ТВ-3 +2"
                                                   << "ТВ-3" << false;
    QTest::newRow("HD inside a name") << "HD Media"
                                      << "Media" << false;
    QTest::newRow("another country") << "Муз ТВ (Азербайджан)"
                                     << "Муз ТВ" << false;
    QTest::newRow("quality in brackets") << "Спас [HD]"
                                         << "Спас" << true;
}

void TestIptvParsing::nameKeys() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, same);
    QCOMPARE(ChannelNameKey(a) == ChannelNameKey(b), same);
}

void TestIptvParsing::matchingOrderAndChoices() {
    std::vector<PlaylistEntry> list(4);
    list[0].name = QStringLiteral("Первый HD"); // display name matches "Первый"
    list[1].name = QStringLiteral("Channel One");
    list[1].tvgName = QStringLiteral("Первый"); // so does its tvg-name: the channel's second entry
    list[2].name = QStringLiteral("Россия 1");
    list[3].name = QStringLiteral("НТВ");
    const QStringList catalog{"Первый", "Россия 1", "НТВ", "ТНТ", "Россия 2"};
    QHash<QString, QString> manual{{"НТВ", ""}, {"Россия 2", "Россия 1"}, {"ТНТ", "gone from the list"}};
    const auto m = ChannelMatcher::match(catalog, list, manual);
    QCOMPARE(m.size(), size_t(5));
    QCOMPARE(m[0].entry, 0);
    QCOMPARE(m[0].alternates, std::vector<int>{1});
    QCOMPARE(m[1].entry, 2);
    QVERIFY(!m[1].manual);
    QCOMPARE(m[2].entry, -1); // cleared by the user
    QVERIFY(m[2].manual);
    QCOMPARE(m[3].entry, -1);
    QCOMPARE(m[4].entry, 2);

    IptvLibrary lib(catalog);
    lib.setPlaylist(list, m);
    QCOMPARE(lib.matchedCount(), 3);
    QCOMPARE(lib.streamFor("Первый")->displayName, QStringLiteral("Первый HD"));
    QCOMPARE(lib.streamFor("Первый")->alternates.size(), size_t(1));
    QVERIFY(!lib.streamFor("НТВ")); // a cleared catalog channel plays nothing
    QCOMPARE(lib.streamFor("Первый HD")->displayName, QStringLiteral("Первый HD")); // not in the catalog
    QVERIFY(!lib.streamFor("Нет такого"));
    lib.choose("НТВ", "НТВ");
    QCOMPARE(lib.streamFor("НТВ")->displayName, QStringLiteral("НТВ"));
}

void TestIptvParsing::realWorldPlaylistAgainstTheCatalog() {
    const ParsedPlaylist p = M3uPlaylist::parse(TvSamples::ruPlaylist("http://127.0.0.1:1"), kSource);
    QVERIFY2(p.ok(), qPrintable(p.error));
    IptvLibrary lib;
    lib.setPlaylist(p.entries, ChannelMatcher::match(lib.catalog(), p.entries, {}));
    const QHash<QString, QString> expected{{"Россия 1", "Россия 1 +0"},
                                           {"НТВ", "НТВ (Россия)"},
                                           {"ТНТ", "TНТ"},
                                           {"Рен ТВ", "Pен ТВ HD"},
                                           {"Россия К", "Россия Культура HD"},
                                           {"Russia   Today", "Russia Today HD"},
                                           {"ТВ-3", "ТВ3"},
                                           {"Discovery Channel", "Discovery Channel (Russia)"}};
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const auto s = lib.streamFor(it.key());
        QVERIFY2(s, qPrintable(it.key()));
        QCOMPARE(s->displayName, it.value());
    }
    QCOMPARE(lib.streamFor("СТС")->url, QUrl("http://127.0.0.1:8080/lists/live/sts/index.m3u8"));
    QCOMPARE(lib.streamFor("ТВЦ")->displayName, QStringLiteral("ТВ Центр"));        // through the alias table
    QCOMPARE(lib.streamFor("ОРТ")->displayName, QStringLiteral("Первый канал HD")); // renamed
    QCOMPARE(lib.streamFor("ОРТ")->alternates.size(), size_t(1)); // its mirror under /backup/
    // Playlist entries of no known country never serve the foreign set.
    QVERIFY(!lib.streamFor("Первый канал")); // the Georgian one
    QVERIFY(!lib.streamFor("5 канал"));      // the Ukrainian one
    qInfo("catalog TV channels matched: %d of %d (playlist of %d)", lib.matchedCount(),
          int(lib.catalogNames().size()), int(p.entries.size()));
    QCOMPARE(lib.matchedCount(), 30);
}

void TestIptvParsing::guidePlainAndCompressedAgree() {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const QByteArray xml = TvSamples::guide(now, {"1tv", "ntv"}, {"Первый канал", "НТВ"});
    for (const QByteArray& bytes :
         {xml, TvSamples::gzip(xml), TvSamples::gzip(xml.first(1000)) + TvSamples::gzip(xml.sliced(1000))}) {
        const ParsedGuide g = readGuide(bytes, around(now, {"1tv", "ntv"}));
        QVERIFY2(g.ok(), qPrintable(g.error));
        QCOMPARE(g.guide.channelCount(), 2);
        const auto* list = g.guide.find("ntv", {});
        QVERIFY(list);
        // Hours overlapping [now - 24 h, now + 24 h): 49 of the 72.
        QCOMPARE(list->size(), size_t(49));
        QVERIFY(std::is_sorted(list->begin(), list->end(),
                               [](const Programme& a, const Programme& b) { return a.start < b.start; }));
        const auto on = std::find_if(list->begin(), list->end(),
                                     [now](const Programme& p) { return p.start <= now && now < p.stop; });
        QVERIFY(on != list->end());
        QCOMPARE(on->title, QStringLiteral("ntv 24"));
        QCOMPARE(on->description, QStringLiteral("О передаче 24 & прочем"));
    }
}

void TestIptvParsing::guideKeepsOnlyWhatIsNeeded() {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const QByteArray xml = TvSamples::guide(now, {"a", "b", "c"}, {"Первый канал", "НТВ", "Спас"});
    // "b" by its id, "Первый канал" by its name (written with HD in the playlist); "c" is not wanted.
    const ParsedGuide g = readGuide(xml, around(now, {"b"}, {ChannelNameKey(u"Первый канал HD")}));
    QVERIFY2(g.ok(), qPrintable(g.error));
    QCOMPARE(g.guide.channelCount(), 2);
    QVERIFY(g.guide.find("b", {}));
    QVERIFY(!g.guide.find("c", {"Спас"}));
    QCOMPARE(g.guide.find("unknown-id", {"", "ПЕРВЫЙ КАНАЛ"}), g.guide.find("a", {}));
}

void TestIptvParsing::guideBadInput_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    const QByteArray good = TvSamples::guide(QDateTime::currentMSecsSinceEpoch(), {"a"}, {"A"});
    QTest::newRow("empty") << QByteArray() << "пуст";
    QTest::newRow("not xml") << QByteArray("#EXTM3U\nhttp://x\n") << "XML";
    QTest::newRow("other root") << QByteArray("<?xml version=\"1.0\"?><html><body/></html>") << "<html>";
    QTest::newRow("cut short") << good.first(good.size() / 2) << "оборван";
    QTest::newRow("broken tag") << QByteArray("<tv><channel id=\"a\"><display-name>A</channel></tv>")
                                << "строке 1";
    QTest::newRow("gzip cut short") << TvSamples::gzip(good).first(200) << "оборван";
    QByteArray corrupt = TvSamples::gzip(good);
    corrupt[40] = char(corrupt[40] ^ 0x55);
    corrupt[41] = char(corrupt[41] ^ 0x55);
    QTest::newRow("gzip corrupt") << corrupt << "";
}

void TestIptvParsing::guideBadInput() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    const ParsedGuide g = readGuide(bytes, around(QDateTime::currentMSecsSinceEpoch(), {"a"}));
    QVERIFY(!g.ok());
    QVERIFY2(g.error.contains(error), qPrintable(g.error));
    QVERIFY(g.guide.isEmpty());
}

void TestIptvParsing::guidePage() {
    const QDateTime noon(QDate::currentDate(), QTime(12, 30));
    const qint64 now = noon.toMSecsSinceEpoch();
    const qint64 hour = 3600 * 1000;
    const qint64 twelve = QDateTime(QDate::currentDate(), QTime(12, 0)).toMSecsSinceEpoch();
    std::vector<Programme> list;
    // From noon yesterday to the day after tomorrow, hourly (local time; the test runs away from UTC).
    for (int h = -24; h < 60; ++h)
        list.push_back(
            {twelve + h * hour, twelve + (h + 1) * hour, QStringLiteral("P%1 <b>").arg(12 + h), {}});
    const auto html = GuidePageHtml(QStringLiteral("НТВ"), list, now);
    QVERIFY(html);
    QVERIFY(html->contains(QStringLiteral("<h1>НТВ</h1>")));
    const qsizetype yesterdayAt = html->indexOf(QStringLiteral("Вчера"));
    const qsizetype nowAt = html->indexOf(QStringLiteral("Сейчас"));
    const qsizetype nextAt = html->indexOf(QStringLiteral("Далее"));
    const qsizetype tomorrowAt = html->indexOf(QStringLiteral("Завтра"));
    QVERIFY(yesterdayAt > 0 && nowAt > yesterdayAt && nextAt > nowAt && tomorrowAt > nextAt);
    // Start and end of each programme; the running one half done.
    QVERIFY(html->indexOf(QStringLiteral("12:00<span class=\"e\">–13:00</span></td><td><b>P12 &lt;b&gt;")) >
            nowAt);
    QVERIFY(html->indexOf(QStringLiteral("width:50%")) > nowAt);
    QVERIFY(html->indexOf(QStringLiteral("13:00<span class=\"e\">–14:00</span></td><td><b>P13")) > nextAt);
    QVERIFY(html->contains(QStringLiteral("23:00<span class=\"e\">–00:00</span></td><td><b>P23")));
    // Yesterday's as far as the guide has them (from its noon), tomorrow's to midnight; today's
    // programmes that are over are not listed.
    for (const char* over : {"<b>P0 ", "<b>P11 ", "<b>P48 "})
        QVERIFY2(!html->contains(QLatin1String(over)), over);
    for (const char* y : {"<b>P-12 ", "<b>P-1 "})
        QVERIFY2(html->indexOf(QLatin1String(y)) > yesterdayAt && html->indexOf(QLatin1String(y)) < nowAt, y);
    for (const char* t : {"<b>P24 ", "<b>P47 "})
        QVERIFY2(html->indexOf(QLatin1String(t)) > tomorrowAt, t);
    // A guide that ended before now: no page, the usual one is shown.
    QVERIFY(!GuidePageHtml(QStringLiteral("НТВ"), list, twelve + 60 * hour));
}

void TestIptvParsing::guideTimeZones_data() {
    // Expected instants worked out with GNU date (date -u -d ... +%s), not with the reader's own
    // arithmetic.
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("stop");
    QTest::addColumn<qint64>("startUtc");
    QTest::addColumn<qint64>("stopUtc"); // 0: the programme is dropped
    const qint64 h = 3600;
    QTest::newRow("+0300") << "20261211180000 +0300"
                           << "20261211190000 +0300" << 1797001200LL << 1797001200LL + h;
    QTest::newRow("-0500") << "20261211180000 -0500"
                           << "20261211190000 -0500" << 1797030000LL << 1797030000LL + h;
    QTest::newRow("+03:00") << "20261211180000 +03:00"
                            << "20261211190000 +03:00" << 1797001200LL << 1797001200LL + h;
    QTest::newRow("+0530") << "20261211180000 +0530"
                           << "20261211190000 +0530" << 1796992200LL << 1796992200LL + h;
    QTest::newRow("+03") << "20261211180000 +03"
                         << "20261211190000 +03" << 1797001200LL << 1797001200LL + h;
    QTest::newRow("MSK") << "20261211180000 MSK"
                         << "20261211190000 MSK" << 1797001200LL << 1797001200LL + h;
    QTest::newRow("Europe/Moscow") << "20261211180000 Europe/Moscow"
                                   << "20261211190000 Europe/Moscow" << 1797001200LL << 1797001200LL + h;
    QTest::newRow("Europe/Berlin winter")
        << "20261211180000 Europe/Berlin"
        << "20261211190000 Europe/Berlin" << 1797008400LL << 1797008400LL + h;
    QTest::newRow("Europe/Berlin summer")
        << "20260711180000 Europe/Berlin"
        << "20260711190000 Europe/Berlin" << 1783785600LL << 1783785600LL + h;
    QTest::newRow("GMT") << "20261211180000 GMT"
                         << "20261211190000 GMT" << 1797012000LL << 1797012000LL + h;
    QTest::newRow("no zone") << "20261211180000"
                             << "20261211190000" << 1797012000LL << 1797012000LL + h;
    QTest::newRow("no seconds") << "202612111800 +0000"
                                << "202612111900 +0000" << 1797012000LL << 1797012000LL + h;
    // Without an end the next programme's start ends it.
    QTest::newRow("no end time") << "20261211180000 +0300"
                                 << "" << 1797001200LL << 1797001200LL + 2 * h;
    QTest::newRow("unknown zone") << "20261211180000 Mars/Olympus"
                                  << "20261211190000 Mars/Olympus" << 0LL << 0LL;
    QTest::newRow("offset out of range") << "20261211180000 +9900"
                                         << "20261211190000 +9900" << 0LL << 0LL;
}

void TestIptvParsing::guideTimeZones() {
    QFETCH(QString, start);
    QFETCH(QString, stop);
    QFETCH(qint64, startUtc);
    QFETCH(qint64, stopUtc);
    const QString stopAttr = stop.isEmpty() ? QString() : QStringLiteral(" stop=\"%1\"").arg(stop);
    // The following programme starts two hours later, in UTC.
    const QByteArray xml =
        QStringLiteral("<tv><channel id=\"a\"><display-name>A</display-name></channel>"
                       "<programme start=\"%1\"%2 channel=\"a\"><title>P</title></programme>"
                       "<programme start=\"20261211%3 +0000\" channel=\"a\"><title>Q</title>"
                       "</programme></tv>")
            .arg(start, stopAttr,
                 QDateTime::fromSecsSinceEpoch(1797001200 + 7200, Qt::UTC).toString(QStringLiteral("HHmmss")))
            .toUtf8();
    GuideFilter filter;
    filter.ids = {QStringLiteral("a")};
    filter.from = 1783000000LL * 1000;
    filter.to = 1798000000LL * 1000;
    const ParsedGuide g = readGuide(xml, filter);
    QVERIFY2(g.ok(), qPrintable(g.error));
    const auto* list = g.guide.find(QStringLiteral("a"), {});
    QVERIFY(list);
    const auto p =
        std::find_if(list->begin(), list->end(), [](const Programme& x) { return x.title == u"P"; });
    if (stopUtc == 0) {
        QVERIFY(p == list->end());
        return;
    }
    QVERIFY(p != list->end());
    QCOMPARE(p->start / 1000, startUtc);
    QCOMPARE(p->stop / 1000, stopUtc);
}

// Run with TZ set to a zone away from UTC (see CMakeLists): the page shows the viewer's clock.
void TestIptvParsing::guidePageShowsLocalTime() {
    const qint64 start = 1797001200; // 15:00 UTC
    tm local{};
    const time_t t = start;
    localtime_r(&t, &local);
    QVERIFY2(local.tm_gmtoff != 0, "run this test in a time zone other than UTC");
    char expected[8];
    strftime(expected, sizeof expected, "%H:%M", &local);
    std::vector<Programme> list{{start * 1000, (start + 3600) * 1000, QStringLiteral("Новости"), {}}};
    const auto html = GuidePageHtml(QStringLiteral("НТВ"), list, start * 1000 + 60000);
    QVERIFY(html);
    QVERIFY2(html->contains(QStringLiteral("<td class=\"t\">") + QString::fromLatin1(expected)),
             qPrintable(*html));
}

void TestIptvParsing::guideHostileInput_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    const qint64 mb = 1024 * 1024;
    // 200 MB of plain text each, a few hundred kilobytes packed.
    QTest::newRow("unterminated comment")
        << gzipBomb("<?xml version=\"1.0\"?>\n<tv>\n<!-- ", "a", 200 * mb) << "комментарий";
    QTest::newRow("endless text") << gzipBomb("<tv><channel id=\"a\"><display-name>", "a", 200 * mb)
                                  << "текст";
    QTest::newRow("endless attribute")
        << gzipBomb("<tv><programme channel=\"", "a", 200 * mb) << "тег с атрибутами";
    QTest::newRow("endless CDATA") << gzipBomb("<tv><channel id=\"a\"><display-name><![CDATA[", "]", 200 * mb)
                                   << "CDATA";
    // Not XML at all: said so, not "cut short".
    QTest::newRow("zeros") << gzipBomb({}, QByteArray(1, '\0'), 200 * mb) << "ошибка XML";
    QTest::newRow("endless empty elements") << gzipBomb("<tv>", "<x/>", 200 * mb, "</tv>") << "gzip-бомба";
    QByteArray deep = "<tv>";
    for (int i = 0; i < 100; ++i)
        deep += "<a>";
    QTest::newRow("deep nesting") << deep << "глубже";
    // Not a bomb: a comment that ends, and long but bounded text.
    QTest::newRow("ordinary comment")
        << QByteArray("<tv><!-- ") + QByteArray(100000, '-').replace("--", "- ") +
               " --><channel id=\"a\"><display-name>A</display-name></channel></tv>"
        << "";
}

void TestIptvParsing::guideHostileInput() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    const long before = peakRssKb();
    const ParsedGuide g = readGuide(bytes, around(QDateTime::currentMSecsSinceEpoch(), {"a"}));
    const long grownMb = (peakRssKb() - before) / 1024;
    qInfo("%s: packed %lld KB, peak memory grew %ld MB, %s", QTest::currentDataTag(),
          qlonglong(bytes.size() >> 10), grownMb, qPrintable(g.error));
    if (error.isEmpty()) {
        QVERIFY2(g.ok(), qPrintable(g.error));
        return;
    }
    QVERIFY(!g.ok());
    QVERIFY2(g.error.contains(error), qPrintable(g.error));
    QVERIFY2(grownMb < 100, qPrintable(QString::number(grownMb)));
}

QTEST_GUILESS_MAIN(TestIptvParsing)
#include "test_iptv_parsing.moc"
