#include "desktop/AccessibilityStatus.h"

#include "platform/LogCategories.h"

#include <QDBusConnection>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QVariantMap>

namespace {
constexpr int kReplyTimeoutMs = 250;
constexpr char kWebAccessibilityVariable[] = "QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY";
} // namespace

bool DesktopAccessibilityEnabled() {
    if (qEnvironmentVariableIntValue("QT_LINUX_ACCESSIBILITY_ALWAYS_ON") > 0)
        return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("GetAll"));
    get << QStringLiteral("org.a11y.Status");
    // Not running means not wanted: asking must not start the service.
    get.setAutoStartService(false);
    const QDBusMessage reply = bus.call(get, QDBus::Block, kReplyTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        qCDebug(lcDesktop) << "accessibility status not known:" << reply.errorMessage();
        return false;
    }
    const QVariantMap status = qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    return status.value(QStringLiteral("IsEnabled")).toBool() ||
           status.value(QStringLiteral("ScreenReaderEnabled")).toBool();
}

void EnableWebAccessibilityIfWanted() {
    if (qEnvironmentVariableIsSet(kWebAccessibilityVariable))
        return; // the user decided
    if (DesktopAccessibilityEnabled()) {
        qputenv(kWebAccessibilityVariable, "1");
        qCInfo(lcDesktop) << "screen reader support on: web pages are exposed";
    }
}
