#pragma once
#include "platform/MessageSink.h"
#include "radio/RadioRecorder.h"

#include <QStringList>

struct FakeMessages : MessageSink {
    QStringList shown;
    void show(const QString& text) override { shown << text; }
};

// Records what the windows asked of the player; refuses to record when told to.
struct FakeRecorder : RadioRecorder {
    QStringList started;
    int stops = 0;
    QString refusal; // non-empty: StartRecording fails with this reason
    bool StartRecording(const QString& name, QString* error) override {
        if (!refusal.isEmpty()) {
            *error = refusal;
            return false;
        }
        started << name;
        return true;
    }
    void StopRecording() override { ++stops; }
    QString station; // what stationName() answers
    QString folder;
    QString stationName() const override { return station; }
    QString recordingFolder() const override { return folder; }
};
