#include "platform/QtHttpClient.h"
#include "platform/UserAgent.h"
#include "settings/SettingsFile.h"
#include "tv/IptvImporter.h"
#include "tv/PublicPlaylists.h"
#include "tv/ui/IptvTab.h"

#include "TvSamples.h"
#include "common/LoopbackServer.h"

#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int LoadWaitMs = 60000; // a busy machine parses slowly; the wait ends as soon as it is done

QByteArray fileText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A settings window's worth of IPTV: a real HTTP client, Setting.ini in a temporary folder and the tab.
struct Rig {
    QTemporaryDir dir;
    SettingsFile settings{dir.filePath(QStringLiteral("Setting.ini"))};
    QtHttpClient http{10000};
    IptvImporter importer{settings, http, dir.filePath(QStringLiteral("IPTV"))};
    IptvTab tab{importer};

    bool load(const QString& playlist, const QString& guide) {
        tab.playlistEdit()->setText(playlist);
        tab.guideEdit()->setText(guide);
        QSignalSpy done(&importer, &IptvImporter::finished);
        tab.loadButton()->click();
        return done.count() > 0 || done.wait(LoadWaitMs);
    }
    QString status() const { return tab.statusLabel()->text(); }
    // What the table shows, read cell by cell as a user sees it.
    QString text(int row, int column) const {
        return tab.table()->model()->index(row, column).data().toString();
    }
    int rowOf(const QString& catalogName) const {
        for (int r = 0; r < tab.table()->model()->rowCount(); ++r)
            if (text(r, IptvTab::CatalogColumn) == catalogName)
                return r;
        return -1;
    }
    static QStringList rowsOf(const IptvTab& tab) {
        const QAbstractItemModel* m = tab.table()->model();
        QStringList rows;
        for (int r = 0; r < m->rowCount(); ++r)
            rows << m->index(r, 0).data().toString() + u'|' + m->index(r, 1).data().toString() + u'|' +
                        m->index(r, 2).data().toString();
        return rows;
    }
    QStringList rows() const { return rowsOf(tab); }
    QString cell(const QString& catalogName, int column) const {
        const int r = rowOf(catalogName);
        return r < 0 ? QStringLiteral("<no row>") : text(r, column);
    }
};

struct Server {
    LoopbackServer http;
    qint64 now = QDateTime::currentMSecsSinceEpoch();
    QByteArray guideXml;
    Server() {
        http.routes["/lists/ru.m3u"] = {LoopbackServer::ok(TvSamples::ruPlaylist(http.base()))};
        guideXml = TvSamples::guide(now, {"1tv", "ntv", "tnt", "other"},
                                    {"Первый канал", "НТВ", "ТНТ", "Не из плейлиста"});
        http.routes["/epg.xml.gz"] = {LoopbackServer::ok(TvSamples::gzip(guideXml))};
        http.routes["/epg.xml"] = {LoopbackServer::ok(guideXml)};
    }
    QString url(const char* path) const { return http.base() + QLatin1String(path); }
};

} // namespace

class TestIptvImport : public QObject {
    Q_OBJECT
private slots:
    void importsPlaylistAndGuideOverHttp();
    void userChoicesAndFavourites();
    void badInputsKeepTheLastGoodImport();
    void startsFromTheCacheWhenOffline();
    void emptyPlaylistTurnsTheFeatureOff();
    void theStartsPassNeverUndoesTheUsersImport();
};

void TestIptvImport::importsPlaylistAndGuideOverHttp() {
    Server server;
    Rig rig;
    QVERIFY(rig.load(server.url("/lists/ru.m3u"), server.url("/epg.xml.gz")));
    const int catalog = int(rig.importer.library().catalogNames().size());
    QVERIFY2(rig.status().contains(
                 QStringLiteral("Плейлист: 35 каналов; с каталогом совпало 30 из %1.").arg(catalog)),
             qPrintable(rig.status()));
    // The second entry of "Первый канал HD" is kept, as the mirror ОРТ falls back on.
    QCOMPARE(rig.importer.library().streamFor("ОРТ")->alternates.size(), size_t(1));
    QVERIFY2(rig.status().contains(QStringLiteral("отклонено адресов не http(s): 2")),
             qPrintable(rig.status()));
    QVERIFY2(rig.status().contains(QStringLiteral("Программа: 3 канала")), qPrintable(rig.status()));
    qInfo("%s", qPrintable(rig.status()));

    // Playlists are asked for as a browser asks for them.
    QCOMPARE(server.http.header(0, "User-Agent"), UserAgent::Browser);

    QCOMPARE(rig.cell(QStringLiteral("ТНТ"), IptvTab::PlaylistColumn), QStringLiteral("TНТ"));
    QCOMPARE(rig.cell(QStringLiteral("ТНТ"), IptvTab::StateColumn), QStringLiteral("найден"));
    QCOMPARE(rig.cell(QStringLiteral("ТВЦ"), IptvTab::StateColumn), QStringLiteral("найден")); // renamed
    QCOMPARE(rig.cell(QStringLiteral("Россия 2"), IptvTab::StateColumn), QStringLiteral("нет"));
    QCOMPARE(rig.importer.library().streamFor(QStringLiteral("ТНТ"))->url,
             QUrl(server.url("/live/tnt/index.m3u8")));

    // Sources stored, fetched files cached beside Setting.ini.
    QVERIFY(rig.settings.flush(60000));
    const QByteArray ini = fileText(rig.settings.path());
    QVERIFY2(ini.contains("[IPTV]") && ini.contains("playlist=" + server.url("/lists/ru.m3u").toUtf8()) &&
                 ini.contains("guide=" + server.url("/epg.xml.gz").toUtf8()),
             ini.constData());
    QCOMPARE(fileText(rig.importer.cacheDir() + "playlist.m3u"), TvSamples::ruPlaylist(server.http.base()));
    QCOMPARE(fileText(rig.importer.cacheDir() + "guide.xmltv"), TvSamples::gzip(server.guideXml));

    // The programme page of a matched channel: by tvg-id ("ntv") and by name (Первый канал HD).
    for (const QString& name : {QStringLiteral("НТВ"), QStringLiteral("Первый канал HD")}) {
        const auto page = rig.importer.programmePage(name, server.now);
        QVERIFY2(page, qPrintable(name));
        const QString html = QString::fromUtf8(fileText(*page));
        QVERIFY2(html.contains(QStringLiteral("Сейчас")) && html.contains(QStringLiteral(" 24</b>")),
                 qPrintable(html));
    }
    QVERIFY(!rig.importer.programmePage(QStringLiteral("Россия 1"), server.now)); // not in the guide

    // A plain guide reads the same.
    QVERIFY(rig.load(server.url("/lists/ru.m3u"), server.url("/epg.xml")));
    QVERIFY2(rig.status().contains(QStringLiteral("Программа: 3 канала")), qPrintable(rig.status()));
}

void TestIptvImport::userChoicesAndFavourites() {
    Server server;
    Rig rig;
    QVERIFY(rig.load(server.url("/lists/ru.m3u"), QString()));
    QSignalSpy favourites(&rig.tab, &IptvTab::favoriteRequested);

    // Another playlist entry for a catalog channel.
    QVERIFY(rig.tab.selectChannel(QStringLiteral("ТВЦ")));
    QVERIFY(rig.tab.chooseButton()->isEnabled());
    rig.tab.entryBox()->setCurrentIndex(rig.tab.entryBox()->findText(QStringLiteral("ТВ Центр")));
    rig.tab.chooseButton()->click();
    QCOMPARE(rig.cell(QStringLiteral("ТВЦ"), IptvTab::StateColumn), QStringLiteral("выбран"));
    QCOMPARE(rig.importer.library().streamFor(QStringLiteral("ТВЦ"))->displayName,
             QStringLiteral("ТВ Центр"));

    // A match cleared.
    QVERIFY(rig.tab.selectChannel(QStringLiteral("НТВ")));
    rig.tab.clearButton()->click();
    QCOMPARE(rig.cell(QStringLiteral("НТВ"), IptvTab::StateColumn), QStringLiteral("убран"));
    QVERIFY(!rig.importer.library().streamFor(QStringLiteral("НТВ")));

    // Both choices are stored and win over the automatic matching at the next import.
    QVERIFY(rig.settings.flush(60000));
    const QByteArray ini = fileText(rig.settings.path());
    QVERIFY2(ini.contains("[IPTVMatch]") && ini.contains("ТВЦ=ТВ Центр") && ini.contains("НТВ="),
             ini.constData());
    QVERIFY(rig.load(server.url("/lists/ru.m3u"), QString()));
    QCOMPARE(rig.importer.library().streamFor(QStringLiteral("ТВЦ"))->displayName,
             QStringLiteral("ТВ Центр"));
    QVERIFY(!rig.importer.library().streamFor(QStringLiteral("НТВ")));

    // Any playlist channel, in the catalog or not, goes to the favourites and plays by its name.
    QVERIFY(rig.tab.selectChannel(QStringLiteral("Кинохит")));
    QVERIFY(!rig.tab.chooseButton()->isEnabled()); // no catalog channel on that row
    rig.tab.favoriteButton()->click();
    QVERIFY(rig.tab.selectChannel(QStringLiteral("ТНТ")));
    rig.tab.favoriteButton()->click();
    QCOMPARE(favourites.count(), 2);
    QCOMPARE(favourites[0][0].toString(), QStringLiteral("Кинохит"));
    QCOMPARE(favourites[1][0].toString(), QStringLiteral("TНТ"));
    QCOMPARE(rig.importer.library().streamFor(QStringLiteral("Кинохит"))->url,
             QUrl(server.url("/live/kinohit/index.m3u8")));

    // A new import keeps the selected row, one outside the catalog too, even where the rows moved.
    QByteArray longer = TvSamples::ruPlaylist(server.http.base());
    longer.insert(longer.indexOf('\n') + 1, "#EXTINF:-1,Первая запись\nhttp://127.0.0.1/first.m3u8\n");
    server.http.routes["/lists/longer.m3u"] = {LoopbackServer::ok(longer)};
    QVERIFY(rig.tab.selectChannel(QStringLiteral("Кинохит")));
    QVERIFY(rig.load(server.url("/lists/longer.m3u"), QString()));
    const auto selected = rig.tab.table()->selectionModel()->selectedRows();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(rig.text(selected.first().row(), IptvTab::PlaylistColumn), QStringLiteral("Кинохит"));
    QVERIFY(rig.tab.favoriteButton()->isEnabled());

    // A click updates the table in place: afterwards it reads as a table built afresh, the clicked
    // row stays selected and the list shows its entry. Two catalog channels on one entry keep it out
    // of the rows "вне каталога" until neither plays it.
    struct Step {
        QString catalog, entry; // an empty entry: "Убрать"
        bool entryOutside;      // the entry has a row of its own afterwards
    };
    const Step steps[] = {
        {QStringLiteral("ТВЦ"), QStringLiteral("TНТ"), false},
        {QStringLiteral("ТНТ"), QString(), false},
        {QStringLiteral("ТВЦ"), QString(), true},
        {QStringLiteral("ТНТ"), QStringLiteral("Кинохит"), false},
        {QStringLiteral("ТНТ"), QStringLiteral("TНТ"), false},
    };
    for (const Step& step : steps) {
        const QString what = step.catalog + u'=' + step.entry;
        QVERIFY2(rig.tab.selectChannel(step.catalog), qPrintable(what));
        if (step.entry.isEmpty()) {
            rig.tab.clearButton()->click();
        } else {
            rig.tab.entryBox()->setCurrentIndex(rig.tab.entryBox()->findText(step.entry));
            rig.tab.chooseButton()->click();
        }
        QCOMPARE(rig.cell(step.catalog, IptvTab::StateColumn),
                 step.entry.isEmpty() ? QStringLiteral("убран") : QStringLiteral("выбран"));
        QCOMPARE(rig.tab.table()->currentIndex().row(), rig.rowOf(step.catalog));
        QCOMPARE(rig.tab.entryBox()->currentText(),
                 step.entry.isEmpty() ? QStringLiteral("— нет —") : step.entry);
        IptvTab fresh{rig.importer};
        QCOMPARE(rig.rows(), Rig::rowsOf(fresh));
        const QString outsideEntry = step.entry.isEmpty() ? QStringLiteral("TНТ") : step.entry;
        QVERIFY2(fresh.selectChannel(outsideEntry) == step.entryOutside, qPrintable(what));
    }
}

void TestIptvImport::badInputsKeepTheLastGoodImport() {
    Server server;
    QByteArray big(10 * 1024 * 1024, 'x');
    big.prepend("#EXTM3U\n");
    server.http.routes["/big.m3u"] = {LoopbackServer::ok(big)};
    server.http.routes["/page.html"] = {LoopbackServer::ok("<html><body>Нет такой страницы</body></html>")};
    server.http.routes["/broken.xml"] = {
        LoopbackServer::ok(server.guideXml.first(server.guideXml.size() / 2))};
    server.http.routes["/bad.xml.gz"] = {
        LoopbackServer::ok("\x1f\x8b\x08\xe0garbage with unknown header flags")};
    QTemporaryDir local;
    const QString localList = local.filePath("local.m3u");
    {
        QFile f(localList);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#EXTM3U\n#EXTINF:-1,Файл\nfile:///etc/passwd\n");
    }

    Rig rig;
    QVERIFY(rig.load(server.url("/lists/ru.m3u"), server.url("/epg.xml.gz")));
    QVERIFY(rig.settings.flush(60000));
    const QByteArray goodIni = fileText(rig.settings.path());
    const auto stillGood = [&] {
        return rig.importer.library().playlist().size() == 35 && rig.importer.library().streamFor("ТНТ") &&
               rig.importer.programmePage(QStringLiteral("НТВ"), server.now).has_value();
    };

    struct Case {
        QString playlist, guide, message;
    };
    const Case cases[] = {
        {server.url("/missing.m3u"), {}, QStringLiteral("Плейлист не загружен")},
        {server.url("/page.html"), {}, QStringLiteral("нет строки #EXTM3U")},
        {server.url("/big.m3u"), {}, QStringLiteral("больше 8 МБ")},
        {QStringLiteral("ftp://127.0.0.1/list.m3u"), {}, QStringLiteral("Неверный источник")},
        {QStringLiteral("http:///nohost"), {}, QStringLiteral("Неверный источник")},
        {localList, {}, QStringLiteral("нет ни одного http(s)-адреса")},
        {local.filePath("absent.m3u"), {}, QStringLiteral("не открыть файл")},
        {server.url("/lists/ru.m3u"), server.url("/broken.xml"), QStringLiteral("оборван")},
        {server.url("/lists/ru.m3u"), server.url("/bad.xml.gz"),
         QStringLiteral("Программа не загружена: не gzip")},
        {server.url("/lists/ru.m3u"), server.url("/missing.xml"), QStringLiteral("Программа не загружена")},
    };
    for (const Case& c : cases) {
        QVERIFY2(rig.load(c.playlist, c.guide), qPrintable(c.playlist));
        QVERIFY2(rig.status().contains(c.message),
                 qPrintable(c.playlist + u'|' + c.guide + u'|' + rig.status()));
        QVERIFY2(rig.status().contains(QStringLiteral("прежн")), qPrintable(rig.status()));
        QVERIFY2(stillGood(), qPrintable(c.playlist + u'|' + c.guide));
        QVERIFY(rig.tab.loadButton()->isEnabled());
    }
    // A refused playlist leaves the stored sources alone.
    QVERIFY(rig.settings.flush(60000));
    QVERIFY(fileText(rig.settings.path()).contains("playlist=" + server.url("/lists/ru.m3u").toUtf8()));
    Q_UNUSED(goodIni);
}

void TestIptvImport::startsFromTheCacheWhenOffline() {
    QTemporaryDir dir;
    QByteArray iniAfter;
    qint64 now = 0;
    {
        Server server;
        now = server.now;
        SettingsFile settings(dir.filePath("Setting.ini"));
        QtHttpClient http(10000);
        IptvImporter importer(settings, http, dir.filePath("IPTV"));
        QSignalSpy done(&importer, &IptvImporter::finished);
        importer.import({server.url("/lists/ru.m3u"), server.url("/epg.xml.gz")});
        QVERIFY(done.wait(LoadWaitMs));
        QCOMPARE(importer.library().matchedCount(), 30);
    } // the server is gone: the sources no longer answer

    SettingsFile settings(dir.filePath("Setting.ini"));
    QtHttpClient http(10000);
    IptvImporter importer(settings, http, dir.filePath("IPTV"));
    QSignalSpy changed(&importer, &IptvImporter::playlistChanged);
    QSignalSpy done(&importer, &IptvImporter::finished);
    importer.startUp();
    QVERIFY(importer.library().playlist().empty()); // nothing is read on the caller's thread
    QVERIFY(done.wait(LoadWaitMs));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(importer.library().matchedCount(), 30);
    QVERIFY(importer.programmePage(QStringLiteral("ТНТ"), now));
    QVERIFY2(importer.status().contains(QStringLiteral("Плейлист не загружен")),
             qPrintable(importer.status()));
}

// The start's pass comes after the first paint; a user who imported before it keeps the import.
void TestIptvImport::theStartsPassNeverUndoesTheUsersImport() {
    Server server;
    Rig rig;
    QVERIFY(rig.load(server.url("/lists/ru.m3u"), QString()));
    QCOMPARE(rig.importer.library().matchedCount(), 30);
    QSignalSpy done(&rig.importer, &IptvImporter::finished);
    rig.importer.startUp();
    QVERIFY(!rig.importer.busy());
    QCOMPARE(done.count(), 0);
    QCOMPARE(rig.importer.library().matchedCount(), 30);
}

void TestIptvImport::emptyPlaylistTurnsTheFeatureOff() {
    Server server;
    Rig rig;
    QVERIFY(rig.load(server.url("/lists/ru.m3u"), QString()));
    // Without the own playlist the public ones would come in: here they are switched off.
    for (const PublicPlaylists::Country& c : PublicPlaylists::Countries())
        rig.settings.WriteString(QStringLiteral("IPTVPublic"), QLatin1String(c.code), QStringLiteral("0"));
    QVERIFY(rig.load(QString(), QString()));
    QVERIFY(rig.importer.library().playlist().empty());
    QVERIFY(!rig.importer.library().streamFor(QStringLiteral("ТНТ")));
    QCOMPARE(rig.tab.table()->model()->rowCount(), 0);
    QCOMPARE(rig.importer.storedSources().playlist, QString());
    QVERIFY(!QFile::exists(rig.importer.cacheDir() + "playlist.m3u"));

    // Nothing stored: start-up does nothing.
    QSignalSpy done(&rig.importer, &IptvImporter::finished);
    rig.importer.startUp();
    QVERIFY(!rig.importer.busy());
    QCOMPARE(done.count(), 0);
}

QTEST_MAIN(TestIptvImport)
#include "test_iptv_import.moc"
