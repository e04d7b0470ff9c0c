#pragma once
#include <QIcon>

// Pictures of the radio buttons, drawn at run time so no image files are needed. The record,
// stop-recording and radio-off buttons of the main window and of the mini radio share them.
namespace RadioIcons {
QIcon record();
QIcon stopRecording();
QIcon radioOff();
QIcon backToMain();
QIcon search();
} // namespace RadioIcons
