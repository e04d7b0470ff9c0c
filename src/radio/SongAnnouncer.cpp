#include "radio/SongAnnouncer.h"

std::optional<SongAnnouncer::Announcement> SongAnnouncer::next(const RadioStatus& status,
                                                               const QString& fallback) {
    if (status.title.isEmpty() || !status.active()) {
        announced_.clear(); // a new station, or none: its first title is news again
        return std::nullopt;
    }
    if (!status.audible() || status.title == announced_)
        return std::nullopt;
    announced_ = status.title;
    return Announcement{status.station.isEmpty() ? fallback : status.station, status.title};
}
