#pragma once
#include "navigation/ChannelDispatcher.h"
#include "radio/MainWindowRadio.h"
#include "radio/RadioRecorder.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

class AudioEngine;
class LameEncoder;

// The one current stream and its control. Opening a stream never blocks the UI thread for long;
// a stream that fails to open leaves silence and reports nothing. It is itself what the
// dispatcher, the main window and the record buttons drive.
class RadioPlayer : public QObject, public StreamPlayer, public MainWindowRadio, public RadioRecorder {
    Q_OBJECT
public:
    explicit RadioPlayer(std::unique_ptr<AudioEngine> engine, QObject* parent = nullptr);
    ~RadioPlayer() override;
    // The real engine (GStreamer into the default output).
    static std::unique_ptr<RadioPlayer> createDefault(QObject* parent = nullptr);

    // Starts audio output; false when WMA streams cannot be decoded (the caller shows the message).
    bool StartAudio() override;
    void ShutdownAudio() override;
    // Frees the current stream (and any recording on it), then opens and plays url.
    void PlayStream(const QByteArray& url) override;
    void StopStream() override;
    // 0.0 .. 1.0, applied to the current stream only.
    void SetVolume(float volume) override;

    // Starts the encoder on the playing stream, writing workingDir/name + ".mp3" (name is one
    // argument, spaces included). Ends a recording already running first. False with a reason when
    // nothing plays or the encoder cannot be started.
    bool StartRecording(const QString& name, QString* error = nullptr) override;
    void StopRecording() override;
    bool isRecording() const;

    // A station is being opened (playlist lookup or stream start) / audio is playing.
    bool isOpening() const;
    bool isPlaying() const;
    // An ended recording's encoder is still completing its file.
    bool hasUnfinishedRecordings() const;
    // The encoder program, looked up in PATH unless it holds a '/'; "lame" by default.
    void setEncoderProgram(const QString& program);

signals:
    // A recording stopped, for any reason: StopRecording, a new station, radio off, the stream
    // ending, the encoder dying, shutdown. Its file completes shortly after.
    void recordingEnded();

private:
    void freeStream();
    void endRecording();
    void onEncoderFinished(LameEncoder* encoder);
    void resolveThenOpen(const QUrl& url, bool afterFailedOpen);
    void openNow(const QUrl& url, bool contentChecked);

    struct Impl;
    std::unique_ptr<Impl> d_;
};
