#include "platform/FreeFileName.h"

#include "platform/UiText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// File systems take 255 bytes per name: leave room for " (999)" and the longest suffix.
constexpr qsizetype kMaxNameBytes = 255 - 16;
} // namespace

FileNameProblem fileNameProblem(const QString& name) {
    if (name.trimmed().isEmpty())
        return FileNameProblem::Empty;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return FileNameProblem::Separator;
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            return FileNameProblem::Control;
    }
    if (name.contains(QLatin1String("..")) || name.trimmed() == QLatin1String("."))
        return FileNameProblem::DotDot;
    if (QFile::encodeName(name).size() > kMaxNameBytes)
        return FileNameProblem::TooLong;
    return FileNameProblem::None;
}

QString reserveFreeFile(const QString& dir, const QString& stem, const QStringList& suffixes, QString* error,
                        int maxTries) {
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return QString();
    };
    if (suffixes.isEmpty() || fileNameProblem(stem) != FileNameProblem::None)
        return fail(QStringLiteral("not a file name: %1").arg(stem));
    const QDir folder(dir);
    if (!folder.exists() && !QDir().mkpath(folder.absolutePath()))
        return fail(UiText("UserMessages", "folderFails", QStringLiteral("не создаётся папка %1"))
                        .arg(QDir::toNativeSeparators(folder.absolutePath())));
    for (int n = 1; n <= maxTries; ++n) {
        const QString candidate = n == 1 ? stem : QStringLiteral("%1 (%2)").arg(stem).arg(n);
        bool taken = false;
        for (const QString& suffix : suffixes) {
            // A dangling symbolic link counts as taken: writing through it would create its target.
            const QFileInfo info(folder.filePath(candidate + suffix));
            if (info.exists() || info.isSymLink()) {
                taken = true;
                break;
            }
        }
        if (taken)
            continue;
        QFile file(folder.filePath(candidate + suffixes.first()));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return QFileInfo(file).absoluteFilePath();
        if (QFileInfo::exists(file.fileName()))
            continue; // made by someone else between the look and the open
        return fail(UiText("UserMessages", "createFails", QStringLiteral("не создаётся %1: %2"))
                        .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
    }
    return fail(
        UiText("UserMessages", "noFreeName", QStringLiteral("нет свободного имени для «%1» в папке %2"))
            .arg(stem, QDir::toNativeSeparators(folder.absolutePath())));
}
