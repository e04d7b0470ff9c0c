// The whole way for a user's own channels in the real program: a real-world-shaped playlist and a
// gzip guide served on loopback are imported at start-up, a grid channel that matched plays its
// HLS stream in the main view with the guide's page in the programme window, and a playlist
// channel outside the catalog plays from a favourite slot made in the IPTV tab.
#include "TvSamples.h"
#include "TvTestKit.h"
#include "common/SettingFormControls.h"
#include "common/TestFakes.h"

#include "app/ui/Startup.h"
#include "app/ui/TForm1.h"
#include "favorites/ui/TFavoriteForm.h"
#include "platform/AppDir.h"
#include "platform/ui/BrowserView.h"
#include "platform/ui/ButtonCaption.h"
#include "settings/SettingsFile.h"
#include "settings/ui/TSettingForm.h"
#include "tv/M3uPlaylist.h"
#include "tv/TvScreen.h"
#include "tv/ui/IptvTab.h"
#include "web/ui/TTVprogrammForm.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kWaitMs = 60000;

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Puts the test stream where a playlist address points: a copy of the HLS files in its folder.
bool serveStreamAt(const QString& root, const QUrl& url) {
    const QFileInfo target(root + url.path());
    if (!QDir().mkpath(target.path()) || !QFile::copy(root + "/live.m3u8", target.filePath()))
        return false;
    for (const QString& f : QDir(root).entryList({"seg*.ts"}, QDir::Files))
        if (!QFile::copy(root + '/' + f, target.path() + '/' + f))
            return false;
    return true;
}

} // namespace

class TestIptvPlayback : public QObject {
    Q_OBJECT
private slots:
    void importedChannelsPlayFromTheGridAndTheFavourites();
};

void TestIptvPlayback::importedChannelsPlayFromTheGridAndTheFavourites() {
    QTemporaryDir media;
    QVERIFY(tvtest::makeMedia(media.path()));
    tvtest::VideoServer server;
    QVERIFY(server.start(media.path()));
    const QString base = server.url(QString()).chopped(1);
    const QByteArray playlist = TvSamples::ruPlaylist(base);
    const ParsedPlaylist parsed = M3uPlaylist::parse(playlist, QUrl(base + "/ru.m3u"));
    QVERIFY(parsed.ok());
    QStringList ids, names;
    for (const PlaylistEntry& e : parsed.entries) {
        ids << e.tvgId;
        names << e.name;
    }
    QVERIFY(writeFile(media.filePath("ru.m3u"), playlist));
    QVERIFY(writeFile(media.filePath("epg.xml.gz"),
                      TvSamples::gzip(TvSamples::guide(QDateTime::currentMSecsSinceEpoch(), ids, names))));

    QTemporaryDir app;
    const QString built = qEnvironmentVariable("ZELMO_TEST_APPDIR") + QStringLiteral("/");
    QVERIFY(QFile::link(built + "channel", app.filePath("channel")));
    QVERIFY(QFile::link(built + "Language", app.filePath("Language")));
    SettingsFile ini(app.filePath("Setting.ini"));
    ini.WriteString("IPTV", "playlist", base + "/ru.m3u");
    ini.WriteString("IPTV", "guide", base + "/epg.xml.gz");
    SetAppDirForTesting(app.path() + QLatin1Char('/'));

    FakeMessages messages;
    Program program(Program::Options{&messages});
    program.show();
    TForm1& form = *program.windows().Form1;
    TvScreen& tv = *program.services().Tv;
    QTabWidget* pages = SettingFormControls(*program.windows().SettingForm).sPageControl1;
    auto* tab = qobject_cast<IptvTab*>(pages->widget(7)); // after the other seven
    QVERIFY(tab);
    QTRY_VERIFY_WITH_TIMEOUT(tab->statusLabel()->text().contains(QStringLiteral("Программа:")), kWaitMs);
    QVERIFY2(tab->statusLabel()->text().contains(QStringLiteral("совпало 30 из")),
             qPrintable(tab->statusLabel()->text()));

    // The first grid button whose channel matched a playlist entry.
    QPushButton* button = nullptr;
    QString playlistName;
    for (int k = 1; k <= 30 && !button; ++k) {
        const QString caption = ButtonCaption(form.slotButton(k));
        if (caption.isEmpty() || form.slotButton(k)->isHidden() || !tab->selectChannel(caption))
            continue;
        const QAbstractItemModel* table = tab->table()->model();
        const int row = tab->table()->currentIndex().row();
        if (table->index(row, IptvTab::CatalogColumn).data().toString() != caption)
            continue;
        playlistName = table->index(row, IptvTab::PlaylistColumn).data().toString();
        if (!playlistName.isEmpty())
            button = form.slotButton(k);
    }
    QVERIFY2(button, "no matched channel on the start grid");
    const auto entry = std::find_if(parsed.entries.begin(), parsed.entries.end(),
                                    [&](const PlaylistEntry& e) { return e.name == playlistName; });
    QVERIFY(serveStreamAt(media.path(), entry->url));

    qInfo("grid channel \"%s\" plays \"%s\"", qPrintable(ButtonCaption(button)), qPrintable(playlistName));
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(tv.isPlaying());
    QCOMPARE(tv.channelName(), playlistName);
    QTRY_VERIFY_WITH_TIMEOUT(tv.video().frameCount() >= 10, kWaitMs);
    QVERIFY(server.requests().join('\n').contains(entry->url.path()));
    // The programme window points at the guide's page for it.
    const QString guidePage = program.windows().TVprogrammForm->guideView()->lastRequested();
    QCOMPARE(guidePage, app.filePath("IPTV/programme.html"));
    QFile page(guidePage);
    QVERIFY(page.open(QIODevice::ReadOnly));
    QVERIFY(page.readAll().contains("Сейчас"));

    // A playlist channel outside the catalog, put into a favourite slot from the IPTV tab.
    const auto kinohit =
        std::find_if(parsed.entries.begin(), parsed.entries.end(),
                     [](const PlaylistEntry& e) { return e.name == QStringLiteral("Кинохит"); });
    QVERIFY(serveStreamAt(media.path(), kinohit->url));
    QVERIFY(tab->selectChannel(QStringLiteral("Кинохит")));
    tab->favoriteButton()->click();
    TFavoriteForm& favourites = *program.windows().FavoriteForm;
    int slot = 0;
    for (int k = 1; k <= 24 && !slot; ++k)
        if (ButtonCaption(favourites.slotButton(k)) == QStringLiteral("Кинохит"))
            slot = k;
    QVERIFY(slot > 0);
    const quint64 before = tv.video().frameCount();
    QTest::mouseClick(favourites.slotButton(slot), Qt::LeftButton);
    QCOMPARE(tv.channelName(), QStringLiteral("Кинохит"));
    QTRY_VERIFY_WITH_TIMEOUT(server.requests().join('\n').contains(kinohit->url.path()), kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(tv.video().frameCount() >= 10 && tv.video().frameCount() != before, kWaitMs);
    QVERIFY(messages.shown.isEmpty());
}

QTEST_MAIN(TestIptvPlayback)
#include "test_iptv_playback.moc"
