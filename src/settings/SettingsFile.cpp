#include "settings/SettingsFile.h"

#include "platform/LogCategories.h"
#include "settings/IniIndex.h"
#include "settings/IniText.h"
#include "settings/IntegerText.h"
#include "settings/WriterLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Another process writing the same file holds the lock only for one read-modify-write.
constexpr int LockWaitMs = 5000;

QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// What tells one version of the file from another without reading it.
struct FileId {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    bool operator==(const FileId& o) const {
        return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec;
    }
};

FileId idOf(const struct stat& st) {
    return FileId{st.st_dev, st.st_ino, st.st_size, st.st_mtim};
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

struct Parsed {
    FileId id;
    bool trusted = false;
    QByteArray bytes;                      // the file as read, shared with the index
    std::unique_ptr<const IniIndex> index; // built at the first lookup
};

// One parse per file for the whole process: every SettingsFile of a path shares it.
struct ParseCache {
    QMutex mutex;
    QHash<QString, std::shared_ptr<Parsed>> byPath;
};

ParseCache& cache() {
    static ParseCache c;
    return c;
}

bool readFd(int fd, QByteArray& out) {
    out.clear();
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        out.append(buf, n);
    }
}

// The current parse of the file, or nothing when it cannot be read.
std::shared_ptr<Parsed> current(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    ParseCache& c = cache();
    std::shared_ptr<Parsed> known;
    {
        struct stat st {};
        if (::stat(native.constData(), &st) != 0)
            return nullptr; // missing: every key reads its default
        QMutexLocker lock(&c.mutex);
        const auto it = c.byPath.constFind(path);
        if (it != c.byPath.constEnd() && (*it)->id == idOf(st)) {
            if ((*it)->trusted)
                return *it;
            known = *it; // maybe changed within one tick: compare the bytes
        }
    }
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        qCWarning(lcSettings) << "cannot read" << path << ":" << errnoText(errno);
        return nullptr;
    }
    auto parsed = std::make_shared<Parsed>();
    struct stat st {};
    timespec readAt{};
    ::clock_gettime(CLOCK_REALTIME, &readAt);
    const bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && readFd(fd, parsed->bytes);
    const int error = errno;
    ::close(fd);
    if (!ok) {
        qCWarning(lcSettings) << "cannot read" << path << ":" << errnoText(error);
        return nullptr;
    }
    parsed->id = idOf(st);
    parsed->trusted = settledAt(st.st_mtim, readAt);
    QMutexLocker lock(&c.mutex);
    if (known && known->id == parsed->id && known->bytes == parsed->bytes) {
        known->trusted = parsed->trusted;
        return known;
    }
    c.byPath.insert(path, parsed);
    return parsed;
}

std::optional<QString> lookup(const QString& path, const QString& section, const QString& key) {
    const std::shared_ptr<Parsed> parsed = current(path);
    if (!parsed)
        return std::nullopt;
    QMutexLocker lock(&cache().mutex);
    if (!parsed->index)
        parsed->index = std::make_unique<IniIndex>(parsed->bytes);
    return parsed->index->find(section, key);
}

} // namespace

SettingsFile::SettingsFile(QString path) : path_(std::move(path)) {}

QString SettingsFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    return lookup(path_, section, key).value_or(def);
}

bool SettingsFile::ReadBool(const QString& section, const QString& key, bool def) const {
    const std::optional<QString> value = lookup(path_, section, key);
    if (!value)
        return def;
    const std::optional<qint32> number = ParseInt32(*value);
    return number ? *number != 0 : def;
}

void SettingsFile::WriteString(const QString& section, const QString& key, const QString& value) {
    // A line break cannot be stored in a one-line value, nor half a surrogate pair in UTF-8:
    // refuse such a value rather than split the entry or store something else.
    if (!IniText::CanStore(value))
        fail(QStringLiteral("the value of %1/%2 has a line break, a NUL or a broken character")
                 .arg(section, key));
    if (!IniText::CanStoreName(section, true) || !IniText::CanStoreName(key, false))
        fail(QStringLiteral("the name %1/%2 cannot be stored").arg(section, key));

    // Other processes (a second copy of the program) write the same file: each
    // read-modify-write runs under the lock, and the file is replaced in one rename, so a
    // reader sees the old or the new file, never a half-written one.
    // The folder may not exist yet: an installed program keeps the file in the user's
    // configuration folder, created with the first setting written.
    const QFileInfo info(path_);
    if (!info.dir().exists() && !QDir().mkpath(info.absolutePath()))
        fail(QStringLiteral("cannot create its folder"));
    QString reason;
    const std::optional<WriterLock> lock = WriterLock::acquire(path_, LockWaitMs, reason);
    if (!lock)
        fail(reason);

    QByteArray bytes;
    struct stat st {};
    if (::fstat(lock->fd(), &st) != 0 || !S_ISREG(st.st_mode) || !readFd(lock->fd(), bytes))
        fail(QStringLiteral("cannot read it: ") + errnoText(errno)); // writing now would lose it
    const QByteArray data = IniText::WithValue(bytes, section, key, value);

    // The new file under a fixed name: only the lock holder writes it, and a copy left by a
    // killed writer is simply written over. No other file beside Setting.ini is touched: a name
    // like "Setting.ini.BackUp" may be the user's own copy, and nothing proves it is not.
    const QByteArray native = QFile::encodeName(path_);
    const QByteArray temp = native + ".new";
    const int out = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (out < 0)
        fail(QStringLiteral("cannot create %1: %2").arg(QFile::decodeName(temp), errnoText(errno)));
    qsizetype done = 0;
    bool ok = ::fchmod(out, st.st_mode & 07777) == 0; // the new file keeps the old one's mode
    while (ok && done < data.size()) {
        const ssize_t n = ::write(out, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        done += n > 0 ? n : 0;
    }
    ok = ok && ::fsync(out) == 0;
    const int error = errno;
    ok = ::close(out) == 0 && ok;
    if (!ok || ::rename(temp.constData(), native.constData()) != 0) {
        const int e = ok ? errno : error;
        ::unlink(temp.constData());
        fail(QStringLiteral("cannot replace it: ") + errnoText(e));
    }

    // This process wrote this very file: its parse can be trusted at once.
    struct stat written {};
    if (::stat(native.constData(), &written) == 0) {
        auto parsed = std::make_shared<Parsed>();
        parsed->id = idOf(written);
        parsed->trusted = true;
        parsed->bytes = data;
        QMutexLocker cacheLock(&cache().mutex);
        cache().byPath.insert(path_, std::move(parsed));
    }
}

void SettingsFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void SettingsFile::fail(const QString& reason) const {
    qCWarning(lcSettings) << "cannot write" << path_ << ":" << reason;
    throw SettingsWriteError((QStringLiteral("Unable to write to ") + path_).toStdString());
}
