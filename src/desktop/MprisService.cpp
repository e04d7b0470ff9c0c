#include "desktop/MprisService.h"

#include "desktop/MprisAdaptors.h"
#include "platform/LogCategories.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>

#include <utility>

namespace {
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
}

MprisService::MprisService(QObject* parent) : QObject(parent) {
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
}

MprisService::~MprisService() {
    if (busName_.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(kObjectPath);
    bus.unregisterService(busName_);
}

bool MprisService::publish() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCInfo(lcDesktop) << "MPRIS: no session bus:" << bus.lastError().message();
        return false;
    }
    if (!bus.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors)) {
        qCInfo(lcDesktop) << "MPRIS: object path taken:" << bus.lastError().message();
        return false;
    }
    QString name = kServiceName;
    if (!bus.registerService(name)) {
        // Another instance has the name; media players then add an instance suffix.
        name = kServiceName + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
        if (!bus.registerService(name)) {
            qCInfo(lcDesktop) << "MPRIS: cannot claim" << name << bus.lastError().message();
            bus.unregisterObject(kObjectPath);
            return false;
        }
    }
    busName_ = name;
    return true;
}

void MprisService::setStatus(Status status) {
    if (status == status_)
        return;
    status_ = status;
    announce(kPlayerInterface, {{QStringLiteral("PlaybackStatus"), playbackStatusText()}});
}

void MprisService::setTrack(const MprisTrack& track) {
    if (track == track_)
        return;
    track_ = track;
    ++trackNumber_;
    announce(kPlayerInterface, {{QStringLiteral("Metadata"), metadata()}});
}

void MprisService::setCanGoNext(bool can) {
    if (std::exchange(canGoNext_, can) != can)
        announce(kPlayerInterface, {{QStringLiteral("CanGoNext"), can}});
}

void MprisService::setCanGoPrevious(bool can) {
    if (std::exchange(canGoPrevious_, can) != can)
        announce(kPlayerInterface, {{QStringLiteral("CanGoPrevious"), can}});
}

void MprisService::setCanPlay(bool can) {
    if (std::exchange(canPlay_, can) != can)
        announce(kPlayerInterface, {{QStringLiteral("CanPlay"), can}});
}

void MprisService::setVolume(double volume) {
    if (qFuzzyCompare(volume + 1.0, volume_ + 1.0))
        return;
    volume_ = volume;
    announce(kPlayerInterface, {{QStringLiteral("Volume"), volume_}});
}

QVariantMap MprisService::metadata() const {
    QVariantMap m;
    m.insert(
        QStringLiteral("mpris:trackid"),
        QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/zelmoplayer/track/%1").arg(trackNumber_))));
    if (!track_.title.isEmpty())
        m.insert(QStringLiteral("xesam:title"), track_.title);
    if (!track_.artist.isEmpty()) {
        // Shells show the artist line; older listeners of this player read the album.
        m.insert(QStringLiteral("xesam:artist"), QStringList{track_.artist});
        m.insert(QStringLiteral("xesam:album"), track_.artist);
    }
    if (track_.artUrl.isValid() && !track_.artUrl.isEmpty())
        m.insert(QStringLiteral("mpris:artUrl"), track_.artUrl.toString());
    if (track_.url.isValid() && !track_.url.isEmpty())
        m.insert(QStringLiteral("xesam:url"), track_.url.toString());
    return m;
}

QString MprisService::playbackStatusText() const {
    return status_ == Status::Playing ? QStringLiteral("Playing") : QStringLiteral("Stopped");
}

void MprisService::announce(const QString& interface, const QVariantMap& changed) {
    if (busName_.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
    signal << interface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}
