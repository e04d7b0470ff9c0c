#include "platform/AppDir.h"

#include <QCoreApplication>

namespace {
QString& overrideDir() {
    static QString dir;
    return dir;
}
QString& overrideSettings() {
    static QString file;
    return file;
}
} // namespace

QString AppDir() {
    if (!overrideDir().isEmpty())
        return overrideDir();
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

QString SettingsFilePath() {
    if (!overrideSettings().isEmpty())
        return overrideSettings();
    return AppDir() + QStringLiteral("Setting.ini");
}

void SetFileLocations(const QString& dataDirWithTrailingSeparator, const QString& settingsFile) {
    overrideDir() = dataDirWithTrailingSeparator;
    overrideSettings() = settingsFile;
}

void SetAppDirForTesting(const QString& dirWithTrailingSeparator) {
    overrideDir() = dirWithTrailingSeparator;
    overrideSettings().clear();
}
