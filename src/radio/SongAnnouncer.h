#pragma once
#include "radio/RadioStatus.h"

#include <optional>

// Decides when a new song is worth a desktop notification: once per title, as soon as the station
// is heard. A title that arrives while the station is still connecting is announced when the sound
// starts, not lost.
class SongAnnouncer {
public:
    struct Announcement {
        QString summary; // the station, or fallback when it has no name
        QString body;    // the song
    };
    // Feed every status the player reports; an announcement when one is due.
    std::optional<Announcement> next(const RadioStatus& status, const QString& fallback);

private:
    QString announced_;
};
