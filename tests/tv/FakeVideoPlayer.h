#pragma once
#include "platform/VideoPlayer.h"

#include <QList>

// Stands in for the GStreamer player where what is under test is what the TV does with its
// statuses: remembers what it was asked to open and reports whatever the test says.
class FakeVideoPlayer : public VideoPlayer {
public:
    using VideoPlayer::play;
    QList<StreamSource> opened;
    int stops = 0;

    void play(const StreamSource& source) override {
        opened << source;
        frameCount_ = 0;
        report(Status::Connecting);
    }
    void stop() override {
        ++stops;
        report(Status::Idle);
    }
    bool waitForStopped(std::chrono::milliseconds) override { return true; }

    // What the real player would say; a failure comes with its reason, Playing with a picture.
    void report(Status status, const QString& reason = {}, int http = 0) {
        reason_ = reason;
        httpStatus_ = http;
        if (status == Status::Playing)
            ++frameCount_;
        if (status_ == status)
            return;
        status_ = status;
        emit statusChanged(status);
    }
};
