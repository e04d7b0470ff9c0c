#pragma once
#include "settings/IniIndex.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

#include <sys/stat.h>

// What tells one version of a file from another without reading it.
struct IniFileId {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    static IniFileId of(const struct stat& st) {
        return IniFileId{st.st_dev, st.st_ino, st.st_size, st.st_mtim};
    }
    bool operator==(const IniFileId& o) const {
        return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec;
    }
};

// One version of an INI file as read or written, with its lookup index.
struct IniParse {
    IniFileId id;
    bool trusted = false; // its bytes are known to be the file's (see IniFileCache::current)
    QByteArray bytes;
    std::unique_ptr<const IniIndex> index; // built at the first lookup, or by the writer
};

// The parse of each INI file for the whole process: an unchanged file is not read and decoded
// again for every key (the parse is reused while the file's identity, size and modification time
// stay the same).
namespace IniFileCache {

// The value in the file as it is now; nothing when the file, section or key is missing.
std::optional<QString> Lookup(const QString& path, const QString& section, const QString& key);
// The keys and values of the first section of that name (IniIndex::section).
std::vector<std::pair<QString, QString>> Section(const QString& path, const QString& section);

// A writer of this process is about to put `parse` (index built) in place of the file: until it
// settles, both the file as it was and the new one are served from memory, so a read in between
// never decodes the file again.
void Publish(const QString& path, std::shared_ptr<IniParse> parse);
// The new file is in place (replaced) or was given up: the other version is dropped.
void Settle(const QString& path, bool replaced);

} // namespace IniFileCache
