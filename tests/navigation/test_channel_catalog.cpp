#include "navigation/ChannelCatalog.h"
#include "navigation/Layouts.h"
#include "navigation/SiteUrls.h"

#include <QSet>
#include <QtTest>

namespace {

const std::vector<ChannelEntry>& listNamed(const QString& which) {
    return which == QLatin1String("main") ? MainCatalog() : FavoriteCatalog();
}

std::vector<ChannelEntry> lookup(const std::vector<ChannelEntry>& list, const QString& key) {
    std::vector<ChannelEntry> found;
    for (const ChannelEntry& e : list)
        if (e.Name == key)
            found.push_back(e);
    return found;
}

QSet<QString> names(const std::vector<ChannelEntry>& list) {
    QSet<QString> s;
    for (const ChannelEntry& e : list)
        s.insert(e.Name);
    return s;
}

constexpr LayoutId kAllLayouts[] = {
    LayoutId::Public, LayoutId::Radio, LayoutId::Music,         LayoutId::Entertainment, LayoutId::Research,
    LayoutId::Sport,  LayoutId::Movie, LayoutId::Cartoons,      LayoutId::Records,       LayoutId::Ukrainian,
    LayoutId::CISa,   LayoutId::CISb,  LayoutId::Miscellaneous, LayoutId::Closed};

// "Radio" for stations, the target's name otherwise.
QString kindOf(const ChannelEntry& e) {
    return e.isRadio() ? QStringLiteral("Radio") : TargetName(e.target);
}

// The kinds of the entries found, joined, e.g. "MainView,KorbinaForm".
QString kinds(const std::vector<ChannelEntry>& found) {
    QStringList k;
    for (const ChannelEntry& e : found)
        k << kindOf(e);
    return k.join(u',');
}

} // namespace

class TestChannelCatalog : public QObject {
    Q_OBJECT
private slots:
    void sizes_data();
    void sizes();
    void namesAcrossLists();
    void layoutCaptionsAreExactlyTheMainNames();
    void layoutShapes_data();
    void layoutShapes();
    void lookAlikesAndSpacesAreDistinct();
    void repeatedNamesRunInOrder_data();
    void repeatedNamesRunInOrder();
    void lookups_data();
    void lookups();
    void pageDifferences_data();
    void pageDifferences();
    void fieldsFollowTheEntryKind();
};

void TestChannelCatalog::sizes_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("distinct");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("radio");
    QTest::addColumn<int>("korbina");
    QTest::addColumn<int>("ovego");
    QTest::addColumn<int>("browser2");
    QTest::addColumn<int>("system");
    QTest::addColumn<int>("ownGuide");
    QTest::newRow("main") << "main" << 312 << 309 << 269 << 22 << 20 << 1 << 0 << 0 << 81;
    QTest::newRow("favorite") << "favorite" << 364 << 351 << 318 << 0 << 26 << 0 << 19 << 1 << 0;
}

void TestChannelCatalog::sizes() {
    QFETCH(QString, list);
    QFETCH(int, entries);
    QFETCH(int, distinct);
    QFETCH(int, pages);
    QFETCH(int, radio);
    QFETCH(int, korbina);
    QFETCH(int, ovego);
    QFETCH(int, browser2);
    QFETCH(int, system);
    QFETCH(int, ownGuide);
    const auto& l = listNamed(list);
    QMap<QString, int> k;
    int guides = 0;
    for (const ChannelEntry& e : l) {
        ++k[kindOf(e)];
        guides += !e.Guide.isEmpty() && e.Guide != NoProgrammeGuide;
    }
    QCOMPARE(int(l.size()), entries);
    QCOMPARE(int(names(l).size()), distinct);
    QCOMPARE(k.value("MainView"), pages);
    QCOMPARE(k.value("Radio"), radio);
    QCOMPARE(k.value("KorbinaForm"), korbina);
    QCOMPARE(k.value("OvegoPlayerForm"), ovego);
    QCOMPARE(k.value("Browser2Form"), browser2);
    QCOMPARE(k.value("SystemBrowser"), system);
    QCOMPARE(guides, ownGuide);
}

void TestChannelCatalog::namesAcrossLists() {
    const QSet<QString> m = names(MainCatalog()), f = names(FavoriteCatalog());
    QCOMPARE(QSet<QString>(m).intersect(f).size(), 192);
    QCOMPARE(QSet<QString>(m).unite(f).size(), 468);
}

void TestChannelCatalog::layoutCaptionsAreExactlyTheMainNames() {
    QSet<QString> captions;
    for (LayoutId id : kAllLayouts)
        for (const QString& c : LayoutCaptions(id))
            if (!c.isEmpty())
                captions.insert(c);
    const QSet<QString> main = names(MainCatalog());
    QCOMPARE(QSet<QString>(captions).subtract(main), QSet<QString>{});
    QCOMPARE(QSet<QString>(main).subtract(captions), QSet<QString>{});
}

void TestChannelCatalog::layoutShapes_data() {
    QTest::addColumn<LayoutId>("id");
    QTest::addColumn<QString>("shown"); // '1' per captioned slot, '.' per hidden one
    const QString r3 = "111", h3 = "...";
    QTest::newRow("public") << LayoutId::Public << QString(30, '1');
    QTest::newRow("music") << LayoutId::Music << QString(30, '1');
    QTest::newRow("entertainment") << LayoutId::Entertainment << QString(27, '1') + h3;
    for (auto [name, id] : {std::pair{"radio", LayoutId::Radio},
                            {"Research", LayoutId::Research},
                            {"Sport", LayoutId::Sport},
                            {"movie", LayoutId::Movie},
                            {"Cartoons", LayoutId::Cartoons},
                            {"Records", LayoutId::Records},
                            {"Ukrainian", LayoutId::Ukrainian}})
        QTest::newRow(name) << id << QString(24, '1') + QString(6, '.');
    QTest::newRow("CISa") << LayoutId::CISa << h3 + r3 + r3 + h3 + r3 + r3 + h3 + r3 + r3 + h3;
    QTest::newRow("CISb") << LayoutId::CISb << h3 + r3 + h3 + h3 + r3 + QString(15, '.');
    QTest::newRow("Miscellaneous") << LayoutId::Miscellaneous << QString(19, '1') + QString(11, '.');
    QTest::newRow("closed") << LayoutId::Closed << QString(12, '1') + QString(18, '.');
}

void TestChannelCatalog::layoutShapes() {
    QFETCH(LayoutId, id);
    QFETCH(QString, shown);
    QString got;
    for (const QString& c : LayoutCaptions(id))
        got += c.isEmpty() ? u'.' : u'1';
    QCOMPARE(got, shown);
}

void TestChannelCatalog::lookAlikesAndSpacesAreDistinct() {
    const auto& music = LayoutCaptions(LayoutId::Music);
    const auto& misc = LayoutCaptions(LayoutId::Miscellaneous);
    QCOMPARE(music[6].at(0), QChar(u'O'));     // Latin O
    QCOMPARE(misc[3].at(0), QChar(u'\u041E')); // Cyrillic О
    QCOMPARE(LayoutCaptions(LayoutId::Ukrainian)[1], QStringLiteral("ТВ\u0456"));
    QCOMPARE(LayoutCaptions(LayoutId::Ukrainian)[5], QStringLiteral("K1"));
    QCOMPARE(LayoutCaptions(LayoutId::CISb)[13], QStringLiteral("TPO"));
    QCOMPARE(LayoutCaptions(LayoutId::CISa)[13], QStringLiteral("KTK"));
    QCOMPARE(LayoutCaptions(LayoutId::CISa)[8], QStringLiteral("TV3"));
    QCOMPARE(LayoutCaptions(LayoutId::Cartoons)[3], QStringLiteral("2x2"));
    const QString simon = LayoutCaptions(LayoutId::Cartoons)[13];
    QCOMPARE(simon, QStringLiteral("Simon\"s Cat"));
    QCOMPARE(simon.size(), 11);
    QCOMPARE(lookup(FavoriteCatalog(), QStringLiteral("\u041C\u0422V UA")).size(), size_t(1));

    // Pairs that differ only by spaces, a full stop, letter case or script: each a name of its own.
    const QStringList pairs = {"O2 ТВ|О2 ТВ",
                               "Retro|Retro ",
                               "Юмор ТВ |Юмор ТВ",
                               "Music  Box|Music Box",
                               "Россия 24| Россия 24 ",
                               "Союз| Союз ",
                               "РБК| РБК ",
                               "A-one| A-one ",
                               "Мир ТВ| Мир ТВ ",
                               "Style TV| Style TV ",
                               "Шансон ТВ| Шансон ТВ ",
                               "Москва 24|Москва 24.",
                               "5 канал|5 Канал"};
    const QSet<QString> main = names(MainCatalog());
    for (const QString& p : pairs) {
        const QStringList two = p.split(u'|');
        QVERIFY2(main.contains(two[0]) && main.contains(two[1]), qPrintable(p));
    }
    for (const char16_t* n :
         {u"ОТР ", u" Дождь ТВ ", u"РИА   Новости", u"  НТВ   футбол", u"   НТВ    Спорт"})
        QVERIFY2(main.contains(QString::fromUtf16(n)), qPrintable(QString::fromUtf16(n)));
}

void TestChannelCatalog::repeatedNamesRunInOrder_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("pages"); // in list order; a leading '*' stands for a partner URL
    QTest::addColumn<QStringList>("guides");
    const QString noProg = NoProgrammeGuide;
    QTest::newRow("main Россия 2") << "main"
                                   << "Россия 2"
                                   << QStringList{"channel\\public\\russia-2.htm",
                                                  "channel\\public\\russia-2.htm"}
                                   << QStringList{noProg, "channel\\tv-program\\public\\russia-2.htm"};
    for (const QString list : {"main", "favorite"}) {
        const QString g = list == "main" ? noProg : QString();
        QTest::addRow("%s Черепашки", qPrintable(list))
            << list << "Черепашки ниндзя" << QStringList{"channel\\records\\", "channel\\mults\\"}
            << QStringList{g, g};
        QTest::addRow("%s Гриффины", qPrintable(list))
            << list << "Гриффины" << QStringList{"channel\\mults\\", "channel\\records\\"}
            << QStringList{g, g};
    }
    QTest::newRow("fav Россия 2") << "favorite"
                                  << "Россия 2"
                                  << QStringList{"channel\\public\\russia-2.htm",
                                                 "channel\\public\\russia-2.htm"}
                                  << QStringList{"", ""};
    QTest::newRow("fav Наука 2.0") << "favorite"
                                   << "Наука 2.0"
                                   << QStringList{"channel\\records\\nauka.2.0\\1.htm", "channel\\sciences\\"}
                                   << QStringList{"", ""};
    for (const char* n : {"A-one", "Music Box", "Шансон ТВ"})
        QTest::addRow("fav %s", n) << "favorite" << QString::fromUtf8(n)
                                   << QStringList{"channel\\music\\", "*"} << QStringList{"", ""};
    QTest::newRow("fav Style TV") << "favorite"
                                  << "Style TV" << QStringList{"channel\\entertainment\\", "*"}
                                  << QStringList{"", ""};
    for (const char* n : {"Россия 24", "РБК", "Мир ТВ", "Дождь ТВ", "Союз"})
        QTest::addRow("fav %s", n) << "favorite" << QString::fromUtf8(n)
                                   << QStringList{"*", "channel\\public\\"} << QStringList{"", ""};
}

void TestChannelCatalog::repeatedNamesRunInOrder() {
    QFETCH(QString, list);
    QFETCH(QString, name);
    QFETCH(QStringList, pages);
    QFETCH(QStringList, guides);
    const auto found = lookup(listNamed(list), name);
    QCOMPARE(int(found.size()), pages.size());
    for (int i = 0; i < pages.size(); ++i) {
        if (pages[i] == "*") {
            QCOMPARE(found[i].target, Target::KorbinaForm);
            QVERIFY(found[i].Page.startsWith(SiteUrls::KorbinaSite + "/tv/"));
        } else {
            QCOMPARE(found[i].target, Target::MainView);
            QVERIFY2(found[i].Page.startsWith(pages[i]), qPrintable(found[i].Page));
            QVERIFY(pages[i].endsWith(".htm") || !found[i].Page.mid(pages[i].size()).contains(u'\\'));
        }
        QCOMPARE(found[i].Guide, guides[i]);
    }
}

void TestChannelCatalog::lookups_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("inMain"); // kinds found, in order
    QTest::addColumn<QString>("inFavorites");
    QTest::newRow("repeated") << "Россия 2"
                              << "MainView,MainView"
                              << "MainView,MainView";
    QTest::newRow("trailing space added") << "Россия 2 "
                                          << ""
                                          << "";
    QTest::newRow("Retro") << "Retro"
                           << "MainView"
                           << "MainView";
    QTest::newRow("Retro with space") << "Retro "
                                      << "Radio"
                                      << "";
    QTest::newRow("spaced Россия 24") << " Россия 24 "
                                      << "KorbinaForm"
                                      << "";
    QTest::newRow("Россия 24") << "Россия 24"
                               << "MainView"
                               << "KorbinaForm,MainView";
    QTest::newRow("DFM") << "DFM"
                         << "Radio"
                         << "";
    QTest::newRow("system browser") << "2x2, ТНТ, СТС и др."
                                    << ""
                                    << "SystemBrowser";
    QTest::newRow("National Gegraphic") << "National Gegraphic"
                                        << "OvegoPlayerForm"
                                        << "MainView";
    QTest::newRow("Bridge") << "Bridge"
                            << "MainView"
                            << "KorbinaForm";
    QTest::newRow("ОРТ 2") << "ОРТ 2"
                           << ""
                           << "Browser2Form";
    QTest::newRow("letter case") << "орт"
                                 << ""
                                 << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("Москва 400") << "Москва 400"
                                << "MainView"
                                << "MainView";
}

void TestChannelCatalog::lookups() {
    QFETCH(QString, key);
    QFETCH(QString, inMain);
    QFETCH(QString, inFavorites);
    QCOMPARE(kinds(lookup(MainCatalog(), key)), inMain);
    QCOMPARE(kinds(lookup(FavoriteCatalog(), key)), inFavorites);
}

void TestChannelCatalog::pageDifferences_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("mainPage");
    QTest::addColumn<QString>("favoritePage");
    QTest::newRow("Ictimai") << "Ictimai TV"
                             << "channel\\Azerbaycan\\ictimai.htm"
                             << "channel\\Azerbaycan\\Ictimai.htm";
    QTest::newRow("Имеди") << "Имеди"
                           << "channel\\Georgia\\imedi.htm"
                           << "channel\\Georgia\\Imedi.htm";
    QTest::newRow("HD Media") << "HD Media"
                              << "channel\\Films\\HD-media.htm"
                              << "channel\\entertainment\\hd-media.htm";
    QTest::newRow("5 канал") << "5 канал"
                             << "channel\\Ukraine\\channel-5.htm"
                             << "channel\\Ukraine\\5-channel.htm";
    QTest::newRow("Асыл-Арна") << "Асыл-Арна"
                               << "channel\\Kazakhstan\\asil-arna.htm"
                               << "channel\\Kazakhstan\\balapan.htm";
    QTest::newRow("Мультик ТВ") << "Мультик ТВ"
                                << "channel\\mults\\multic-tv.htm"
                                << "channel\\mults\\multiki.htm";
    QTest::newRow("Муз ТВ") << "Муз ТВ"
                            << "channel\\music\\muz-tv.htm"
                            << "channel\\public\\muz-tv.htm";
    QTest::newRow("Москва 400") << "Москва 400"
                                << "channel\\radio-program\\moskau-400.htm"
                                << "channel\\radio-program\\moskva400.html";
    QTest::newRow("same elsewhere") << "ОРТ"
                                    << "channel\\public\\ort.htm"
                                    << "channel\\public\\ort.htm";
}

void TestChannelCatalog::pageDifferences() {
    QFETCH(QString, name);
    QFETCH(QString, mainPage);
    QFETCH(QString, favoritePage);
    const auto m = lookup(MainCatalog(), name), f = lookup(FavoriteCatalog(), name);
    QCOMPARE(int(m.size()), 1);
    QCOMPARE(int(f.size()), 1);
    QCOMPARE(m[0].Page, mainPage);
    QCOMPARE(f[0].Page, favoritePage);
}

void TestChannelCatalog::fieldsFollowTheEntryKind() {
    // Outside the listed differences, a name with a page in the same directory in both lists
    // names the same file there.
    const QSet<QString> differing = {"Ictimai TV", "Имеди",      "5 канал",
                                     "Асыл-Арна",  "Мультик ТВ", "Москва 400"};
    QHash<QString, QString> mainFile; // name + directory -> page
    const auto dirOf = [](const QString& page) { return page.left(page.lastIndexOf(u'\\') + 1); };
    for (const ChannelEntry& e : MainCatalog()) {
        if (e.hasLocalPage())
            mainFile.insert(e.Name + u'|' + dirOf(e.Page), e.Page);
        if (e.target != Target::MainView || e.isRadio())
            QCOMPARE(e.Guide, NoProgrammeGuide);
        else
            QVERIFY2(e.Guide.startsWith("channel\\tv-program\\"), qPrintable(e.Name));
        if (e.isRadio()) {
            QVERIFY(e.Stream.startsWith("http://"));
            QVERIFY2(e.Name == "Зайцев ФМ" ? e.Page == SiteUrls::Project("/start11")
                                           : e.Page.startsWith("channel\\radio-program\\"),
                     qPrintable(e.Name));
        }
        if (e.target == Target::KorbinaForm)
            QVERIFY(e.Page.startsWith(SiteUrls::KorbinaSite + "/tv/"));
        if (e.target == Target::OvegoPlayerForm)
            QVERIFY(e.Page.startsWith(SiteUrls::OvegoSite + "/"));
        if (e.target == Target::MainView && !e.isRadio())
            QVERIFY2(e.hasLocalPage(), qPrintable(e.Name));
    }
    int playlists = 0;
    for (const ChannelEntry& e : MainCatalog())
        playlists += e.Stream.endsWith(".m3u");
    QCOMPARE(playlists, 3);

    for (const ChannelEntry& e : FavoriteCatalog()) {
        QVERIFY(e.Guide.isEmpty());
        QVERIFY(e.Stream.isEmpty());
        switch (e.target) {
        case Target::MainView: {
            QVERIFY2(e.hasLocalPage(), qPrintable(e.Name));
            const QString key = e.Name + u'|' + dirOf(e.Page);
            if (mainFile.contains(key) && !differing.contains(e.Name))
                QCOMPARE(e.Page, mainFile.value(key));
            break;
        }
        case Target::KorbinaForm:
            QVERIFY(e.Page.startsWith(SiteUrls::KorbinaSite + "/tv/"));
            break;
        case Target::Browser2Form:
            QVERIFY(e.Page.startsWith(SiteUrls::SeeTvSite + "/see/"));
            break;
        case Target::SystemBrowser:
            QCOMPARE(e.Page, SiteUrls::TvPortalSite + "/tv");
            break;
        case Target::OvegoPlayerForm:
            QFAIL("no Ovego entries in the favourites list");
            break;
        }
    }
}

QTEST_GUILESS_MAIN(TestChannelCatalog)
#include "test_channel_catalog.moc"
