#pragma once
#include "navigation/StreamLookup.h"

// Plays an imported channel natively in the main window's view area.
class TvPlayer {
public:
    virtual ~TvPlayer() = default;
    virtual void play(const ImportedStream& stream) = 0;
    // Stops the video and gives the view area back to the web page. Harmless when nothing plays.
    virtual void stop() = 0;
    virtual bool isPlaying() const = 0;
};
