#include "desktop/DesktopNotifier.h"

#include "platform/LogCategories.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

DesktopNotifier::DesktopNotifier(QObject* parent) : QObject(parent) {}

void DesktopNotifier::notify(const QString& summary, const QString& body) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << QStringLiteral(ZELMO_NAME) << lastId_ << QStringLiteral(ZELMO_ID) << summary << body
         << QStringList() << QVariantMap() << kShowMs;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kShowMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isError())
            qCInfo(lcDesktop) << "notification not shown:" << reply.error().message();
        else
            lastId_ = reply.value();
    });
}
