#pragma once
#include "platform/StreamRecorder.h"

#include <QTimer>

#include <memory>

class PendingStops;
class QueuedReceiver;

// Records a network stream with a GStreamer pipeline of its own, apart from whatever plays it:
// the source with the stream's headers, the demuxers GStreamer finds for it (decoding stops at the
// encoded streams), a parser per stream and a muxer into the file. The muxer is chosen once every
// stream is known: MPEG-TS when it takes them all, Matroska otherwise. State changes, and the completion of
// the file at the end, run on GStreamer's worker threads.
class GstStreamRecorder : public StreamRecorder {
    Q_OBJECT
public:
    struct Limits {
        int firstDataMs = 20000;     // no stream to record within this: NoStream
        int completeMs = 5000;       // at the end, how long the muxer may take to complete the file
        unsigned sourceTimeoutS = 5; // network reads that stall this long fail
    };

    explicit GstStreamRecorder(QObject* parent = nullptr);
    ~GstStreamRecorder() override;

    void setLimits(const Limits& limits) { limits_ = limits; }

    bool start(const StreamSource& source, const QString& folder, const QString& stem,
               QString* error) override;
    void stop() override;
    bool isRecording() const override { return session_ != nullptr; }
    QString filePath() const override { return path_; }
    bool waitForStopped(std::chrono::milliseconds timeout) override;

private:
    friend struct GstStreamRecorderAccess;
    struct Shared;
    struct Session;

    void decided(const std::shared_ptr<Shared>& shared, const QString& path);
    void ended(const std::shared_ptr<Shared>& shared);
    void handleError(const std::shared_ptr<Shared>& shared, void* message);
    void giveUp(Failure failure, const QString& detail);
    void endSession();

    std::shared_ptr<QueuedReceiver> receiver_;
    std::shared_ptr<PendingStops> stopping_;
    Limits limits_;
    QString path_;
    QString server_;
    std::unique_ptr<Session> session_;
    QTimer noData_;
};
