#pragma once
// An audio engine without sound: streams open at once and the test decides when each starts,
// fails or delivers audio. For the player's own logic; the GStreamer engine has its own tests.
#include "platform/AudioEngine.h"

#include <QList>

#include <algorithm>
#include <memory>
#include <vector>

class FakeAudioStream;

// What the engine was asked, shared between the test and the engine the player owns.
struct FakeAudioLog {
    bool initWorks = true;
    bool decodesWma = true;
    bool refusesOpen = false; // open() returns nullptr, as for an address the engine cannot try
    bool ready = true;        // false: its libraries are still loading, and init() would wait
    int prepares = 0;
    int inits = 0;
    int shutdowns = 0;
    QList<QUrl> opened;
    std::vector<FakeAudioStream*> live; // streams not yet destroyed, oldest first

    FakeAudioStream* current() const { return live.empty() ? nullptr : live.back(); }
};

class FakeAudioStream final : public AudioStream {
public:
    FakeAudioStream(std::shared_ptr<FakeAudioLog> log, QUrl url) : url(std::move(url)), log_(std::move(log)) {
        log_->live.push_back(this);
    }
    ~FakeAudioStream() override {
        detachConsumer();
        std::erase(log_->live, this);
    }

    State state() const override { return state_; }
    Failure failure() const override { return failure_; }
    void play() override { ++plays; }
    void setVolume(float v) override { volume = v; }
    void attachConsumer(std::shared_ptr<PcmConsumer> c) override {
        detachConsumer();
        if (!c)
            return;
        if (state_ == State::Ended)
            c->endOfPcm();
        else
            consumer = std::move(c);
    }
    void detachConsumer() override {
        if (auto c = std::move(consumer))
            c->endOfPcm();
    }

    // Driven by the test.
    void start() {
        state_ = State::Playing;
        emit started();
    }
    void feed(const QByteArray& pcm) {
        if (consumer)
            consumer->writePcm(pcm);
    }
    void fail(Failure why, const QString& reason = QStringLiteral("test failure")) {
        state_ = State::Ended;
        failure_ = why;
        reason_ = reason;
        detachConsumer();
        emit ended(why);
    }

    // A stream with a known length, such as a file.
    void setBounded(bool b) { bounded_ = b; }

    const QUrl url;
    int plays = 0;
    float volume = 1.0f;
    std::shared_ptr<PcmConsumer> consumer;

private:
    std::shared_ptr<FakeAudioLog> log_;
    State state_ = State::Opening;
    Failure failure_ = Failure::None;
};

class FakeAudioEngine final : public AudioEngine {
public:
    explicit FakeAudioEngine(std::shared_ptr<FakeAudioLog> log) : log_(std::move(log)) {}
    bool init() override {
        ++log_->inits;
        return log_->initWorks;
    }
    bool ready() const override { return log_->ready; }
    void prepare() override { ++log_->prepares; }
    void shutdown() override { ++log_->shutdowns; }
    bool canDecodeWma() const override { return log_->decodesWma; }
    std::unique_ptr<AudioStream> open(const QUrl& url) override {
        log_->opened << url;
        if (log_->refusesOpen)
            return nullptr;
        return std::make_unique<FakeAudioStream>(log_, url);
    }

private:
    std::shared_ptr<FakeAudioLog> log_;
};
