#pragma once
#include <QString>

// What the record and stop buttons need from the player; the windows depend on this, not on the
// audio back end, so they can be driven without sound.
class RadioRecorder {
public:
    virtual ~RadioRecorder() = default;
    // False with a reason when no encoder could be attached.
    virtual bool StartRecording(const QString& name, QString* error) = 0;
    virtual void StopRecording() = 0;
    // The folder recordings are written into, and the playing station's name (for the name a
    // recording is first offered under); empty when unknown.
    virtual QString recordingFolder() const { return {}; }
    virtual QString stationName() const { return {}; }
};
