#pragma once
#include "platform/AudioStream.h"

#include <QUrl>

#include <memory>

// The audio back end: one stream per opened address, each with its own volume and recording tap.
class AudioEngine {
public:
    virtual ~AudioEngine() = default;
    virtual bool init() = 0;
    // Whether init() would return at once; false while the engine's libraries are still loading
    // (the first start after installing builds GStreamer's registry, which takes seconds).
    virtual bool ready() const { return true; }
    // Starts loading the engine's libraries without waiting for them; ready() tells when done.
    virtual void prepare() {}
    virtual void shutdown() = 0;
    virtual bool canDecodeWma() const = 0;
    // Never waits for the network. nullptr when the URL cannot even be tried (bad URL, engine not
    // initialised, no output); the stream plays only after play().
    virtual std::unique_ptr<AudioStream> open(const QUrl& url) = 0;
};
