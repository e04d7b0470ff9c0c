#pragma once
#include <QIcon>

class QWidget;

// Pictures of the radio buttons, drawn at run time so no image files are needed.
namespace RadioIcons {
QIcon record();
QIcon stopRecording();
QIcon radioOff();
QIcon backToMain();
} // namespace RadioIcons

// Places a window over the centre of another (the main window), as its owner's dialogs are.
void centreOnWindow(QWidget* window, const QWidget* over);
