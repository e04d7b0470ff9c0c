#pragma once
#include "tv/ProgrammeGuide.h"

#include <vector>

// What a channel's guide has on at a moment and right after it; either may be missing.
struct NowNext {
    const Programme* now = nullptr;
    const Programme* next = nullptr;

    // programmes sorted by start, as the guide keeps them.
    static NowNext at(const std::vector<Programme>* programmes, qint64 nowMs);
};
