#pragma once
#include <QByteArray>
#include <QByteArrayView>

// Windows-1251, the Cyrillic code page of Windows: what playlists saved by older Windows tools are
// written in.
namespace Cp1251 {
QByteArray toUtf8(QByteArrayView bytes);
}
