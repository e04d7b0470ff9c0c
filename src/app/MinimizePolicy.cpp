#include "app/MinimizePolicy.h"

MinimizeAction DecideMinimize(const QString& trayMode, bool trayAvailable) {
    if (trayMode == QLatin1String("1"))
        return trayAvailable ? MinimizeAction::HideToTray : MinimizeAction::Taskbar;
    if (trayMode == QLatin1String("0"))
        return MinimizeAction::Taskbar;
    return MinimizeAction::PlatformDefault;
}

bool WantsTrayIcon(const QString& trayMode) {
    return trayMode == QLatin1String("1");
}
