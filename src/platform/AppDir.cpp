#include "platform/AppDir.h"

#include <QCoreApplication>

namespace {
QString& overrideDir() {
    static QString dir;
    return dir;
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

void SetAppDirForTesting(const QString& dirWithTrailingSeparator) {
    overrideDir() = dirWithTrailingSeparator;
}
