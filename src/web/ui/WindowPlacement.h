#pragma once
#include <QSize>
#include <Qt>

class QWidget;

// The common frame of the secondary windows: a window owned by its parent (see OwnedWindow.h),
// fixed client size, no title text, no maximise button.
void SetUpSecondaryWindow(QWidget& window, QSize clientSize, Qt::WindowFlags extraButtons = {});
// Centres window's client area over mainWindow. Does nothing without a main window.
void PlaceOverMainWindow(QWidget& window, const QWidget* mainWindow);
// Restores window if minimised, shows it and brings it to the front.
void ShowInFront(QWidget& window);
