#include "settings/WriterLock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}
} // namespace

std::optional<WriterLock> WriterLock::acquire(const QString& path, int waitMs, QString& reason) {
    const QByteArray native = QFile::encodeName(path);
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        const int fd = ::open(native.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            reason = QStringLiteral("cannot open it: ") + errnoText(errno);
            return std::nullopt;
        }
        WriterLock lock(fd);
        // A live writer holds the lock for one read-modify-write: poll briefly, up to the bound.
        int pauseMs = 1;
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR) {
                reason = QStringLiteral("cannot lock it: ") + errnoText(errno);
                return std::nullopt;
            }
            if (deadline.hasExpired()) {
                reason = QStringLiteral("another writer kept it locked for %1 ms").arg(waitMs);
                return std::nullopt;
            }
            QThread::msleep(
                static_cast<unsigned long>(std::min<qint64>(pauseMs, deadline.remainingTime() + 1)));
            pauseMs = std::min(pauseMs * 2, 20);
        }
        struct stat locked {};
        struct stat current {};
        if (::fstat(fd, &locked) == 0 && ::stat(native.constData(), &current) == 0 &&
            locked.st_dev == current.st_dev && locked.st_ino == current.st_ino)
            return lock;
        // Replaced while we waited: the lock guards a file nobody reads any more.
        if (deadline.hasExpired()) {
            reason = QStringLiteral("it kept being replaced for %1 ms").arg(waitMs);
            return std::nullopt;
        }
    }
}

WriterLock::WriterLock(WriterLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

WriterLock::~WriterLock() {
    if (fd_ >= 0)
        ::close(fd_);
}
