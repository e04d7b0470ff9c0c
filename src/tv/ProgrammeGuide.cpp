#include "tv/ProgrammeGuide.h"

#include "tv/ChannelName.h"

#include <algorithm>

const std::vector<Programme>* ProgrammeGuide::find(const QString& tvgId, const QStringList& names) const {
    if (!tvgId.isEmpty())
        if (const auto it = programmes_.constFind(tvgId); it != programmes_.cend())
            return &*it;
    for (const QString& name : names) {
        if (name.isEmpty())
            continue;
        const auto id = idByName_.constFind(ChannelNameKey(name));
        if (id == idByName_.cend())
            continue;
        if (const auto it = programmes_.constFind(*id); it != programmes_.cend())
            return &*it;
    }
    return nullptr;
}

qsizetype ProgrammeGuide::programmeCount() const {
    qsizetype n = 0;
    for (const auto& list : programmes_)
        n += qsizetype(list.size());
    return n;
}

void ProgrammeGuide::finish() {
    for (auto& list : programmes_) {
        std::sort(list.begin(), list.end(),
                  [](const Programme& a, const Programme& b) { return a.start < b.start; });
        // A programme without its own end lasts until the next one (the last: an hour).
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i].stop <= list[i].start)
                list[i].stop = i + 1 < list.size() ? list[i + 1].start : list[i].start + 3600 * 1000;
        list.shrink_to_fit();
    }
    // Names of channels without a programme point nowhere useful.
    for (auto it = idByName_.begin(); it != idByName_.end();)
        it = programmes_.contains(*it) ? std::next(it) : idByName_.erase(it);
}
