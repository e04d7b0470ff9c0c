#pragma once
#include <QString>

// What minimising the main window leads to, from the tray mode held by the settings window.
enum class MinimizeAction {
    HideToTray,     // leave only the tray icon
    Taskbar,        // stay minimised with a taskbar entry
    PlatformDefault // do nothing beyond what the platform did
};

// Mode "1" hides the window only when a notification area exists to bring it back from; without
// one the window would be unreachable, so it stays on the taskbar instead.
MinimizeAction DecideMinimize(const QString& trayMode, bool trayAvailable);
// The tray icon is shown for mode "1" exactly.
bool WantsTrayIcon(const QString& trayMode);
