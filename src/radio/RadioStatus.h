#pragma once
#include "platform/LangLookup.h"

#include <QString>

// What the radio is doing, as the listener is told: one short line, never a message box.
struct RadioStatus {
    enum class State {
        Off,          // nothing chosen, or the radio was turned off
        LookingUp,    // a station was chosen and its stream is being looked up in the directory
        Connecting,   // a station was chosen and is being opened
        Playing,      // sound
        Reconnecting, // the stream dropped after playing; tries again by itself
        NoConnection, // the station could not be reached at all
        Ended,        // the stream ended and will not be tried again
    };
    // Why the station cannot be heard, as far as a look at its server tells.
    enum class Cause {
        Unknown,     // not looked at (yet), or nothing the server's answer explains
        HostUnknown, // the server's name does not resolve
        Refused,     // nothing listens at its address
        Tls,         // the secure connection failed
        Http,        // the server answered with an error code (httpCode)
        Timeout,     // the server does not answer in time
    };
    State state = State::Off;
    int attempt = 0; // while reconnecting: the number of the try under way (1, 2, ...)
    int retryIn = 0; // while reconnecting: seconds until the next try; 0 while one is under way
    Cause cause = Cause::Unknown;
    int httpCode = 0;
    QString station; // the station's name, where known
    QString title;   // the song as the stream names it, decoded
    QString reason;  // why it failed, from the engine (for the log and tooltips)

    bool operator==(const RadioStatus&) const = default;

    bool audible() const { return state == State::Playing; }
    // Sound is wanted: playing, or on the way to it.
    bool active() const {
        return state == State::LookingUp || state == State::Connecting || state == State::Playing ||
               state == State::Reconnecting;
    }
};

// The short state word or phrase ("Переподключение (2)", "Переподключение через 2 с"), from the
// language pack where it has one.
QString radioStateText(const RadioStatus& status, const LangLookup& lang = {});
// Why it failed, in words ("соединение отклонено", "ошибка HTTP 503"); the engine's own words when
// the cause is not known; empty when nothing failed.
QString radioCauseText(const RadioStatus& status, const LangLookup& lang = {});
// "Station — Title", or whichever of the two is known.
QString nowPlayingText(const RadioStatus& status);
// Both, for a tooltip or the tray: the now-playing text and, unless it is plain playing, the state.
QString radioSummary(const RadioStatus& status, const LangLookup& lang = {});
