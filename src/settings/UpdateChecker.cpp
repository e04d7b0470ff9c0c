#include "settings/UpdateChecker.h"

#include "platform/LogCategories.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <memory>

namespace {
bool isSuccess(int status) {
    return status >= 200 && status < 300;
}

QString describe(const HttpResult& r) {
    if (!r.error.isEmpty())
        return r.error;
    return QStringLiteral("HTTP status %1").arg(r.status);
}
} // namespace

UpdateChecker::UpdateChecker(HttpClient& client, QString baseUrl, QObject* parent)
    : QObject(parent), client_(client), baseUrl_(std::move(baseUrl)) {}

UpdateChecker::~UpdateChecker() {
    *alive_ = false;
    if (busy_)
        client_.abort();
}

void UpdateChecker::setBaseUrl(const QString& baseUrl) {
    baseUrl_ = baseUrl;
}

void UpdateChecker::setProxy(const QString& host, int port) {
    client_.setProxy(host, port);
}

bool UpdateChecker::busy() const {
    return busy_;
}

void UpdateChecker::abort() {
    client_.abort();
}

bool UpdateChecker::start(const QString& path, HttpClient::Completion done, HttpBody body) {
    if (busy_)
        return false;
    HttpProgress progress{[this, alive = alive_](qint64 total) {
                              if (*alive)
                                  emit progressBegin(total);
                          },
                          [this, alive = alive_](qint64 bytes) {
                              if (*alive)
                                  emit progressWork(bytes);
                          },
                          [this, alive = alive_] {
                              if (*alive)
                                  emit progressEnd();
                          }};
    busy_ = true;
    const bool started = client_.get(
        QUrl(baseUrl_ + path), std::move(progress),
        [this, alive = alive_, done](const HttpResult& r) {
            if (!*alive)
                return;
            busy_ = false;
            done(r);
        },
        std::move(body));
    if (!started)
        busy_ = false;
    return started;
}

bool UpdateChecker::check() {
    // The version is a short line; anything much longer is not a version and is not shown.
    return start(
        VersionPath,
        [this](const HttpResult& r) {
            if (!r.completed || !isSuccess(r.status)) {
                emit checkFailed(describe(r));
                return;
            }
            QStringDecoder utf8(QStringDecoder::Utf8);
            emit checked(utf8(r.body));
        },
        HttpBody{MaxVersionBytes, {}});
}

bool UpdateChecker::download(const QString& appDir) {
    const QString target = appDir + InstallerFileName;
    // The installer goes to its temporary file as it arrives and replaces the old one only once it
    // is known to be whole; otherwise the temporary file is dropped with the QSaveFile.
    auto file = std::make_shared<QSaveFile>(target);
    auto unwritable = std::make_shared<bool>(false);
    const auto open = [file, unwritable] {
        if (!file->isOpen() && !file->open(QIODevice::WriteOnly))
            *unwritable = true;
        return !*unwritable;
    };
    HttpBody body;
    body.sink = [file, unwritable, open](QByteArrayView piece) {
        if (!open() || file->write(piece.data(), piece.size()) != piece.size())
            *unwritable = true;
        return !*unwritable;
    };
    return start(
        InstallerPath,
        [this, target, file, unwritable, open](const HttpResult& r) {
            if (*unwritable) {
                qCWarning(lcNetwork) << "cannot write the installer to" << target << ":"
                                     << file->errorString();
                emit saveFailed(QStringLiteral("Unable to write to %1: %2").arg(target, file->errorString()));
                return;
            }
            // A cut-short or refused transfer must not leave a broken installer to be started.
            if (!r.completed || !isSuccess(r.status)) {
                emit downloadFailed(describe(r));
                return;
            }
            // Without an announced length a dropped connection looks like the end. A chunked body
            // would mark its end, but the network stack does not show whether that mark came: it
            // resends a request whose chunked answer was cut and reports the joined pieces as a
            // success. So only an installer of announced length, received whole, is kept.
            if (r.announcedLength < 0) {
                qCWarning(lcNetwork) << "the installer came without an announced length"
                                     << (r.chunked ? "(chunked)" : "");
                emit downloadFailed(QStringLiteral("The server did not say how long the installer is"));
                return;
            }
            if (!open() || !file->commit()) {
                qCWarning(lcNetwork) << "cannot write the installer to" << target << ":"
                                     << file->errorString();
                emit saveFailed(QStringLiteral("Unable to write to %1: %2").arg(target, file->errorString()));
                return;
            }
            QFile::setPermissions(target,
                                  QFile::permissions(target) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
            emit downloaded(target);
        },
        std::move(body));
}
