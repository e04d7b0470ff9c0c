#pragma once
#include <QString>
#include <QStringView>

// The key two channel names are compared by. Playlists write one channel many ways: in another
// letter case, with Latin letters that look like Cyrillic ones ("TНТ", "Poccия"), with quotes,
// "&" for "и", a quality or time-zone suffix ("HD", "FHD", "+0") or a country in brackets
// ("НТВ (Россия)"). All of these give the same key; different channels keep different keys.
QString ChannelNameKey(QStringView name);
