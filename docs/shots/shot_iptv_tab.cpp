// The settings window's IPTV tab after an import of the test playlist and guide, saved as a PNG.
// Usage: shot_iptv_tab APPDIR OUT.png   (APPDIR: the built AppDir, for the language packs)
#include "common/LoopbackServer.h"
#include "tv/TvSamples.h"

#include "app/ui/Startup.h"
#include "platform/AppDir.h"
#include "settings/SettingsFile.h"
#include "settings/ui/TSettingForm.h"
#include "tv/ui/IptvTab.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

int main(int argc, char** argv) {
    PrepareEnvironment();
    ZelmoApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString built = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/Language/");
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("Language"));
    for (const QString& f : QDir(built).entryList(QDir::Files))
        QFile::copy(built + f, dir.filePath(QStringLiteral("Language/") + f));
    // Served on loopback, the way most users bring theirs.
    LoopbackServer server;
    server.routes["/ru.m3u"] = {LoopbackServer::ok(TvSamples::ruPlaylist(server.base()))};
    server.routes["/epg.xml.gz"] = {LoopbackServer::ok(TvSamples::gzip(TvSamples::guide(
        QDateTime::currentMSecsSinceEpoch(), {"1tv", "ntv", "tnt"}, {"Первый канал", "НТВ", "ТНТ"})))};
    SettingsFile ini(dir.filePath(QStringLiteral("Setting.ini")));
    ini.WriteString(QStringLiteral("IPTV"), QStringLiteral("playlist"), server.base() + "/ru.m3u");
    ini.WriteString(QStringLiteral("IPTV"), QStringLiteral("guide"), server.base() + "/epg.xml.gz");
    SetAppDirForTesting(dir.path() + QLatin1Char('/'));

    Program program;
    program.show();
    TSettingForm& settings = *Windows().SettingForm;
    QTabWidget* pages = settings.sPageControl1;
    auto* tab = qobject_cast<IptvTab*>(pages->widget(pages->count() - 1));
    if (!tab ||
        !QTest::qWaitFor([tab] { return tab->statusLabel()->text().contains(QStringLiteral("Программа:")); },
                         60000))
        return 1;
    settings.show();
    pages->setCurrentWidget(tab);
    tab->selectChannel(QStringLiteral("ТНТ"));
    QTest::qWait(300);
    return settings.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
