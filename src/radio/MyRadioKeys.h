#pragma once
#include <QString>

// Where the user's own stations (My Radio) are kept in Setting.ini: for each slot 1..kSlots a name
// and a link, and in a second section, under the link's key, the song-title encoding chosen for it.
namespace MyRadioKeys {
inline constexpr int kSlots = 9;
QString Section();
QString EncodingSection();
QString NameKey(int slot); // "MyRNa" .. "MyRNi"
QString LinkKey(int slot); // "MyRa" .. "MyRi"
} // namespace MyRadioKeys
