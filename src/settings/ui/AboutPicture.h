#pragma once
#include <QPixmap>
#include <QSize>

// The picture of the about tab: the program's logo, drawn rather than shipped as a file.
QPixmap AboutPicture(const QSize& size);
