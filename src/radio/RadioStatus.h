#pragma once
#include "platform/LangLookup.h"

#include <QString>

// What the radio is doing, as the listener is told: one short line, never a message box.
struct RadioStatus {
    enum class State {
        Off,          // nothing chosen, or the radio was turned off
        Connecting,   // a station was chosen and is being opened
        Playing,      // sound
        Reconnecting, // the stream dropped after playing; tries again by itself
        NoConnection, // the station could not be reached at all
        Ended,        // the stream ended and will not be tried again
    };
    State state = State::Off;
    int attempt = 0; // while reconnecting: the number of the try under way (1, 2, ...)
    QString station; // the station's name, where known
    QString title;   // the song as the stream names it, decoded
    QString reason;  // why it failed, from the engine (for the log and tooltips)

    bool operator==(const RadioStatus&) const = default;

    bool audible() const { return state == State::Playing; }
    // Sound is wanted: playing, or on the way to it.
    bool active() const {
        return state == State::Connecting || state == State::Playing || state == State::Reconnecting;
    }
};

// The short state word or phrase ("Переподключение (2)"), from the language pack where it has one.
QString radioStateText(const RadioStatus& status, const LangLookup& lang = {});
// "Station — Title", or whichever of the two is known.
QString nowPlayingText(const RadioStatus& status);
// Both, for a tooltip or the tray: the now-playing text and, unless it is plain playing, the state.
QString radioSummary(const RadioStatus& status, const LangLookup& lang = {});
