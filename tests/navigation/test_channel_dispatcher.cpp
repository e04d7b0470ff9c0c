#include "navigation/ChannelCatalog.h"
#include "navigation/ChannelDispatcher.h"
#include "navigation/SiteUrls.h"
#include "navigation/StreamLookup.h"
#include "navigation/TvPlayer.h"
#include "platform/HtmlView.h"
#include "platform/MessageSink.h"
#include "platform/Shell.h"
#include "platform/WebView.h"

#include <QtTest>

#include <stdexcept>

namespace {

// Every seam writes "who:what[:argument]" into one shared log, so the order across seams shows.
struct Log {
    QStringList calls;
    QString failOn; // a call equal to this throws after it is logged
    bool throwNonStd = false;
    void add(const QString& call) {
        calls << call;
        if (!failOn.isEmpty() && call == failOn) {
            if (throwNonStd)
                throw 42;
            throw std::runtime_error("seam failed");
        }
    }
};

struct FakeWebView : WebView {
    Log& log;
    explicit FakeWebView(Log& l) : log(l) {}
    void load(const QString& url) override { log.add("main:load:" + url); }
};
struct FakeHtmlView : HtmlView {
    Log& log;
    explicit FakeHtmlView(Log& l) : log(l) {}
    void navigate(const QString& url) override { log.add("guide:navigate:" + url); }
};
struct FakeWindow : PartnerWindow {
    Log& log;
    QString name;
    FakeWindow(Log& l, QString n) : log(l), name(std::move(n)) {}
    void showWindow() override { log.add(name + ":show"); }
    void openPage(const QString& url) override { log.add(name + ":open:" + url); }
};
struct FakeRadio : StreamPlayer {
    Log& log;
    explicit FakeRadio(Log& l) : log(l) {}
    void PlayStream(const QByteArray& url) override { log.add("radio:play:" + QString::fromLatin1(url)); }
};
struct FakeShell : Shell {
    Log& log;
    explicit FakeShell(Log& l) : log(l) {}
    void open(const QString& url) override { log.add("shell:open:" + url); }
};
struct FakeMessages : MessageSink {
    Log& log;
    explicit FakeMessages(Log& l) : log(l) {}
    void show(const QString& text) override { log.calls << "message:" + text; }
};

// Imported streams by name, as the IPTV import would answer.
struct FakeStreams : StreamLookup {
    QHash<QString, QString> urls;
    std::optional<ImportedStream> streamFor(const QString& name) const override {
        if (!urls.contains(name))
            return std::nullopt;
        return ImportedStream{QUrl(urls.value(name)), {}, name, {}, {}, {}};
    }
};
struct FakeTv : TvPlayer {
    Log& log;
    explicit FakeTv(Log& l) : log(l) {}
    void play(const ImportedStream& s) override { log.add("tv:play:" + s.url.toString()); }
    void stop() override { log.add("tv:stop"); }
    bool isPlaying() const override { return false; }
};

const QString kApp = QStringLiteral("/opt/zelmo/");

struct Rig {
    Log log;
    FakeWebView main{log};
    FakeHtmlView guide{log};
    FakeWindow korbina{log, "korbina"}, ovego{log, "ovego"}, browser2{log, "browser2"};
    FakeRadio radio{log};
    FakeShell shell{log};
    FakeMessages messages{log};
    FakeStreams streams;
    FakeTv tv{log};
    ChannelDispatcher dispatcher{targets(true)};

    DispatchTargets targets(bool withLang) {
        DispatchTargets t;
        t.mainView = &main;
        t.guideView = &guide;
        t.korbina = &korbina;
        t.ovego = &ovego;
        t.browser2 = &browser2;
        t.radio = &radio;
        t.shell = &shell;
        t.messages = &messages;
        t.streams = &streams;
        t.tv = &tv;
        if (withLang)
            t.langText = [](const QString& section, const QString& key) {
                return section == "Message" && key == "somethingiswrong" ? QStringLiteral("Что-то не так")
                                                                         : "0";
            };
        t.appDir = kApp;
        return t;
    }
};

QString streamOf(const QString& name) {
    for (const ChannelEntry& e : MainCatalog())
        if (e.Name == name)
            return QString::fromLatin1(e.Stream);
    return {};
}

} // namespace

class TestChannelDispatcher : public QObject {
    Q_OBJECT
private slots:
    void startTV_data();
    void startTV();
    void startFavorite_data();
    void startFavorite();
    void startTVStopsAtAnErrorAndSaysSo_data();
    void startTVStopsAtAnErrorAndSaysSo();
    void startTVWithoutLanguageTextShowsZero();
    void startFavoriteLetsErrorsThrough();
    void importedStreamPlaysInPlaceOfTheMainPage();
    void startTVShowsAGeneratedProgrammeWhereThereIsOne();
};

void TestChannelDispatcher::startTV_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("calls");
    const QString noProg = "guide:navigate:" + kApp + NoProgrammeGuide;
    QTest::newRow("page") << "ОРТ"
                          << QStringList{"main:load:" + kApp + "channel\\public\\ort.htm",
                                         "guide:navigate:" + kApp + "channel\\tv-program\\public\\ort.htm"};
    QTest::newRow("repeated name") << "Россия 2"
                                   << QStringList{"main:load:" + kApp + "channel\\public\\russia-2.htm",
                                                  noProg,
                                                  "main:load:" + kApp + "channel\\public\\russia-2.htm",
                                                  "guide:navigate:" + kApp +
                                                      "channel\\tv-program\\public\\russia-2.htm"};
    QTest::newRow("repeated across directories")
        << "Черепашки ниндзя"
        << QStringList{"main:load:" + kApp + "channel\\records\\cherepashki-nindzya.htm", noProg,
                       "main:load:" + kApp + "channel\\mults\\cherepashki-nindzya.htm", noProg};
    QTest::newRow("plain of a spaced pair")
        << "Россия 24"
        << QStringList{"main:load:" + kApp + "channel\\public\\rossiya-24.htm",
                       "guide:navigate:" + kApp + "channel\\tv-program\\public\\russia-24.htm"};
    QTest::newRow("spaced window entry")
        << " Россия 24 "
        << QStringList{"korbina:show", "korbina:open:" + SiteUrls::KorbinaSite + "/tv/russia24", noProg};
    QTest::newRow("Ovego window")
        << "National Gegraphic"
        << QStringList{"ovego:show",
                       "ovego:open:" + SiteUrls::OvegoSite +
                           "/publ/live_tv/poznavatelnye/national_geographic_channel/8-1-0-37",
                       noProg};
    QTest::newRow("radio") << "DFM"
                           << QStringList{"main:load:" + kApp + "channel\\radio-program\\dfm.htm", noProg,
                                          "radio:play:" + streamOf("DFM")};
    QTest::newRow("radio with a trailing space")
        << "Retro "
        << QStringList{"main:load:" + kApp + "channel\\radio-program\\retro.htm", noProg,
                       "radio:play:" + streamOf("Retro ")};
    QTest::newRow("radio on a site page") << "Зайцев ФМ"
                                          << QStringList{"main:load:" + SiteUrls::Project("/start11"), noProg,
                                                         "radio:play:" + streamOf("Зайцев ФМ")};
    QTest::newRow("unknown") << "Нет такого" << QStringList{};
    QTest::newRow("trailing space not listed") << "ОРТ " << QStringList{};
    QTest::newRow("favourites-only name") << "2x2, ТНТ, СТС и др." << QStringList{};
}

void TestChannelDispatcher::startTV() {
    QFETCH(QString, key);
    QFETCH(QStringList, calls);
    Rig rig;
    rig.dispatcher.StartTV(key);
    QCOMPARE(rig.log.calls, calls);
}

void TestChannelDispatcher::startFavorite_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("page only, no guide")
        << "ОРТ" << QStringList{"main:load:" + kApp + "channel\\public\\ort.htm"};
    QTest::newRow("window then page")
        << "Россия 24"
        << QStringList{"korbina:show", "korbina:open:" + SiteUrls::KorbinaSite + "/tv/russia24",
                       "main:load:" + kApp + "channel\\public\\rossiya-24.htm"};
    QTest::newRow("page then window")
        << "A-one"
        << QStringList{"main:load:" + kApp + "channel\\music\\a-one.htm", "korbina:show",
                       "korbina:open:" + SiteUrls::KorbinaSite + "/tv/aone"};
    QTest::newRow("second browser") << "1+1"
                                    << QStringList{"browser2:show",
                                                   "browser2:open:" + SiteUrls::SeeTvSite + "/see/1plus1"};
    QTest::newRow("system browser") << "2x2, ТНТ, СТС и др."
                                    << QStringList{"shell:open:" + SiteUrls::TvPortalSite + "/tv"};
    QTest::newRow("repeated") << "Россия 2"
                              << QStringList{"main:load:" + kApp + "channel\\public\\russia-2.htm",
                                             "main:load:" + kApp + "channel\\public\\russia-2.htm"};
    QTest::newRow("radio station plays") << "DFM" << QStringList{"radio:play:" + streamOf("DFM")};
    QTest::newRow("radio with a trailing space")
        << "Retro " << QStringList{"radio:play:" + streamOf("Retro ")};
    QTest::newRow("main-only spaced name") << " Россия 24 " << QStringList{};
}

void TestChannelDispatcher::startFavorite() {
    QFETCH(QString, key);
    QFETCH(QStringList, calls);
    Rig rig;
    rig.dispatcher.StartFavorite(key);
    QCOMPARE(rig.log.calls, calls);
}

void TestChannelDispatcher::startTVStopsAtAnErrorAndSaysSo_data() {
    QTest::addColumn<bool>("nonStd");
    QTest::newRow("std::exception") << false;
    QTest::newRow("other throw") << true;
}

void TestChannelDispatcher::startTVStopsAtAnErrorAndSaysSo() {
    QFETCH(bool, nonStd);
    Rig rig;
    // The first entry's programme view fails: the second entry must not run.
    rig.log.failOn = "guide:navigate:" + kApp + NoProgrammeGuide;
    rig.log.throwNonStd = nonStd;
    rig.dispatcher.StartTV("Россия 2");
    QCOMPARE(rig.log.calls,
             (QStringList{"main:load:" + kApp + "channel\\public\\russia-2.htm",
                          "guide:navigate:" + kApp + NoProgrammeGuide, "message:Что-то не так"}));

    // A failing radio player stops after the page and guide have been set.
    Rig radio;
    radio.log.failOn = "radio:play:" + streamOf("DFM");
    radio.dispatcher.StartTV("DFM");
    QCOMPARE(radio.log.calls.size(), 4);
    QCOMPARE(radio.log.calls.last(), QStringLiteral("message:Что-то не так"));
}

void TestChannelDispatcher::startTVWithoutLanguageTextShowsZero() {
    Rig rig;
    ChannelDispatcher noLang(rig.targets(false));
    rig.log.failOn = "korbina:show";
    noLang.StartTV(" Россия 24 ");
    QCOMPARE(rig.log.calls, (QStringList{"korbina:show", "message:0"}));
}

void TestChannelDispatcher::startFavoriteLetsErrorsThrough() {
    Rig rig;
    rig.log.failOn = "korbina:open:" + SiteUrls::KorbinaSite + "/tv/russia24";
    bool thrown = false;
    try {
        rig.dispatcher.StartFavorite("Россия 24");
    } catch (const std::runtime_error&) {
        thrown = true;
    }
    QVERIFY(thrown);
    // The page entry after the failing window entry never ran, and nothing was reported here.
    QCOMPARE(rig.log.calls,
             (QStringList{"korbina:show", "korbina:open:" + SiteUrls::KorbinaSite + "/tv/russia24"}));
}

void TestChannelDispatcher::importedStreamPlaysInPlaceOfTheMainPage() {
    const QString url = QStringLiteral("http://127.0.0.1:1/ort.m3u8");
    const QString ortGuide = "guide:navigate:" + kApp + "channel\\tv-program\\public\\ort.htm";
    {
        Rig rig;
        rig.streams.urls.insert("ОРТ", url);
        rig.dispatcher.StartTV("ОРТ");
        // The programme view still follows the channel; only the main view's page gives way.
        QCOMPARE(rig.log.calls, (QStringList{"tv:play:" + url, ortGuide}));
        rig.log.calls.clear();
        rig.dispatcher.StartFavorite("ОРТ");
        QCOMPARE(rig.log.calls, QStringList{"tv:play:" + url});
    }
    {
        // A partner window of the same name still opens; the page entry plays the stream.
        Rig rig;
        rig.streams.urls.insert("Россия 24", url);
        rig.dispatcher.StartFavorite("Россия 24");
        QCOMPARE(rig.log.calls,
                 (QStringList{"korbina:show", "korbina:open:" + SiteUrls::KorbinaSite + "/tv/russia24",
                              "tv:play:" + url}));
    }
    {
        // An imported channel the catalog does not know plays from its favourite only.
        Rig rig;
        rig.streams.urls.insert("Свой канал HD", url);
        rig.dispatcher.StartFavorite("Свой канал HD");
        QCOMPARE(rig.log.calls, QStringList{"tv:play:" + url});
        rig.log.calls.clear();
        rig.dispatcher.StartTV("Свой канал HD");
        QCOMPARE(rig.log.calls, QStringList{});
    }
    {
        // Without a player the page loads as always.
        Rig rig;
        rig.streams.urls.insert("ОРТ", url);
        DispatchTargets t = rig.targets(true);
        t.tv = nullptr;
        ChannelDispatcher noTv(t);
        noTv.StartTV("ОРТ");
        QCOMPARE(rig.log.calls.value(0), "main:load:" + kApp + "channel\\public\\ort.htm");
    }
}

void TestChannelDispatcher::startTVShowsAGeneratedProgrammeWhereThereIsOne() {
    Rig rig;
    DispatchTargets t = rig.targets(true);
    QStringList asked;
    t.programmePage = [&asked](const QString& name) -> std::optional<QString> {
        asked << name;
        if (name == QStringLiteral("ОРТ"))
            return QStringLiteral("/cache/IPTV/programme.html");
        return std::nullopt;
    };
    ChannelDispatcher withGuide(std::move(t));
    withGuide.StartTV("ОРТ");
    withGuide.StartTV("Москва 24");
    QCOMPARE(asked, (QStringList{"ОРТ", "Москва 24"}));
    QCOMPARE(rig.log.calls, (QStringList{"main:load:" + kApp + "channel\\public\\ort.htm",
                                         "guide:navigate:/cache/IPTV/programme.html",
                                         "main:load:" + kApp + "channel\\public\\moskva-24.htm",
                                         "guide:navigate:" + kApp + NoProgrammeGuide}));
}

QTEST_GUILESS_MAIN(TestChannelDispatcher)
#include "test_channel_dispatcher.moc"
