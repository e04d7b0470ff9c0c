#pragma once
#include "navigation/SiteUrls.h"
#include "platform/HttpClient.h"

#include <QObject>
#include <QString>

#include <memory>

// The update tab's transfers: fetch the published version text, and download the installer of
// the current release into the program directory. Both run asynchronously through an HttpClient,
// one at a time; the outcome and the progress arrive as Qt signals on the owner's thread.
class UpdateChecker : public QObject {
    Q_OBJECT
public:
    static inline const QString OwnVersion = QStringLiteral(ZELMO_VERSION);
    static inline const QString VersionPath = QStringLiteral("/actual/2.3.txt");
    static inline const QString InstallerPath = QStringLiteral("/data/Zelmo_player.exe");
    static inline const QString InstallerFileName = QStringLiteral("InstalZelmoPlayer.exe");
    // A longer version text is refused rather than shown.
    static constexpr qint64 MaxVersionBytes = 4096;

    // The client outlives the checker; a transfer still running at the checker's end is aborted
    // and reports nothing. baseUrl is scheme and host, no trailing slash.
    explicit UpdateChecker(HttpClient& client, QString baseUrl = SiteUrls::ProjectSite,
                           QObject* parent = nullptr);
    ~UpdateChecker() override;

    // The site of the following transfers: scheme and host, no trailing slash.
    void setBaseUrl(const QString& baseUrl);
    // The proxy of the following transfers; an empty host means none.
    void setProxy(const QString& host, int port);

    // True from the start of a transfer until its outcome signal has been emitted.
    bool busy() const;
    // Both return false and do nothing while a transfer runs.
    bool check();
    bool download(const QString& appDir); // appDir ends with its separator
    // Ends a running transfer; it reports failure and writes nothing.
    void abort();

signals:
    void progressBegin(qint64 total); // announced size in bytes, 0 when unknown
    void progressWork(qint64 done);
    void progressEnd();

    void checked(const QString& publishedVersion); // the whole body, as received, UTF-8
    // A failure of the check, with its reason; a body over MaxVersionBytes is one.
    void checkFailed(const QString& reason);
    // Emitted only when the whole installer arrived and was saved; the file is then complete.
    void downloaded(const QString& path);
    void downloadFailed(const QString& reason); // nothing was written
    // The installer arrived but could not be saved; the message names the path and the reason.
    void saveFailed(const QString& message);

private:
    bool start(const QString& path, HttpClient::Completion done, HttpBody body);

    HttpClient& client_;
    QString baseUrl_;
    bool busy_ = false;
    // Cleared when the checker ends, so that a late callback of the client does nothing.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
