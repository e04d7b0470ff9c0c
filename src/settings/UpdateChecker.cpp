#include "settings/UpdateChecker.h"

#include "platform/QtHttpClient.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

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

UpdateChecker::UpdateChecker(std::unique_ptr<HttpClient> client, QString baseUrl, QObject* parent)
    : QObject(parent), client_(client ? std::move(client) : std::make_unique<QtHttpClient>()),
      baseUrl_(std::move(baseUrl)) {}

UpdateChecker::~UpdateChecker() = default;

void UpdateChecker::setBaseUrl(const QString& baseUrl) {
    baseUrl_ = baseUrl;
}

void UpdateChecker::setProxy(const QString& host, int port) {
    client_->setProxy(host, port);
}

bool UpdateChecker::busy() const {
    return busy_;
}

void UpdateChecker::abort() {
    client_->abort();
}

bool UpdateChecker::start(const QString& path, HttpClient::Completion done) {
    if (busy_)
        return false;
    HttpProgress progress{[this](qint64 total) { emit progressBegin(total); },
                          [this](qint64 bytes) { emit progressWork(bytes); }, [this] { emit progressEnd(); }};
    busy_ = true;
    const bool started =
        client_->get(QUrl(baseUrl_ + path), std::move(progress), [this, done](const HttpResult& r) {
            busy_ = false;
            done(r);
        });
    if (!started)
        busy_ = false;
    return started;
}

bool UpdateChecker::check() {
    return start(VersionPath, [this](const HttpResult& r) {
        if (!r.completed || !isSuccess(r.status)) {
            emit checkFailed(describe(r));
            return;
        }
        QStringDecoder utf8(QStringDecoder::Utf8);
        emit checked(utf8(r.body));
    });
}

bool UpdateChecker::download(const QString& appDir) {
    const QString target = appDir + InstallerFileName;
    return start(InstallerPath, [this, target](const HttpResult& r) {
        // A cut-short or refused transfer must not leave a broken installer to be started.
        if (!r.completed || !isSuccess(r.status)) {
            emit downloadFailed(describe(r));
            return;
        }
        if (r.announcedLength >= 0 && r.body.size() != r.announcedLength) {
            emit downloadFailed(
                QStringLiteral("Received %1 of %2 bytes").arg(r.body.size()).arg(r.announcedLength));
            return;
        }
        QSaveFile file(target);
        if (!file.open(QIODevice::WriteOnly) || file.write(r.body) != r.body.size() || !file.commit()) {
            emit saveFailed(QStringLiteral("Unable to write to %1: %2").arg(target, file.errorString()));
            return;
        }
        QFile::setPermissions(target,
                              QFile::permissions(target) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
        emit downloaded(target);
    });
}
