#pragma once
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QDnsLookup;

// One station as the community radio directory lists it.
struct DirectoryStation {
    QString name;
    QString url; // the stream itself where the directory resolved it, else the address given
    QString country;
    QString countryCode;
    QString codec;
    int bitrate = 0; // kbit/s, 0 when unknown
    int clicks = 0;
};

struct DirectoryQuery {
    QString name;
    QString countryCode;
    QString tag;
    int limit = 100;
};

// The community radio directory's JSON API: a search, or the most-clicked stations of some
// countries. Asynchronous and bounded; a failure ends in failed() with a sentence for the user.
class StationDirectory : public QObject {
    Q_OBJECT
public:
    // server: one server to use ("host" or a full "http(s)://host:port" base); empty to find the
    // servers through DNS, as the directory asks its clients to.
    explicit StationDirectory(const QString& server = {}, QObject* parent = nullptr);
    ~StationDirectory() override;

    void search(const DirectoryQuery& query);
    // The first screen: the stations listened to most in each country, in the order given.
    void mostClicked(const QStringList& countryCodes, int perCountry);
    void cancel();
    bool busy() const;

    // Turns the directory's JSON answer into stations; false when it is not a station list.
    static bool parseStations(const QByteArray& json, QList<DirectoryStation>* out);
    static QUrl searchUrl(const QUrl& base, const DirectoryQuery& query, const QString& order = {});
    static constexpr int kTimeoutMs = 15000;

signals:
    void finished(const QList<DirectoryStation>& stations);
    void failed(const QString& reason);

private:
    struct Request {
        DirectoryQuery query;
        QString order;
    };
    void start(QList<Request> requests);
    void withServer();
    void sendNext();
    void onReply(QNetworkReply* reply);
    void fail(const QString& reason);

    QString fixedServer_;
    QList<QUrl> servers_; // found through DNS, in the order to try
    bool serversKnown_ = false;
    int serverIndex_ = 0;
    std::unique_ptr<QNetworkAccessManager> network_;
    QDnsLookup* dns_ = nullptr;
    QNetworkReply* reply_ = nullptr;
    QList<Request> pending_;
    QList<DirectoryStation> collected_;
    int generation_ = 0;
};
Q_DECLARE_METATYPE(DirectoryStation)
