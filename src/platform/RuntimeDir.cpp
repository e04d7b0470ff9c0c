#include "platform/RuntimeDir.h"

#include "platform/LogCategories.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace RuntimeDir {

namespace {
// A directory of ours, not a link to one: its mode in `st`.
bool ownDirectory(const QByteArray& path, struct stat& st, QString& reason) {
    if (::lstat(path.constData(), &st) != 0) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        reason = QStringLiteral("it is not a directory");
        return false;
    }
    if (st.st_uid != ::geteuid()) {
        reason = QStringLiteral("it belongs to user %1").arg(st.st_uid);
        return false;
    }
    return true;
}
} // namespace

bool Prepare(const QByteArray& path, QString& reason) {
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        reason = QStringLiteral("cannot create it: ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    struct stat st {};
    if (!ownDirectory(path, st, reason))
        return false;
    if ((st.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0) {
        reason = QStringLiteral("others can enter it and it cannot be closed: ") +
                 QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

namespace {
bool isPrivate(const QByteArray& path, QString& reason) {
    struct stat st {};
    if (!ownDirectory(path, st, reason))
        return false;
    if ((st.st_mode & 022) != 0) {
        reason = QStringLiteral("others can write to it");
        return false;
    }
    return true;
}
} // namespace

QByteArray Choose(const QByteArray& preferred) {
    QString reason;
    if (Prepare(preferred, reason))
        return preferred;
    qCWarning(lcDesktop) << "not using the runtime directory" << preferred << ":" << reason;
    QByteArray fresh = preferred + "-XXXXXX";
    if (::mkdtemp(fresh.data()) == nullptr) {
        qCWarning(lcDesktop) << "cannot make a private runtime directory:" << std::strerror(errno);
        return {};
    }
    return fresh;
}

QByteArray ForSockets(const QByteArray& dir) {
    QString reason;
    if (!dir.isEmpty()) {
        if (isPrivate(dir, reason))
            return dir;
        qCWarning(lcDesktop) << "not keeping sockets in" << dir << ":" << reason;
    }
    return Choose("/tmp/zelmo-xdg-" + QByteArray::number(static_cast<qulonglong>(::geteuid())));
}

} // namespace RuntimeDir
