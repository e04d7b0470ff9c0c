#pragma once
#include <QByteArray>

#include <functional>

// Follows a raw ICY (SHOUTcast) stream, audio interleaved with metadata blocks, and hands out each
// StreamTitle as the bytes the server sent: the title's encoding is decided later, with the
// station's settings at hand. Plain byte arithmetic, cheap enough for a streaming thread.
class IcyMetadataParser {
public:
    using TitleHandler = std::function<void(const QByteArray& rawTitle)>;

    // interval: audio bytes between two metadata blocks (the "icy-metaint" header); 0 disables.
    explicit IcyMetadataParser(int interval, TitleHandler onTitle);

    void feed(const char* data, qsizetype size);

    // The StreamTitle of one metadata block; empty when it has none.
    static QByteArray streamTitle(const QByteArray& block);

private:
    int interval_;
    TitleHandler onTitle_;
    qint64 audioLeft_;  // audio bytes until the next length byte
    int metaLeft_ = -1; // metadata bytes still to read; -1 while reading audio
    QByteArray block_;
    QByteArray lastTitle_;
    bool sawTitle_ = false;
};
