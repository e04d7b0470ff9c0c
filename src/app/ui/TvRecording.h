#pragma once
#include "platform/StreamRecorder.h"
#include "radio/RadioRecorder.h"

#include <QObject>

#include <functional>
#include <memory>

class RadioPlayer;
class TvScreen;

// The record command for whatever plays: while a TV channel is on screen it records the channel's
// stream as it comes (no re-encoding), otherwise the radio, as always. Same folder, same names,
// never over a file. A TV recording ends with the channel: stopping the TV or choosing another
// channel ends it, its file completed.
class TvRecording : public QObject, public RadioRecorder {
    Q_OBJECT
public:
    // channelName: the channel on screen as the program names it.
    TvRecording(RadioPlayer& radio, TvScreen& tv, std::unique_ptr<StreamRecorder> recorder,
                std::function<QString()> channelName, QObject* parent = nullptr);
    // Waits a bounded time for the last TV recording to complete its file.
    ~TvRecording() override;

    bool StartRecording(const QString& name, QString* error) override;
    void StopRecording() override;
    QString recordingFolder() const override;
    QString stationName() const override;

    bool recordsTv() const { return recorder_->isRecording(); }
    StreamRecorder& streamRecorder() const { return *recorder_; }

signals:
    // A TV recording ended without the stop button: message says why, empty when the channel
    // was left (the stop and record pair goes back to record either way).
    void ended(const QString& message);

private:
    void failed(StreamRecorder::Failure failure, const QString& detail, bool wroteAnything);
    void channelLeft();

    RadioPlayer& radio_;
    TvScreen& tv_;
    std::unique_ptr<StreamRecorder> recorder_;
    std::function<QString()> channelName_;
};
