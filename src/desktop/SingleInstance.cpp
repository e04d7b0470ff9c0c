#include "desktop/SingleInstance.h"

#include "platform/LogCategories.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QByteArray Activate = "activate\n";
const QByteArray Done = "ok\n";
// Both sides speak one short line: anything longer is not a copy of this program.
constexpr qint64 MaxMessage = 64;
// A running copy answers at once; these bound what other local processes can make it hold.
constexpr int MaxConnections = 8;
constexpr int IdleMs = 3000;
// The lock only covers "look for a running copy, else listen": held for well under a second.
constexpr int LockWaitMs = 15000;

// "Look for a running copy, else listen" runs under flock() on the socket's own folder: the
// kernel drops the lock with its owner, so a copy killed at that moment leaves nothing behind,
// and there is no lock file that could be left empty, dated in the future or be a folder.
class FolderLock {
public:
    explicit FolderLock(const QString& folder)
        : fd_(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock() {
        if (fd_ >= 0)
            ::close(fd_); // also unlocks
    }

    // Waits at most waitMs for another starting copy; false with `reason` set otherwise.
    bool lock(int waitMs, QString& reason) {
        if (fd_ < 0) {
            reason = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        const QDeadlineTimer deadline(waitMs);
        int pauseMs = 1;
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR) {
                reason = QString::fromLocal8Bit(std::strerror(errno));
                return false;
            }
            if (deadline.hasExpired()) {
                reason = QStringLiteral("another start kept it locked for %1 ms").arg(waitMs);
                return false;
            }
            QThread::msleep(static_cast<unsigned long>(pauseMs));
            pauseMs = std::min(pauseMs * 2, 20);
        }
        return true;
    }

private:
    int fd_;
};
} // namespace

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), name_(std::move(serverName)) {
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
}

QString SingleInstance::ServerName(const QString& runtimeDir, const QString& settingsFile) {
    const QByteArray hash = QCryptographicHash::hash(QFileInfo(settingsFile).absoluteFilePath().toUtf8(),
                                                     QCryptographicHash::Sha1)
                                .toHex()
                                .left(12);
    return QDir(runtimeDir)
        .absoluteFilePath(QStringLiteral(ZELMO_ID "-%1-%2")
                              .arg(static_cast<qulonglong>(::geteuid()))
                              .arg(QString::fromLatin1(hash)));
}

SingleInstance::Role SingleInstance::claim(int waitMs) {
    // Two copies started at once must not both decide that nobody runs.
    const QString folder = QFileInfo(name_).absolutePath();
    FolderLock lock(folder);
    if (QString reason; !lock.lock(LockWaitMs, reason)) {
        qCWarning(lcDesktop) << "single instance: cannot lock" << folder << ":" << reason;
        return Role::Alone;
    }

    // Only a socket of this user is asked: another user's socket, or a link to one, could be
    // planted to make this start end without a window.
    struct stat st {};
    if (::lstat(QFile::encodeName(name_).constData(), &st) == 0 &&
        (S_ISLNK(st.st_mode) || st.st_uid != ::geteuid())) {
        qCWarning(lcDesktop) << "single instance:" << name_ << "is not a socket of this user; not using it";
        return Role::Alone;
    }

    // One deadline for the whole exchange: a peer that answers a byte at a time cannot stretch it.
    const QDeadlineTimer deadline(waitMs);
    const auto remaining = [&deadline] { return int(std::max<qint64>(0, deadline.remainingTime())); };
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (socket.waitForConnected(remaining())) {
        socket.write(Activate);
        socket.waitForBytesWritten(remaining());
        // A copy that hangs still owns the settings file: end all the same, but say so.
        bool answered = false;
        QByteArray reply;
        while (!answered && !deadline.hasExpired() && reply.size() < MaxMessage &&
               socket.waitForReadyRead(remaining())) {
            reply += socket.read(MaxMessage);
            answered = reply.contains(Done);
        }
        if (answered)
            qCDebug(lcDesktop) << "single instance: the running copy came to the front";
        else
            qCWarning(lcDesktop) << "single instance: the running copy did not answer within" << waitMs
                                 << "ms";
        return Role::Secondary;
    }

    // Nobody answers: no socket at all, or one left behind by a copy that crashed.
    QLocalServer::removeServer(name_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(name_)) {
        qCWarning(lcDesktop) << "single instance: cannot listen on" << name_ << ":" << server_.errorString();
        return Role::Alone;
    }
    qCDebug(lcDesktop) << "single instance: listening on" << server_.fullServerName();
    return Role::Primary;
}

void SingleInstance::onNewConnection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (connections_ >= MaxConnections) {
            qCWarning(lcDesktop) << "single instance: too many connections; refusing one";
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++connections_;
        connect(socket, &QObject::destroyed, this, [this] { --connections_; });
        socket->setReadBufferSize(MaxMessage);
        auto* idle = new QTimer(socket);
        idle->setSingleShot(true);
        connect(idle, &QTimer::timeout, socket, [socket] {
            qCDebug(lcDesktop) << "single instance: dropping an idle connection";
            socket->abort();
            socket->deleteLater();
        });
        idle->start(IdleMs);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() >= MaxMessage) {
                    qCWarning(lcDesktop) << "single instance: dropping a connection that sent no request";
                    socket->abort();
                    socket->deleteLater();
                }
                return;
            }
            const QByteArray line = socket->readLine();
            if (line == Activate) {
                qCDebug(lcDesktop) << "single instance: a later start asks for the window";
                socket->write(Done);
                socket->flush();
                emit activationRequested();
            }
            socket->disconnectFromServer();
        });
    }
}
