// Where the channels come from: the public per-country playlists (served on loopback from the
// files as published), the user's own playlists beside them, the kept copies, the once-a-day
// refresh, the whole-transfer deadline and the IPTV tab that shows and switches them.
#include "platform/AppDir.h"
#include "platform/QtHttpClient.h"
#include "platform/UserAgent.h"
#include "settings/LanguagePack.h"
#include "settings/SettingsFile.h"
#include "tv/IptvImporter.h"
#include "tv/IptvTableModel.h"
#include "tv/LogoCache.h"
#include "tv/ui/IptvTab.h"

#include "PublicLists.h"
#include "common/LoopbackServer.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

constexpr int LoadWaitMs = 60000;

QByteArray fileText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int countFrom(const IptvLibrary& library, const QString& country) {
    int n = 0;
    for (const PlaylistEntry& e : library.playlist())
        n += e.country == country ? 1 : 0;
    return n;
}

// Sends a playlist's head and then one byte a second, for as long as the client listens.
class TrickleServer : public QObject {
public:
    TrickleServer() {
        QVERIFY(server_.listen(QHostAddress::LocalHost));
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                s->setParent(this);
                connect(s, &QTcpSocket::readyRead, s, [s] {
                    s->readAll();
                    s->write("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n#EXTM3U\n");
                    auto* t = new QTimer(s);
                    connect(t, &QTimer::timeout, s, [s] { s->write("#"); });
                    t->start(1000);
                });
            }
        });
    }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1/slow.m3u").arg(server_.serverPort()); }

private:
    QTcpServer server_;
};

struct Rig {
    QTemporaryDir dir;
    SettingsFile settings{dir.filePath(QStringLiteral("Setting.ini"))};
    QtHttpClient http{10000};
    std::unique_ptr<IptvImporter> importer;

    explicit Rig(const QString& publicBase) {
        if (!publicBase.isEmpty())
            settings.WriteString(QStringLiteral("IPTV"), QStringLiteral("publicBase"), publicBase);
        make();
    }
    void make() {
        importer.reset();
        importer = std::make_unique<IptvImporter>(settings, http, dir.filePath(QStringLiteral("IPTV")));
    }
    bool startUp() {
        QSignalSpy done(importer.get(), &IptvImporter::finished);
        importer->startUp();
        return done.count() > 0 || done.wait(LoadWaitMs);
    }
    QString state(const QString& id) const {
        for (const IptvImporter::SourceState& s : importer->sourceStates())
            if (s.source.id == id)
                return s.state;
        return QStringLiteral("<none>");
    }
    QString cache(const QString& name) const { return dir.filePath(QStringLiteral("IPTV/") + name); }
};

QStringList requestedPaths(const LoopbackServer& server) {
    QStringList paths;
    for (const QByteArray& head : server.requests)
        paths << QString::fromLatin1(head.split(' ').value(1));
    return paths;
}

} // namespace

class TestIptvSources : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        SetAppDirForTesting(qEnvironmentVariable("ZELMO_TEST_APPDIR") + QLatin1Char('/'));
        SetLanguagePack(LanguagePack(LanguagePack::PackPath(0)));
    }

    void publicPlaylistsWithoutAnOwnOne();
    void refreshedOnceADayAndKeptOffline();
    void aTricklingPlaylistEndsAtTheDeadline();
    void theTabShowsSwitchesAndAddsSources();
    void twoGuideImportsKeepTheirOwnDownloads();
};

// With no playlist of the user's own, the public playlists of the catalog's countries come in,
// merged, each entry knowing its country; each is kept beside Setting.ini.
void TestIptvSources::publicPlaylistsWithoutAnOwnOne() {
    LoopbackServer server;
    PublicLists::serve(server);
    Rig rig(PublicLists::base(server));
    QVERIFY(rig.importer->usesPublicPlaylists());
    QVERIFY(server.requests.isEmpty());
    QVERIFY(rig.startUp());

    // Hand-counted from the files: #EXTINF lines with an http(s) address.
    const std::pair<const char*, int> published[] = {{"ru", 187}, {"ua", 80}, {"by", 18}, {"kz", 28}};
    const IptvLibrary& library = rig.importer->library();
    for (const auto& [code, extinf] : published) {
        const QString cc = QString::fromLatin1(code);
        // Within one file a repeated name is one channel (its mirrors); never more than the file has.
        QVERIFY2(countFrom(library, cc) > extinf / 2 && countFrom(library, cc) <= extinf, code);
        QCOMPARE(fileText(rig.cache(QStringLiteral("public-%1.m3u").arg(cc))), PublicLists::file(cc));
        QVERIFY2(
            rig.state(cc).startsWith(QStringLiteral("каналов: %1, загружен").arg(countFrom(library, cc))),
            qPrintable(rig.state(cc)));
    }
    // The named entries keep their source's country.
    const PlaylistEntry* belarus2 = library.entryFor(QStringLiteral("Беларусь 2 (1080p)"));
    QVERIFY(belarus2);
    QCOMPARE(belarus2->country, QStringLiteral("by"));
    // The other countries' playlists are not on this server: said so, nothing kept.
    for (const char* code : {"ge", "am", "az"})
        QVERIFY2(rig.state(QString::fromLatin1(code)).startsWith(QStringLiteral("не загружен (")) &&
                     rig.state(QString::fromLatin1(code)).endsWith(QStringLiteral("копии нет")),
                 qPrintable(rig.state(QString::fromLatin1(code))));
    QVERIFY2(rig.importer->status().contains(QStringLiteral("Не загружено источников: 3")),
             qPrintable(rig.importer->status()));
    // Playlists go out as a browser asks for them.
    for (int i = 0; i < server.requests.size(); ++i)
        QCOMPARE(server.header(i, "User-Agent"), UserAgent::Browser);
    QCOMPARE(requestedPaths(server).size(), 7);

    // An own playlist stored: the public ones are off unless switched on.
    rig.settings.WriteString(QStringLiteral("IPTV"), QStringLiteral("playlist"),
                             server.base() + "/countries/by.m3u");
    QVERIFY(!rig.importer->usesPublicPlaylists());
    rig.settings.WriteString(QStringLiteral("IPTVPublic"), QStringLiteral("kz"), QStringLiteral("1"));
    QVERIFY(rig.importer->usesPublicPlaylists());
}

void TestIptvSources::refreshedOnceADayAndKeptOffline() {
    auto server = std::make_unique<LoopbackServer>();
    PublicLists::serve(*server);
    Rig rig(PublicLists::base(*server));
    QVERIFY(rig.startUp());
    const int entries = int(rig.importer->library().playlist().size());
    QVERIFY(entries > 150);

    // The next start within the day asks only for what it has no copy of.
    server->requests.clear();
    rig.make();
    QSignalSpy changed(rig.importer.get(), &IptvImporter::playlistChanged);
    QVERIFY(rig.startUp());
    QCOMPARE(int(rig.importer->library().playlist().size()), entries);
    QStringList asked = requestedPaths(*server);
    asked.sort();
    QCOMPARE(asked, (QStringList{"/countries/am.m3u", "/countries/az.m3u", "/countries/ge.m3u"}));
    QCOMPARE(changed.count(), 1); // from the kept copies; nothing new came after them

    // A day later they are fetched again.
    const QDateTime dayAgo = QDateTime::currentDateTime().addSecs(-25 * 3600);
    for (const char* code : PublicLists::Published) {
        QFile f(rig.cache(QStringLiteral("public-%1.m3u").arg(QLatin1String(code))));
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(dayAgo, QFileDevice::FileModificationTime));
    }
    server->requests.clear();
    rig.make();
    QVERIFY(rig.startUp());
    QCOMPARE(requestedPaths(*server).size(), 7);

    // Offline with day-old copies: the copies play, and each source says it is on its copy.
    for (const char* code : PublicLists::Published) {
        QFile f(rig.cache(QStringLiteral("public-%1.m3u").arg(QLatin1String(code))));
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(dayAgo, QFileDevice::FileModificationTime));
    }
    server.reset();
    rig.make();
    QVERIFY(rig.startUp());
    QCOMPARE(int(rig.importer->library().playlist().size()), entries);
    QVERIFY2(rig.state("ru").startsWith(QStringLiteral("не загружен (")) &&
                 rig.state("ru").contains(QStringLiteral("в ходу прежняя копия от")),
             qPrintable(rig.state("ru")));

    // Offline with nothing kept: nothing to play (the catalog's placeholders show).
    QVERIFY(QDir(rig.dir.filePath("IPTV")).removeRecursively());
    rig.make();
    QVERIFY(rig.startUp());
    QVERIFY(rig.importer->library().playlist().empty());
    QVERIFY(!rig.importer->library().streamFor(rig.importer->library().catalogNames().first()));
}

// A server that trickles a byte a second never trips the idle time-out: the deadline ends it with a
// clear line, the button comes back, and nothing of it is imported.
void TestIptvSources::aTricklingPlaylistEndsAtTheDeadline() {
    LoopbackServer server;
    PublicLists::serve(server);
    TrickleServer slow;
    Rig rig(PublicLists::base(server));
    rig.importer->setDeadlines(3000, 3000);
    IptvTab tab(*rig.importer);
    QVERIFY(rig.startUp());
    const size_t before = rig.importer->library().playlist().size();

    tab.playlistEdit()->setText(slow.url());
    QSignalSpy done(rig.importer.get(), &IptvImporter::finished);
    QElapsedTimer clock;
    clock.start();
    tab.loadButton()->click();
    QVERIFY(!tab.loadButton()->isEnabled());
    QVERIFY(done.wait(30000));
    QVERIFY2(clock.elapsed() < 20000, QByteArray::number(clock.elapsed()));
    QVERIFY2(tab.statusLabel()->text().contains(QStringLiteral("Плейлист не загружен: не загрузился за 3 с")),
             qPrintable(tab.statusLabel()->text()));
    QVERIFY(tab.loadButton()->isEnabled());
    QCOMPARE(rig.importer->library().playlist().size(), before);
    QCOMPARE(rig.importer->storedSources().playlist, QString()); // not stored
    QVERIFY(!QFile::exists(rig.cache("playlist.m3u")));

    // A public source that trickles keeps its copy and says so.
    rig.settings.WriteString(QStringLiteral("IPTV"), QStringLiteral("publicBase"),
                             slow.url().chopped(QStringLiteral("slow.m3u").size()));
    for (const char* code : PublicLists::Published) {
        QFile f(rig.cache(QStringLiteral("public-%1.m3u").arg(QLatin1String(code))));
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime));
    }
    rig.importer->setPublicEnabled(QStringLiteral("ge"), false);
    QTRY_VERIFY_WITH_TIMEOUT(!rig.importer->busy(), 90000);
    QVERIFY2(rig.state("ru").startsWith(
                 QStringLiteral("не загружен (не загрузился за 3 с); в ходу прежняя копия")),
             qPrintable(rig.state("ru")));
    QCOMPARE(rig.importer->library().playlist().size(), before);
}

void TestIptvSources::theTabShowsSwitchesAndAddsSources() {
    LoopbackServer server;
    PublicLists::serve(server);
    // A logo, and a playlist of the user's own that names it.
    QImage red(64, 32, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    red.save(&buffer, "PNG");
    server.routes["/logo.png"] = {LoopbackServer::ok(png)};
    server.routes["/mine.m3u"] = {LoopbackServer::ok("#EXTM3U\n#EXTINF:-1 tvg-logo=\"" +
                                                     server.base().toUtf8() + "/logo.png\",Мой канал\n" +
                                                     server.base().toUtf8() + "/mine/index.m3u8\n")};
    Rig rig(PublicLists::base(server));
    QtHttpClient logoHttp(10000);
    LogoCache logos(logoHttp, rig.dir.filePath("IPTV"));
    IptvTab tab(*rig.importer, nullptr, {}, &logos);
    QVERIFY(rig.startUp());

    // Seven public playlists, each with a switch, and their states.
    QTreeWidget* list = tab.sourceList();
    QCOMPARE(list->topLevelItemCount(), 7);
    QCOMPARE(list->topLevelItem(0)->text(IptvTab::SourceNameColumn),
             QStringLiteral("Открытый плейлист iptv-org: Россия"));
    QCOMPARE(list->topLevelItem(0)->checkState(IptvTab::SourceNameColumn), Qt::Checked);
    QVERIFY(list->topLevelItem(0)->text(IptvTab::SourceStateColumn).startsWith(QStringLiteral("каналов: ")));

    // Switched off: stored, and its channels leave the library.
    QSignalSpy done(rig.importer.get(), &IptvImporter::finished);
    list->topLevelItem(0)->setCheckState(IptvTab::SourceNameColumn, Qt::Unchecked);
    QVERIFY(done.wait(LoadWaitMs));
    QCOMPARE(rig.settings.ReadString("IPTVPublic", "ru", {}), QStringLiteral("0"));
    QCOMPARE(countFrom(rig.importer->library(), "ru"), 0);
    QVERIFY(countFrom(rig.importer->library(), "ua") > 0);
    QCOMPARE(tab.sourceList()->topLevelItem(0)->text(IptvTab::SourceStateColumn), QStringLiteral("выключен"));

    // A playlist of the user's own beside them, kept in a section of its own.
    tab.addPlaylistEdit()->setText(server.base() + "/mine.m3u");
    tab.addPlaylistButton()->click();
    QVERIFY(done.wait(LoadWaitMs));
    QCOMPARE(rig.settings.ReadString("IPTVPlaylists", "1", {}), server.base() + "/mine.m3u");
    QCOMPARE(list->topLevelItemCount(), 8);
    QCOMPARE(list->topLevelItem(7)->text(IptvTab::SourceNameColumn),
             QStringLiteral("Свой плейлист: ") + server.base() + "/mine.m3u");
    QVERIFY(rig.importer->library().entryFor(QStringLiteral("Мой канал")));
    QVERIFY(countFrom(rig.importer->library(), "ua") > 0);

    // The search finds it; its row shows the logo once fetched; it can be played.
    tab.searchEdit()->setText(QStringLiteral("мой кан"));
    QCOMPARE(tab.table()->model()->rowCount(), 1);
    const QModelIndex cell = tab.table()->model()->index(0, IptvTab::PlaylistColumn);
    QCOMPARE(cell.data().toString(), QStringLiteral("Мой канал"));
    cell.data(Qt::DecorationRole); // as the view asks while painting
    QTRY_VERIFY_WITH_TIMEOUT(!cell.data(Qt::DecorationRole).value<QImage>().isNull(), 20000);
    QCOMPARE(cell.data(Qt::DecorationRole).value<QImage>().height(), LogoCache::Height);
    QCOMPARE(QDir(rig.dir.filePath("IPTV/logos")).entryList(QDir::Files).size(), 1);
    QSignalSpy play(&tab, &IptvTab::playRequested);
    QVERIFY(tab.selectChannel(QStringLiteral("Мой канал")));
    tab.playButton()->click();
    QCOMPARE(play.count(), 1);
    QCOMPARE(play[0][0].toString(), QStringLiteral("Мой канал"));
    tab.searchEdit()->clear();
    QVERIFY(tab.table()->model()->rowCount() > 100);

    // And removed again.
    list->setCurrentItem(list->topLevelItem(7));
    QVERIFY(tab.removePlaylistButton()->isEnabled());
    tab.removePlaylistButton()->click();
    QVERIFY(done.wait(LoadWaitMs));
    QCOMPARE(list->topLevelItemCount(), 7);
    QVERIFY(!rig.importer->library().entryFor(QStringLiteral("Мой канал")));
    QCOMPARE(rig.settings.ReadString("IPTVPlaylists", "1", {}), QString());
}

// Each guide download has a file of its own: an import overtaken by the next never renames or
// removes the newer one's file, and none is left behind.
void TestIptvSources::twoGuideImportsKeepTheirOwnDownloads() {
    LoopbackServer server;
    server.routes["/a.m3u"] = {
        LoopbackServer::ok("#EXTM3U\n#EXTINF:-1 tvg-id=\"a\",A\nhttp://127.0.0.1/a\n")};
    const auto guide = [](const char* title) {
        return QByteArray(
                   "<?xml version=\"1.0\"?><tv><channel id=\"a\"><display-name>A</display-name></channel>"
                   "<programme start=\"") +
               QDateTime::currentDateTime().toString("yyyyMMdd000000").toLatin1() + "\" stop=\"" +
               QDateTime::currentDateTime().addDays(1).toString("yyyyMMdd000000").toLatin1() +
               "\" channel=\"a\"><title>" + title + "</title></programme></tv>";
    };
    server.routes["/one.xml"] = {LoopbackServer::ok(guide("Первая"))};
    server.routes["/two.xml"] = {LoopbackServer::ok(guide("Вторая"))};
    Rig rig{QString()};
    QSignalSpy done(rig.importer.get(), &IptvImporter::finished);
    QSignalSpy status(rig.importer.get(), &IptvImporter::statusChanged);
    rig.importer->import({server.base() + "/a.m3u", server.base() + "/one.xml"});
    // The second import starts while the first one's guide is being read.
    QTRY_VERIFY_WITH_TIMEOUT(rig.importer->status().contains(QStringLiteral("Загрузка программы")), 20000);
    rig.importer->import({server.base() + "/a.m3u", server.base() + "/two.xml"});
    QTRY_VERIFY_WITH_TIMEOUT(!rig.importer->busy(), LoadWaitMs);
    rig.importer.reset(); // waits for the first import's reader, if it is still at work
    QVERIFY(fileText(rig.cache("guide.xmltv")).contains("Вторая"));
    QCOMPARE(QDir(rig.dir.filePath("IPTV")).entryList({"*.download"}, QDir::Files), QStringList());
}

QTEST_MAIN(TestIptvSources)
#include "test_iptv_sources.moc"
