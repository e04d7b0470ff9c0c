#pragma once
#include "settings/IniText.h"

#include <QString>

#include <vector>

// Puts changes into an INI file as it is now on disk, so that what other programs or the user
// wrote there meanwhile is kept. Other processes (a second copy of the program) write the same
// file: the read-modify-write runs under the writers' lock, and the file is replaced in one
// rename, so a reader sees the old or the new file, never a half-written one; a failed write
// leaves the old file as it was.
namespace IniFileWriter {

struct Result {
    bool ok = false;
    QString reason; // why not, when !ok
};

// Waits at most lockWaitMs for another writer. The new file's parse goes to IniFileCache.
Result Apply(const QString& path, const std::vector<IniText::Change>& changes, int lockWaitMs);

} // namespace IniFileWriter
