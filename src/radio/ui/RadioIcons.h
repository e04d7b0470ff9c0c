#pragma once
#include <QIcon>
#include <QImage>

#include <vector>

// Pictures of the radio buttons, drawn at run time so no image files are needed. The record,
// stop-recording and radio-off buttons of the main window and of the mini radio share them.
namespace RadioIcons {
enum class Motif { Record, StopRecording, RadioOff, BackToMain, Search };

// The picture at each size a button may ask for, painted without the window system: any thread
// may draw it. FromPictures makes the button's icon of it, on the window's thread.
std::vector<QImage> Pictures(Motif motif);
QIcon FromPictures(const std::vector<QImage>& pictures);

QIcon record();
QIcon stopRecording();
QIcon radioOff();
QIcon backToMain();
QIcon search();
} // namespace RadioIcons
