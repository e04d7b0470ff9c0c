// The IPTV import as the assembled program wires it: the settings window's tab, the start-up load
// after the first paint, the favourites and the programme window.
#include "common/LoopbackServer.h"
#include "common/SettingFormControls.h"
#include "common/TestFakes.h"

#include "TvSamples.h"

#include "app/ui/Startup.h"
#include "favorites/ui/TFavoriteForm.h"
#include "navigation/ChannelDispatcher.h"
#include "platform/AppDir.h"
#include "platform/ui/BrowserView.h"
#include "platform/ui/ButtonCaption.h"
#include "settings/SettingsFile.h"
#include "settings/ui/TSettingForm.h"
#include "tv/ui/IptvTab.h"
#include "web/ui/TTVprogrammForm.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestIptvProgram : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    FakeMessages sink_;
    LoopbackServer server_;
    std::unique_ptr<Program> program_;

    IptvTab* tab() const {
        QTabWidget* pages = SettingFormControls(*program_->windows().SettingForm).sPageControl1;
        return qobject_cast<IptvTab*>(pages->widget(7)); // after the other seven
    }

private slots:
    void initTestCase() {
        const QString built = qEnvironmentVariable("ZELMO_TEST_APPDIR") + QStringLiteral("/Language/");
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("Language")));
        for (const QString& f : QDir(built).entryList(QDir::Files))
            QVERIFY(QFile::copy(built + f, dir_.filePath(QStringLiteral("Language/") + f)));
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        server_.routes["/ru.m3u"] = {LoopbackServer::ok(TvSamples::ruPlaylist(server_.base()))};
        server_.routes["/epg.xml.gz"] = {
            LoopbackServer::ok(TvSamples::gzip(TvSamples::guide(now, {"ntv", "tnt"}, {"НТВ", "ТНТ"})))};
        SettingsFile ini(dir_.filePath(QStringLiteral("Setting.ini")));
        ini.WriteString(QStringLiteral("IPTV"), QStringLiteral("playlist"), server_.base() + "/ru.m3u");
        ini.WriteString(QStringLiteral("IPTV"), QStringLiteral("guide"), server_.base() + "/epg.xml.gz");
        SetAppDirForTesting(dir_.path() + QLatin1Char('/'));

        program_ = std::make_unique<Program>(Program::Options{&sink_});
        QVERIFY(tab());
        QVERIFY(server_.requests.isEmpty()); // nothing is fetched before the window is up
        program_->show();
    }
    void cleanupTestCase() { program_.reset(); }

    void theSettingsWindowHasTheTabAfterTheOtherSeven() {
        QTabWidget* pages = SettingFormControls(*program_->windows().SettingForm).sPageControl1;
        QCOMPARE(pages->count(), 9); // the recording options come after it
        QCOMPARE(pages->tabText(7), QStringLiteral("IPTV"));
        QCOMPARE(pages->widget(6), SettingFormControls(*program_->windows().SettingForm).sTabSheet7);
    }

    void theStoredSourcesLoadAfterStartUp() {
        QTRY_VERIFY_WITH_TIMEOUT(tab()->statusLabel()->text().contains(QStringLiteral("Программа: 2 канала")),
                                 60000);
        QVERIFY2(tab()->statusLabel()->text().contains(QStringLiteral("совпало 30 из")),
                 qPrintable(tab()->statusLabel()->text()));
        QVERIFY(QFile::exists(dir_.filePath(QStringLiteral("IPTV/playlist.m3u"))));
    }

    void theProgrammeWindowShowsTheGuidesPage() {
        BrowserView* guide = program_->windows().TVprogrammForm->guideView();
        program_->services().Dispatcher->StartTV(QStringLiteral("ТНТ"));
        QCOMPARE(guide->lastRequested(), dir_.filePath(QStringLiteral("IPTV/programme.html")));
        QFile page(guide->lastRequested());
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(page.readAll()).contains(QStringLiteral("<h1>ТНТ</h1>")));
        // A channel the guide does not know keeps its own programme page.
        program_->services().Dispatcher->StartTV(QStringLiteral("ОРТ"));
        QVERIFY(guide->lastRequested().endsWith(QStringLiteral("channel\\tv-program\\public\\ort.htm")));
    }

    void aPlaylistChannelGoesToTheFavourites() {
        TFavoriteForm& favorites = *program_->windows().FavoriteForm;
        QVERIFY(tab()->selectChannel(QStringLiteral("Кинохит")));
        tab()->favoriteButton()->click();
        QCOMPARE(ButtonCaption(favorites.slotButton(1)), QStringLiteral("Кинохит"));
        QCOMPARE(SettingsFile(dir_.filePath(QStringLiteral("Setting.ini")))
                     .ReadString(QStringLiteral("Favorite"), QStringLiteral("fa"), {}),
                 QStringLiteral("Кинохит"));
    }
};

QTEST_MAIN(TestIptvProgram)
#include "test_iptv_program.moc"
