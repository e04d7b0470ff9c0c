#pragma once
#include "platform/StreamSource.h"

#include <QObject>
#include <QString>

#include <chrono>

// Writes a network stream to a file as it comes, without decoding it: its pictures and sound are
// only put into another container. Every call returns at once; what happens afterwards arrives as
// signals on the thread that owns the recorder.
class StreamRecorder : public QObject {
    Q_OBJECT
public:
    enum class Failure {
        HttpError,   // the server refused the stream; detail: the HTTP status
        Unreachable, // no connection, or no answer; detail: the server
        NoStream,    // nothing to record came in time; detail empty
        WriteError,  // the file could not be written; detail: the file
        Ended,       // the stream ended by itself; the file is complete
        Other,       // detail: the library's words
    };
    Q_ENUM(Failure)

    using QObject::QObject;

    // Opens source.url with its headers (as a player does) and writes the stream into
    // folder/stem.ts, or folder/stem.mkv when MPEG-TS cannot carry its codecs; a name in use by
    // either gets " (2)", " (3)" ..., so no file is ever replaced. Ends a recording under way
    // first. False with a reason when no file can be made there.
    virtual bool start(const StreamSource& source, const QString& folder, const QString& stem,
                       QString* error) = 0;
    // Ends the recording; the file is completed (its container closed) in the background, within
    // a bound.
    virtual void stop() = 0;
    virtual bool isRecording() const = 0;
    // The file being written; its suffix is settled once the stream's codecs are known.
    virtual QString filePath() const = 0;
    // Waits at most timeout for ended recordings to complete their files (at exit).
    virtual bool waitForStopped(std::chrono::milliseconds timeout) = 0;

signals:
    // The recording ended by itself (a failure, or the end of the stream): nothing more is written.
    // wroteAnything: whether the file holds any of the stream.
    void failed(StreamRecorder::Failure failure, const QString& detail, bool wroteAnything);
};
