#include "radio/BuiltInStations.h"

#include "navigation/ChannelCatalog.h"
#include "platform/LogCategories.h"
#include "radio/RadioPlayer.h"
#include "settings/SettingsFile.h"

#include <QFile>

#include <algorithm>

namespace {
constexpr int kSearchLimit = 30;

bool isWebAddress(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

QList<StationAlias> readAliases() {
    QList<StationAlias> out;
    QFile file(QStringLiteral(":/radio/builtin-stations.tsv"));
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcAudio) << "built-in stations: alias table missing:" << file.errorString();
        return out;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f.size() != 5) {
            qCWarning(lcAudio) << "built-in stations: alias line skipped:" << line;
            continue;
        }
        StationAlias a;
        a.key = f[0].trimmed();
        a.catalogName = f[1];
        a.country = f[2].trimmed() == QLatin1String("-") ? QString() : f[2].trimmed().toUpper();
        a.search = f[3].trimmed();
        for (const QString& n : f[4].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            a.names << n.trimmed();
        out << a;
    }
    return out;
}
} // namespace

BuiltInStations::BuiltInStations(RadioPlayer& radio, SettingsFile& settings, const QString& servers,
                                 QObject* parent)
    : QObject(parent), radio_(radio), settings_(settings), directory_(servers) {
    connect(&directory_, &StationDirectory::finished, this, &BuiltInStations::onFound);
    connect(&directory_, &StationDirectory::failed, this, &BuiltInStations::onFailed);
    connect(&radio_, &RadioPlayer::statusChanged, this, &BuiltInStations::onStatus);
}

BuiltInStations::~BuiltInStations() = default;

const QList<StationAlias>& BuiltInStations::aliases() {
    static const QList<StationAlias> table = readAliases();
    return table;
}

const StationAlias* BuiltInStations::aliasForName(const QString& catalogName) {
    const QString wanted = catalogName.simplified();
    for (const StationAlias& a : aliases())
        if (a.catalogName.simplified() == wanted)
            return &a;
    return nullptr;
}

const StationAlias* BuiltInStations::aliasForStream(const QByteArray& catalogStream) {
    const QByteArray wanted = catalogStream.trimmed();
    if (wanted.isEmpty())
        return nullptr;
    for (const ChannelEntry& e : MainCatalog())
        if (e.isRadio() && e.Stream.trimmed() == wanted)
            return aliasForName(e.Name);
    return nullptr;
}

QString BuiltInStations::section() {
    return QStringLiteral("StationStreams");
}

std::optional<ResolvedStation> BuiltInStations::cached(const StationAlias& alias) const {
    ResolvedStation r;
    r.url = settings_.ReadString(section(), alias.key + QStringLiteral(".url"), QString()).trimmed();
    if (!isWebAddress(r.url))
        return std::nullopt;
    r.uuid = settings_.ReadString(section(), alias.key + QStringLiteral(".uuid"), QString()).trimmed();
    r.logo = settings_.ReadString(section(), alias.key + QStringLiteral(".logo"), QString()).trimmed();
    if (!isWebAddress(r.logo))
        r.logo.clear();
    r.time = QDateTime::fromString(
        settings_.ReadString(section(), alias.key + QStringLiteral(".time"), QString()), Qt::ISODate);
    if (!r.time.isValid() || r.time.daysTo(QDateTime::currentDateTimeUtc()) > kMaxAgeDays)
        return std::nullopt;
    return r;
}

void BuiltInStations::store(const StationAlias& alias, const ResolvedStation& station) {
    try {
        settings_.WriteString(section(), alias.key + QStringLiteral(".url"), station.url);
        settings_.WriteString(section(), alias.key + QStringLiteral(".uuid"), station.uuid);
        settings_.WriteString(section(), alias.key + QStringLiteral(".logo"), station.logo);
        settings_.WriteString(section(), alias.key + QStringLiteral(".time"),
                              station.time.toUTC().toString(Qt::ISODate));
    } catch (const SettingsWriteError& e) {
        qCWarning(lcSettings) << "built-in stations: not kept:" << e.what();
    }
}

void BuiltInStations::forget(const StationAlias& alias) {
    try {
        settings_.WriteString(section(), alias.key + QStringLiteral(".url"), QString());
    } catch (const SettingsWriteError& e) {
        qCWarning(lcSettings) << "built-in stations: not forgotten:" << e.what();
    }
}

void BuiltInStations::PlayStream(const QByteArray& url) {
    directory_.cancel();
    choice_.reset();
    const StationAlias* alias = aliasForStream(url);
    if (!alias) {
        radio_.PlayStream(url);
        return;
    }
    choice_.emplace();
    choice_->alias = alias;
    if (const std::optional<ResolvedStation> kept = cached(*alias)) {
        play(*kept, true);
        return;
    }
    lookUp();
}

QUrl BuiltInStations::currentLogo() const {
    return choice_ ? QUrl(choice_->playing.logo) : QUrl();
}

void BuiltInStations::lookUp() {
    const StationAlias& a = *choice_->alias;
    radio_.showLookup(a.catalogName.simplified());
    DirectoryQuery query;
    query.name = a.search;
    query.countryCode = choice_->anyCountry ? QString() : a.country;
    query.limit = kSearchLimit;
    directory_.search(query, QStringLiteral("votes"));
}

void BuiltInStations::onFound(const QList<DirectoryStation>& found) {
    if (!choice_)
        return;
    const StationAlias& a = *choice_->alias;
    const std::optional<DirectoryStation> best = PickStation(found, a, choice_->refused);
    if (!best) {
        if (!choice_->anyCountry && !a.country.isEmpty()) {
            choice_->anyCountry = true; // listed abroad, perhaps
            lookUp();
            return;
        }
        qCInfo(lcAudio) << "built-in stations:" << a.catalogName.simplified() << "not in the directory";
        choice_.reset();
        radio_.lookupFailed(QStringLiteral("not in the station directory"));
        return;
    }
    const ResolvedStation station{best->url, best->uuid, best->favicon, QDateTime::currentDateTimeUtc()};
    qCInfo(lcAudio) << "built-in stations:" << a.catalogName.simplified() << "is" << best->name << best->url;
    store(a, station);
    play(station, false);
}

void BuiltInStations::onFailed(const QString& reason) {
    if (!choice_)
        return;
    qCInfo(lcAudio) << "built-in stations: lookup failed:" << reason;
    choice_.reset();
    radio_.lookupFailed(reason);
}

void BuiltInStations::play(const ResolvedStation& station, bool fromCache) {
    choice_->playing = station;
    choice_->fromCache = fromCache;
    choice_->clicked = false;
    radio_.playStation(choice_->alias->catalogName.simplified(), station.url.toUtf8());
}

void BuiltInStations::onStatus(const RadioStatus& status) {
    if (!choice_ || status.state == RadioStatus::State::LookingUp)
        return;
    // Another station, or the radio turned off: this choice is over.
    if (status.state == RadioStatus::State::Off || radio_.currentUrl() != choice_->playing.url.toUtf8()) {
        directory_.cancel();
        choice_.reset();
        return;
    }
    if (status.state == RadioStatus::State::Playing && !std::exchange(choice_->clicked, true)) {
        directory_.click(choice_->playing.uuid);
        return;
    }
    if (status.state == RadioStatus::State::NoConnection && choice_->fromCache && !choice_->retried) {
        // The kept address no longer plays: the directory may know the station's new one.
        qCInfo(lcAudio) << "built-in stations: kept address failed:" << choice_->playing.url;
        forget(*choice_->alias);
        choice_->retried = true;
        choice_->refused << choice_->playing.url;
        choice_->anyCountry = false;
        choice_->playing = {};
        // Not from within the radio's own signal.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (choice_ && choice_->playing.url.isEmpty())
                    lookUp();
            },
            Qt::QueuedConnection);
    }
}
