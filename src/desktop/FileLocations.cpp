#include "desktop/FileLocations.h"

#include "platform/AppDir.h"
#include "platform/LogCategories.h"

#include <QDir>
#include <QFileInfo>

namespace {
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
}
