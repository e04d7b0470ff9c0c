#pragma once
#include "tv/ProgrammeGuide.h"

#include <QString>

#include <optional>

// The programme page of one channel: what is on now, what comes next and the rest of today, in
// local time. Nothing when the guide has no programme left for today (an outdated guide): then
// the usual page is shown.
std::optional<QString> GuidePageHtml(const QString& channel, const std::vector<Programme>& programmes,
                                     qint64 nowMs);
