#include "radio/RecordingName.h"

#include "platform/FreeFileName.h"

QString fileNameSafe(const QString& text, int maxChars) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            out += QLatin1Char('-');
        else if (c.category() == QChar::Other_Control || c.isSpace())
            out += QLatin1Char(' ');
        else
            out += c;
    }
    while (out.contains(QLatin1String("..")))
        out.replace(QLatin1String(".."), QLatin1String("."));
    out = out.simplified().left(maxChars).trimmed();
    return fileNameProblem(out) == FileNameProblem::None ? out : QString();
}

QString suggestedRecordingName(const QString& station, const QDateTime& start, const QString& fallback) {
    QString name = fileNameSafe(station);
    if (name.isEmpty())
        name = fileNameSafe(fallback);
    const QString when = start.toString(QStringLiteral("yyyy-MM-dd HH-mm"));
    return name.isEmpty() ? when : name + QLatin1Char(' ') + when;
}

QString songFileStem(const QString& stem, int number, const QString& title) {
    QString song = fileNameSafe(title);
    const QString numbered = stem + QStringLiteral(" - %1").arg(number, 2, 10, QLatin1Char('0'));
    // A long station name and a long title together may not fit a file name: the title gives way.
    while (!song.isEmpty() &&
           fileNameProblem(numbered + QStringLiteral(" - ") + song) != FileNameProblem::None)
        song = song.left(song.size() - 8).trimmed();
    return song.isEmpty() ? numbered : numbered + QStringLiteral(" - ") + song;
}
