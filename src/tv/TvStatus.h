#pragma once
#include <QString>

class TvScreen;

// What the TV view writes over the picture: the stream's state, the reconnect try under way and,
// for a channel with several entries, which one ("2/3"). Empty while pictures arrive. Texts come
// from the chosen language pack.
QString tvStatusText(const TvScreen& screen);
