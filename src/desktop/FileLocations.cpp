#include "desktop/FileLocations.h"

#include "platform/AppDir.h"
#include "platform/LogCategories.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
bool installedInUse = false;

QString withSeparator(QString dir) {
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}
} // namespace

FileLocations ResolveFileLocations(const QString& programDir, const QString& configHome) {
    const QDir program(programDir);
    const QString shared = QDir::cleanPath(program.absoluteFilePath(QStringLiteral("../share/" ZELMO_ID)));
    const bool packsBeside = QFileInfo(program.absoluteFilePath(QStringLiteral("Language"))).isDir();
    const bool packsShared = QFileInfo(shared + QStringLiteral("/Language")).isDir();

    FileLocations l;
    if (!packsBeside && packsShared) {
        l.installed = true;
        l.dataDir = withSeparator(shared);
        l.settingsFile = QDir::cleanPath(configHome + QStringLiteral("/" ZELMO_ID "/Setting.ini"));
    } else {
        l.dataDir = withSeparator(program.absolutePath());
        l.settingsFile = l.dataDir + QStringLiteral("Setting.ini");
    }
    return l;
}

QString UserConfigHome() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + QStringLiteral("/.config");
}

void UseFileLocations(const FileLocations& locations) {
    qCDebug(lcDesktop) << (locations.installed ? "installed" : "portable") << "data:" << locations.dataDir
                       << "settings:" << locations.settingsFile;
    SetFileLocations(locations.dataDir, locations.settingsFile);
    installedInUse = locations.installed;
}

QString RecordingsFolder(const FileLocations& locations) {
    if (!locations.installed)
        return {};
    QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (music.isEmpty())
        music = QDir::homePath() + QStringLiteral("/Music");
    return QDir::cleanPath(music + QStringLiteral("/" ZELMO_NAME));
}

QString RecordingsFolder() {
    FileLocations l;
    l.installed = installedInUse;
    return RecordingsFolder(l);
}
