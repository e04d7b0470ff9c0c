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
template <typename T> class QFutureWatcher;

// One station as the community radio directory lists it.
struct DirectoryStation {
    QString name;
    QString url; // the stream itself where the directory resolved it, else the address given
    QString country;
    QString countryCode;
    QString codec;
    int bitrate = 0; // kbit/s, 0 when unknown
    int clicks = 0;
    int votes = 0;
    bool lastCheckOk = true; // the directory's own last check of the stream succeeded
    QString uuid;            // the directory's id of the station (for its click count)
    QString favicon;         // the station's logo, an http(s) address or empty
};

struct DirectoryQuery {
    QString name;
    QString countryCode;
    QString tag;
    int limit = 100;
};

// The community radio directory's JSON API: a search, or the most-clicked stations of some
// countries. Asynchronous and bounded: an answer is read up to a size that follows the number of
// stations asked for, and parsed on a worker thread; a failure ends in failed() with a sentence
// for the user.
class StationDirectory : public QObject {
    Q_OBJECT
public:
    // servers: the servers to use, separated by spaces or commas ("host" or a full
    // "http(s)://host:port" base each), tried in turn when one fails; empty to find the servers
    // through DNS, as the directory asks its clients to.
    explicit StationDirectory(const QString& servers = {}, QObject* parent = nullptr);
    ~StationDirectory() override;

    // order: the directory's sort field, highest first ("clickcount", "votes").
    void search(const DirectoryQuery& query, const QString& order = QStringLiteral("clickcount"));
    // The first screen: the stations listened to most in each country, in the order given.
    void mostClicked(const QStringList& countryCodes, int perCountry);
    void cancel();
    bool busy() const;
    // Tells the directory that the station with this id is being played, as it asks every client
    // to do: it counts listeners that way. Fire and forget; a failure is only logged.
    void click(const QString& stationUuid);

    // Turns the directory's JSON answer into stations, at most maxStations of them; false when it
    // is not a station list. Stations without a name or without an http(s) stream are left out.
    static bool parseStations(const QByteArray& json, QList<DirectoryStation>* out, int maxStations = 100000);
    static QUrl searchUrl(const QUrl& base, const DirectoryQuery& query, const QString& order = {});
    static QUrl clickUrl(const QUrl& base, const QString& stationUuid);
    // The most an answer for this many stations may weigh: far above what the directory sends.
    static qint64 replyLimit(int stations);
    static constexpr int kTimeoutMs = 15000;

signals:
    void finished(const QList<DirectoryStation>& stations);
    void failed(const QString& reason);

private:
    struct Request {
        DirectoryQuery query;
        QString order;
    };
    struct Parsed {
        bool ok = false;
        QList<DirectoryStation> stations;
    };
    void start(QList<Request> requests);
    void sendNext();
    void onReply(QNetworkReply* reply);
    void onParsed(int generation, const Parsed& parsed);
    void failOver(const QString& reason);
    void fail(const QString& reason);
    QUrl currentServer() const;

    QList<QUrl> fixedServers_;
    QList<QUrl> servers_; // the fixed ones, or those found through DNS, in the order to try
    bool serversKnown_ = false;
    // The server that answered last: each request starts there, so a server that works keeps
    // being used; when it fails, the next ones are tried, each once per request.
    int serverIndex_ = 0;
    int triesLeft_ = 0; // servers still to try for the request under way
    std::unique_ptr<QNetworkAccessManager> network_;
    QDnsLookup* dns_ = nullptr;
    QNetworkReply* reply_ = nullptr;
    QByteArray body_;
    QFutureWatcher<Parsed>* parsing_ = nullptr;
    QList<Request> pending_;
    QList<DirectoryStation> collected_;
    int generation_ = 0;
};
Q_DECLARE_METATYPE(DirectoryStation)
