#pragma once
#include <QIcon>

// Pictures of the radio buttons, drawn at run time so no image files are needed.
namespace RadioIcons {
QIcon record();
QIcon stopRecording();
QIcon radioOff();
QIcon backToMain();
QIcon search();
} // namespace RadioIcons
