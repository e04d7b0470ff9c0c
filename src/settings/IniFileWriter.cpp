#include "settings/IniFileWriter.h"

#include "settings/IniFileCache.h"
#include "settings/ReadWholeFd.h"
#include "settings/WriterLock.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

IniFileWriter::Result failed(const QString& reason) {
    return {false, reason};
}

bool writeAll(int fd, const QByteArray& data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace

namespace IniFileWriter {

Result Apply(const QString& path, const std::vector<IniText::Change>& changes, int lockWaitMs) {
    QString reason;
    const std::optional<WriterLock> lock = WriterLock::acquire(path, lockWaitMs, reason);
    if (!lock)
        return failed(reason);

    struct stat st {};
    if (::fstat(lock->fd(), &st) != 0 || !S_ISREG(st.st_mode))
        return failed(QStringLiteral("cannot read it: ") + errnoText(errno));
    // Always read again, never from a copy in memory: what other programs or the user wrote
    // since is kept. Writing now would lose the file when it cannot be read.
    QByteArray bytes;
    if (!ReadWholeFd(lock->fd(), bytes))
        return failed(QStringLiteral("cannot read it: ") + errnoText(errno));

    auto parse = std::make_shared<IniParse>();
    parse->bytes = IniText::WithValues(bytes, changes);
    bytes.clear();
    parse->index = std::make_unique<IniIndex>(parse->bytes);
    parse->trusted = true; // this process wrote this very file

    // The new file under a fixed name: only the lock holder writes it, and a copy left by a
    // killed writer is simply written over. No other file beside Setting.ini is touched: a name
    // like "Setting.ini.BackUp" may be the user's own copy, and nothing proves it is not.
    const QByteArray native = QFile::encodeName(path);
    const QByteArray temp = native + ".new";
    const int out = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (out < 0)
        return failed(QStringLiteral("cannot create %1: %2").arg(QFile::decodeName(temp), errnoText(errno)));
    struct stat written {};
    // The new file keeps the old one's mode.
    bool ok = ::fchmod(out, st.st_mode & 07777) == 0 && writeAll(out, parse->bytes) && ::fsync(out) == 0 &&
              ::fstat(out, &written) == 0;
    int error = errno;
    if (::close(out) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.constData());
        return failed(QStringLiteral("cannot write %1: %2").arg(QFile::decodeName(temp), errnoText(error)));
    }
    // The renamed file is this one: same inode, size and time.
    parse->id = IniFileId::of(written);
    IniFileCache::Publish(path, parse);
    const bool replaced = ::rename(temp.constData(), native.constData()) == 0;
    error = errno;
    IniFileCache::Settle(path, replaced);
    if (!replaced) {
        ::unlink(temp.constData());
        return failed(QStringLiteral("cannot replace it: ") + errnoText(error));
    }
    return {true, {}};
}

} // namespace IniFileWriter
