#pragma once
#include "radio/RadioPlayer.h"

#include <QString>

// What the record and stop buttons need from the player; the windows depend on this, not on the
// audio back end, so they can be driven without sound.
class RadioRecorder {
public:
    virtual ~RadioRecorder() = default;
    // False with a reason when no encoder could be attached.
    virtual bool StartRecording(const QString& name, QString* error) = 0;
    virtual void StopRecording() = 0;
};

class PlayerRecorder : public RadioRecorder {
public:
    explicit PlayerRecorder(RadioPlayer& player) : player_(player) {}
    bool StartRecording(const QString& name, QString* error) override {
        return player_.StartRecording(name, error);
    }
    void StopRecording() override { player_.StopRecording(); }

private:
    RadioPlayer& player_;
};
