#pragma once
#include "navigation/ChannelDispatcher.h"
#include "radio/MainWindowRadio.h"
#include "radio/RadioRecorder.h"
#include "radio/RadioStatus.h"
#include "radio/TitleDecoder.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class AudioEngine;
class AudioStream;
class LameEncoder;

// What the program knows about the station behind an address: its name and how its song titles
// are encoded.
struct StationInfo {
    QString name;
    TitleEncoding encoding = TitleEncoding::Auto;
};

// The one current stream and its control. Opening a stream never blocks the UI thread for long;
// a station that fails leaves silence and says so through status(), never with a message box. A
// live stream that drops after it played is reopened by itself, with growing pauses, until another
// station is chosen or the radio is turned off; a recording goes on across such a gap. It is itself
// what the dispatcher, the main window and the record buttons drive.
class RadioPlayer : public QObject, public StreamPlayer, public MainWindowRadio, public RadioRecorder {
    Q_OBJECT
public:
    explicit RadioPlayer(std::unique_ptr<AudioEngine> engine, QObject* parent = nullptr);
    ~RadioPlayer() override;
    // The real engine (GStreamer into the default output).
    static std::unique_ptr<RadioPlayer> createDefault(QObject* parent = nullptr);

    // Starts audio output; false when WMA streams cannot be decoded (the caller shows the message).
    bool StartAudio() override;
    bool AudioReady() const override;
    AudioProblem AudioFailure() const override;
    void ShutdownAudio() override;
    // Frees the current stream (and any recording on it), then opens and plays url.
    void PlayStream(const QByteArray& url) override;
    // The same for a station whose name the caller knows (its address may not tell it).
    void playStation(const QString& name, const QByteArray& url);
    // Frees the current stream while the stream of the named station is looked up elsewhere; the
    // status says so until playStation() or lookupFailed().
    void showLookup(const QString& name);
    void lookupFailed(const QString& reason);
    // The address of the station chosen last (as given to PlayStream or playStation).
    QByteArray currentUrl() const;
    void StopStream() override;
    // 0.0 .. 1.0: the current stream and every stream opened after it play at this volume.
    void SetVolume(float volume) override;
    float volume() const;
    // The last station again, after radio off or a failure; nothing when none was chosen yet.
    void replay();
    // The address of the station chosen last, as it was chosen; empty before the first.
    QByteArray stationUrl() const;

    // Names the station behind an address and its title encoding; without it titles are guessed
    // and the station is named by the stream itself, if at all.
    void setStationLookup(std::function<StationInfo(const QByteArray& url)> lookup);
    RadioStatus status() const;
    // Pause before the next reconnect try, sinceDropMs after the station dropped: a unit for the
    // first 20 units, then 2 units until a minute (60 units) has passed; then the back-off, 4, 8,
    // 16 ... at most 30 units, slowTry counting the tries after the minute. A unit is 1 s.
    static int reconnectDelayMs(qint64 sinceDropMs, int slowTry, int unitMs = 1000);
    void setReconnectUnit(int msecs);

    // Starts the encoder on the playing stream, writing recordingFolder()/name.mp3, or
    // "name (2).mp3" and so on when that exists (no file is ever replaced), with a cue sheet of the
    // song titles beside it. name is a bare file name. Ends a recording already running first.
    // False with a reason when nothing plays, the name is no file name or the encoder cannot be
    // started.
    bool StartRecording(const QString& name, QString* error = nullptr) override;
    void StopRecording() override;
    bool isRecording() const;
    // The MP3 file being written (the current piece when split by song); empty when not recording.
    QString recordingFile() const;
    // Where recordings go; the working directory unless set.
    QString recordingFolder() const override;
    void setRecordingFolder(const QString& folder);
    QString stationName() const override;
    // One file per song: a new title ends the current file and starts the next one.
    void setSplitBySong(bool split);

    // A station is being opened (playlist lookup or stream start) / audio is playing.
    bool isOpening() const;
    bool isPlaying() const;
    // An ended recording's encoder is still completing its file.
    bool hasUnfinishedRecordings() const;
    // The encoder program, looked up in PATH unless it holds a '/'; "lame" by default.
    void setEncoderProgram(const QString& program);

signals:
    // A recording stopped, for any reason: StopRecording, a new station, radio off, the stream
    // ending for good, the encoder dying, shutdown. Its file completes shortly after. A reconnect
    // does not end it.
    void recordingEnded();
    // The encoder ended with an error while recording (it could not write its file, say): the
    // recording is over. reason is the encoder's own text.
    void recordingFailed(const QString& reason);
    // Anything the listener is shown changed: state, station, title.
    void statusChanged(const RadioStatus& status);

private:
    void freeStream();
    void endRecording();
    void onEncoderFinished(LameEncoder* encoder, bool ok);
    std::shared_ptr<LameEncoder> startEncoder(const QString& stem, const QString& title, QString* file,
                                              QString* error);
    void recordTitle(const QString& title);
    void resolveThenOpen(const QUrl& url, bool afterFailedOpen);
    void openNow(const QUrl& url, bool contentChecked);
    void onStreamEnded(AudioStream* stream, int why);
    void scheduleReconnect(const QString& reason);
    void reconnectNow();
    void playWhenAudioReady();
    void diagnose();
    void tickCountdown();
    void setStatus(const RadioStatus& status);
    void setState(RadioStatus::State state, const QString& reason = {});
    void setTitle(const QString& title);

    struct Impl;
    std::unique_ptr<Impl> d_;
};
