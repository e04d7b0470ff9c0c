#include "platform/ui/WebRendering.h"

#include "platform/LogCategories.h"

#include <QDir>
#include <QFileInfo>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace WebRendering {

bool HasGpuDevice(const QString& devRoot) {
    const QDir dri(devRoot + QStringLiteral("/dri"));
    if (!dri.entryList({QStringLiteral("renderD*"), QStringLiteral("card*")}, QDir::System | QDir::Files)
             .isEmpty())
        return true;
    return QFileInfo::exists(devRoot + QStringLiteral("/nvidiactl"));
}

bool PreferSoftware(const QProcessEnvironment& env, bool hasGpuDevice) {
    for (const char* chosen : {"QT_QUICK_BACKEND", "QMLSCENE_DEVICE", "QSG_RHI_BACKEND"})
        if (!env.value(QLatin1String(chosen)).isEmpty())
            return false;
    const QString forced = env.value(QStringLiteral("LIBGL_ALWAYS_SOFTWARE"));
    if (!forced.isEmpty() && forced != QLatin1String("0") &&
        forced.compare(QLatin1String("false"), Qt::CaseInsensitive) != 0)
        return true;
    return !hasGpuDevice;
}

void ChooseForThisMachine() {
    if (!PreferSoftware(QProcessEnvironment::systemEnvironment(), HasGpuDevice()))
        return;
    qCDebug(lcWeb) << "No graphics device: web views draw in software";
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

} // namespace WebRendering
