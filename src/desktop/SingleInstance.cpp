#include "desktop/SingleInstance.h"

#include "platform/LogCategories.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>

#include <unistd.h>

namespace {
const QByteArray Activate = "activate\n";
const QByteArray Done = "ok\n";
// The lock only covers "look for a running copy, else listen": held for well under a second.
constexpr int LockWaitMs = 15000;
constexpr int StaleLockMs = 10000;
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
        .absoluteFilePath(QStringLiteral("zelmo-player-%1-%2")
                              .arg(static_cast<qulonglong>(::geteuid()))
                              .arg(QString::fromLatin1(hash)));
}

SingleInstance::Role SingleInstance::claim(int waitMs) {
    // Two copies started at once must not both decide that nobody runs.
    QLockFile lock(name_ + QStringLiteral(".lock"));
    lock.setStaleLockTime(StaleLockMs);
    if (!lock.tryLock(LockWaitMs)) {
        qCWarning(lcDesktop) << "single instance: cannot lock" << lock.fileName() << "error" << lock.error();
        return Role::Alone;
    }

    QLocalSocket socket;
    socket.connectToServer(name_);
    if (socket.waitForConnected(waitMs)) {
        socket.write(Activate);
        socket.waitForBytesWritten(waitMs);
        // A copy that hangs still owns the settings file: end all the same, but say so.
        bool answered = false;
        while (!answered && socket.waitForReadyRead(waitMs))
            answered = socket.readAll().contains(Done);
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
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
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
