#pragma once
#include "navigation/ChannelEntry.h"

#include <vector>

// The two built-in lists, in list order; available from program start without any loading step.
const std::vector<ChannelEntry>& MainCatalog();
const std::vector<ChannelEntry>& FavoriteCatalog();

// The programme page of entries that have none of their own.
inline const QString NoProgrammeGuide = QStringLiteral("channel\\tv-program\\noprogramm.html");
