#include "desktop/DesktopNotifier.h"

#include "platform/LogCategories.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

DesktopNotifier::DesktopNotifier(QObject* parent) : QObject(parent) {}

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
} // namespace

QString DesktopNotifier::bodyFor(const QString& text, bool serviceReadsMarkup) {
    return serviceReadsMarkup ? text.toHtmlEscaped() : text;
}

void DesktopNotifier::askCapabilities() {
    markup_ = Markup::Asking;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("GetCapabilities"));
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call, kShowMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QStringList> reply = *w;
        if (reply.isError()) {
            markup_ = Markup::Unknown; // asked again with the next bubble
            return;
        }
        markup_ = reply.value().contains(QStringLiteral("body-markup")) ? Markup::Read : Markup::NotRead;
    });
}

void DesktopNotifier::notify(const QString& summary, const QString& text) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    if (markup_ == Markup::Unknown)
        askCapabilities();
    const QString body = bodyFor(text, markup_ != Markup::NotRead);
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
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
