#include "settings/IniFileCache.h"

#include "platform/LogCategories.h"
#include "settings/ReadWholeFd.h"

#include <QFile>
#include <QHash>
#include <QMutex>

#include <cerrno>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <unistd.h>

namespace {

QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// File times tick coarsely (a few ms), so a file changed in place within the same tick, to the
// same size, could look unchanged. A parse is only trusted once the file it came from was already
// this old when it was read, or when this process wrote that very file itself.
constexpr qint64 SettledNs = 2'000'000'000;

bool settledAt(const timespec& mtime, const timespec& readAt) {
    const qint64 m = qint64(mtime.tv_sec) * 1'000'000'000 + mtime.tv_nsec;
    const qint64 r = qint64(readAt.tv_sec) * 1'000'000'000 + readAt.tv_nsec;
    return r - m >= SettledNs;
}

struct Versions {
    std::shared_ptr<IniParse> latest;
    std::shared_ptr<IniParse> previous; // the file a writer is replacing, until it settles
};

struct Cache {
    QMutex mutex;
    QHash<QString, Versions> byPath;
};

// Never destroyed: a writer still finishing while the program ends may touch it.
Cache& cache() {
    static Cache* c = new Cache;
    return *c;
}

// The current parse of the file, or nothing when it cannot be read.
std::shared_ptr<IniParse> current(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    Cache& c = cache();
    std::shared_ptr<IniParse> known;
    {
        // Looked at under the lock, so that a writer of this process replacing the file is seen
        // either before or after, together with the parse it published.
        QMutexLocker lock(&c.mutex);
        struct stat st {};
        if (::stat(native.constData(), &st) != 0)
            return nullptr; // missing: every key reads its default
        const IniFileId id = IniFileId::of(st);
        const auto it = c.byPath.constFind(path);
        if (it != c.byPath.constEnd()) {
            for (const std::shared_ptr<IniParse>& p : {it->latest, it->previous}) {
                if (p && p->id == id) {
                    if (p->trusted)
                        return p;
                    known = p; // maybe changed within one tick: compare the bytes
                }
            }
        }
    }
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        qCWarning(lcSettings) << "cannot read" << path << ":" << errnoText(errno);
        return nullptr;
    }
    auto parsed = std::make_shared<IniParse>();
    struct stat st {};
    timespec readAt{};
    ::clock_gettime(CLOCK_REALTIME, &readAt);
    const bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ReadWholeFd(fd, parsed->bytes);
    const int error = errno;
    ::close(fd);
    if (!ok) {
        qCWarning(lcSettings) << "cannot read" << path << ":" << errnoText(error);
        return nullptr;
    }
    parsed->id = IniFileId::of(st);
    parsed->trusted = settledAt(st.st_mtim, readAt);
    QMutexLocker lock(&c.mutex);
    if (known && known->id == parsed->id && known->bytes == parsed->bytes) {
        known->trusted = parsed->trusted;
        return known;
    }
    Versions& v = c.byPath[path];
    if (!v.previous) // a writer's pair stays as it is until it settles
        v.latest = parsed;
    return parsed;
}

} // namespace

namespace IniFileCache {

std::optional<QString> Lookup(const QString& path, const QString& section, const QString& key) {
    const std::shared_ptr<IniParse> parsed = current(path);
    if (!parsed)
        return std::nullopt;
    QMutexLocker lock(&cache().mutex);
    if (!parsed->index)
        parsed->index = std::make_unique<IniIndex>(parsed->bytes);
    return parsed->index->find(section, key);
}

std::vector<std::pair<QString, QString>> Section(const QString& path, const QString& section) {
    const std::shared_ptr<IniParse> parsed = current(path);
    if (!parsed)
        return {};
    QMutexLocker lock(&cache().mutex);
    if (!parsed->index)
        parsed->index = std::make_unique<IniIndex>(parsed->bytes);
    return parsed->index->section(section);
}

void Publish(const QString& path, std::shared_ptr<IniParse> parse) {
    QMutexLocker lock(&cache().mutex);
    Versions& v = cache().byPath[path];
    v.previous = std::exchange(v.latest, std::move(parse));
}

void Settle(const QString& path, bool replaced) {
    QMutexLocker lock(&cache().mutex);
    Versions& v = cache().byPath[path];
    if (!replaced)
        v.latest = v.previous;
    v.previous.reset();
}

} // namespace IniFileCache
