#pragma once
#include "platform/PcmConsumer.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

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

    // Why it ended, in the engine's words; empty while fine.
    QString reason() const { return reason_; }
    // The stream has a known length (a file, not a live station): reaching its end is normal.
    bool bounded() const { return bounded_; }

signals:
    // The first audio reached the output.
    void started();
    // The open failed or timed out, or the stream ended: silence from now on.
    void ended(AudioStream::Failure why);
    // A song title exactly as the station sent it (ICY StreamTitle): the encoding is not known.
    void titleBytes(const QByteArray& raw);
    // Titles the engine read from the stream's own tags, already text; empty fields are unknown.
    void tags(const QString& title, const QString& artist, const QString& organization);

protected:
    QString reason_;
    bool bounded_ = false;
};
