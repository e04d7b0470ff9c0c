#include "tv/NowNext.h"

#include <algorithm>

NowNext NowNext::at(const std::vector<Programme>* programmes, qint64 nowMs) {
    NowNext out;
    if (!programmes)
        return out;
    // The first programme still running or to come.
    const auto it = std::find_if(programmes->begin(), programmes->end(),
                                 [nowMs](const Programme& p) { return p.stop > nowMs; });
    if (it == programmes->end())
        return out;
    if (it->start <= nowMs) {
        out.now = &*it;
        if (std::next(it) != programmes->end())
            out.next = &*std::next(it);
    } else {
        out.next = &*it;
    }
    return out;
}
