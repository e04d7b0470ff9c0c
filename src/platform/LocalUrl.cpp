#include "platform/LocalUrl.h"

QUrl ToViewUrl(const QString& urlOrPath) {
    static const QStringList schemes{"http:", "https:", "about:", "file:", "data:", "qrc:"};
    for (const QString& s : schemes) {
        if (urlOrPath.startsWith(s, Qt::CaseInsensitive))
            return QUrl(urlOrPath);
    }
    QString path = urlOrPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QUrl::fromLocalFile(path);
}
