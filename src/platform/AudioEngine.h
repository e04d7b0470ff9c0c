#pragma once
#include <QByteArray>
#include <QObject>
#include <QUrl>

#include <memory>

// Receives a stream's audio as interleaved signed 16-bit little-endian PCM, 44100 Hz, stereo.
// Called on the UI thread only.
class PcmConsumer {
public:
    virtual ~PcmConsumer() = default;
    virtual void writePcm(const QByteArray& pcm) = 0;
    // No more audio follows: the consumer was detached, or its stream ended or was freed.
    virtual void endOfPcm() = 0;
};

// One opened stream with its own pipeline, volume and recording tap. Destroying it frees it at
// once; an attached consumer then receives the audio already decoded, followed by endOfPcm().
class AudioStream : public QObject {
    Q_OBJECT
public:
    enum class State { Opening, Playing, Ended };
    enum class Failure {
        None,        // still fine, or ended normally
        Unreachable, // network error, refused, or no audio within the open time-out
        NotAudio,    // the content could not be decoded (a playlist is a likely cause)
        Other,
    };
    Q_ENUM(Failure)

    using QObject::QObject;
    virtual State state() const = 0;
    virtual Failure failure() const = 0;
    virtual void play() = 0;
    // 0.0 .. 1.0; a new stream starts at 1.0.
    virtual void setVolume(float volume) = 0;
    // Replaces any consumer already attached (that one is ended). Audio flows once the stream
    // plays; a stream that ends or is freed ends its consumer.
    virtual void attachConsumer(std::shared_ptr<PcmConsumer> consumer) = 0;
    // The consumer receives the audio still in flight and then endOfPcm(), possibly later from
    // the event loop, at the latest when the stream is freed.
    virtual void detachConsumer() = 0;

signals:
    // The first audio reached the output.
    void started();
    // The open failed or timed out, or the stream ended: silence from now on.
    void ended(AudioStream::Failure why);
};

class AudioEngine {
public:
    virtual ~AudioEngine() = default;
    virtual bool init() = 0;
    virtual void shutdown() = 0;
    virtual bool canDecodeWma() const = 0;
    // Never waits for the network. nullptr when the URL cannot even be tried (bad URL, engine not
    // initialised, no output); the stream plays only after play().
    virtual std::unique_ptr<AudioStream> open(const QUrl& url) = 0;
};
