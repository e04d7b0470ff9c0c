#pragma once
#include <QDateTime>
#include <QString>

// The name a recording is first offered under: the station and the moment it starts
// ("Европа Плюс 2026-12-11 18-05"), or fallback and the moment when the station has no name.
// Whatever in the station's name cannot stand in a file name is replaced.
QString suggestedRecordingName(const QString& station, const QDateTime& start, const QString& fallback);

// The file name of one song of a recording split at title changes: "<stem> - 03 - <title>".
QString songFileStem(const QString& stem, int number, const QString& title);

// text with everything a bare file name cannot hold replaced by a space or a dash, at most
// maxChars long; may come out empty.
QString fileNameSafe(const QString& text, int maxChars = 120);
