#pragma once
#include "navigation/ChannelDispatcher.h"
#include "radio/RadioStatus.h"
#include "radio/StationChoice.h"
#include "radio/StationDirectory.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

class RadioPlayer;
class SettingsFile;

// What was found for a station, kept in Setting.ini between runs.
struct ResolvedStation {
    QString url;
    QString uuid;
    QString logo;
    QDateTime time; // UTC
};

// The catalog's radio stations play through the station directory: a station is looked up by its
// directory name (its country first), the working stream with the most votes is chosen and kept,
// the kept address is used from then on and looked up again when it fails. Every other address
// goes to the radio as it is. Lookups never block the window's thread; the radio's status says
// that the station is being looked up.
class BuiltInStations : public QObject, public StreamPlayer {
    Q_OBJECT
public:
    // servers: [Directory] server= (empty: the directory's own servers, found through DNS).
    BuiltInStations(RadioPlayer& radio, SettingsFile& settings, const QString& servers,
                    QObject* parent = nullptr);
    ~BuiltInStations() override;

    void PlayStream(const QByteArray& url) override;

    // The logo the directory gives for the station chosen last, where it gives one.
    QUrl currentLogo() const;

    static const QList<StationAlias>& aliases();
    // The alias of the catalog's station that has this stream address, if it is one.
    static const StationAlias* aliasForStream(const QByteArray& catalogStream);
    static const StationAlias* aliasForName(const QString& catalogName);
    static QString section();
    std::optional<ResolvedStation> cached(const StationAlias& alias) const;
    // A kept address older than this is looked up again before it is played.
    static constexpr int kMaxAgeDays = 30;

private:
    struct Choice {
        const StationAlias* alias = nullptr;
        bool anyCountry = false; // the search without a country is under way
        bool fromCache = false;
        bool retried = false; // a failed kept address was looked up again already
        bool clicked = false;
        QStringList refused; // addresses that failed while this station was chosen
        ResolvedStation playing;
    };
    void lookUp();
    void onFound(const QList<DirectoryStation>& found);
    void onFailed(const QString& reason);
    void play(const ResolvedStation& station, bool fromCache);
    void onStatus(const RadioStatus& status);
    void store(const StationAlias& alias, const ResolvedStation& station);
    void forget(const StationAlias& alias);

    RadioPlayer& radio_;
    SettingsFile& settings_;
    StationDirectory directory_;
    std::optional<Choice> choice_;
};
