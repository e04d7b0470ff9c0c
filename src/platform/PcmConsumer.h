#pragma once
#include <QByteArray>

// Receives a stream's audio as interleaved signed 16-bit little-endian PCM, 44100 Hz, stereo.
// Called on the UI thread only.
class PcmConsumer {
public:
    virtual ~PcmConsumer() = default;
    virtual void writePcm(const QByteArray& pcm) = 0;
    // No more audio follows: the consumer was detached, or its stream ended or was freed.
    virtual void endOfPcm() = 0;
};
