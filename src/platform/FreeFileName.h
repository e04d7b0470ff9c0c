#pragma once
#include <QString>
#include <QStringList>

// Recordings are never lost: a new file never replaces one that exists. The name the user gave is
// used as it is while free; otherwise " (2)", " (3)" ... is appended until every file of the set
// (the recording and the files kept beside it, such as a cue sheet) is free.

// Why a name given for a file is refused: a bare file name only, so a recording lands in its
// folder and nowhere else.
enum class FileNameProblem {
    None,
    Empty,     // empty or only spaces
    Separator, // holds '/' or '\'
    DotDot,    // "." or ".." or holds ".."
    Control,   // holds a control character (NUL, line breaks ...)
    TooLong,   // longer than a file system takes once the suffix and a counter are added
};
FileNameProblem fileNameProblem(const QString& name);

// The first of stem, "stem (2)", "stem (3)" ... for which dir/<candidate><suffix> exists for none
// of the suffixes. The file with the first suffix is created there, empty, atomically (never
// opening a file another program made meanwhile), and its path is returned; empty with a reason
// when the folder cannot be written or no free name is found in maxTries.
QString reserveFreeFile(const QString& dir, const QString& stem, const QStringList& suffixes,
                        QString* error = nullptr, int maxTries = 1000);
