#pragma once
#include <QSize>
#include <Qt>

class QWidget;

// The common frame of the secondary windows: top-level, fixed client size, no title text, no
// maximise button; closing one never ends the program (only the main window does).
void SetUpSecondaryWindow(QWidget& window, QSize clientSize, Qt::WindowFlags extraButtons = {});
// Centres window's client area over mainWindow and makes it transient for it (when it has a
// native window). Does nothing without a main window.
void PlaceOverMainWindow(QWidget& window, const QWidget* mainWindow);
// Restores window if minimised, shows it and brings it to the front.
void ShowInFront(QWidget& window);
