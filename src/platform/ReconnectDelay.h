#pragma once
#include <algorithm>

// The pause before reconnect try n (1, 2, ...) of a live TV channel that dropped:
// one unit, then 2, 4, ... units, at most 30.
inline int reconnectDelayMs(int attempt, int unitMs = 1000) {
    constexpr int kMaxUnits = 30;
    const int step = std::clamp(attempt, 1, 16) - 1;
    return unitMs * std::min(1 << step, kMaxUnits);
}
