#include "radio/RadioPlayer.h"

#include "platform/AudioEngine.h"
#include "platform/GstAudioEngine.h"
#include "platform/LameEncoder.h"
#include "radio/PlaylistResolver.h"

#include <QDeadlineTimer>
#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace {
constexpr int kShutdownEncoderWaitMs = 5000;
constexpr int kRestartEncoderWaitMs = 3000;

bool isHttp(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}
} // namespace

struct RadioPlayer::Impl {
    std::unique_ptr<AudioEngine> engine;
    bool started = false;
    PlaylistResolver resolver;
    bool resolving = false;
    std::unique_ptr<AudioStream> stream;
    QUrl streamUrl;
    bool contentChecked = false; // the stream's address was already looked at as a playlist
    std::shared_ptr<LameEncoder> recording;
    std::vector<std::shared_ptr<LameEncoder>> finishing;
    QString encoderProgram = QStringLiteral("lame");
};

RadioPlayer::RadioPlayer(std::unique_ptr<AudioEngine> engine, QObject* parent)
    : QObject(parent), d_(std::make_unique<Impl>()) {
    d_->engine = std::move(engine);
}

RadioPlayer::~RadioPlayer() {
    ShutdownAudio();
}

std::unique_ptr<RadioPlayer> RadioPlayer::createDefault(QObject* parent) {
    return std::make_unique<RadioPlayer>(std::make_unique<GstAudioEngine>(), parent);
}

bool RadioPlayer::StartAudio() {
    if (!d_->started)
        d_->started = d_->engine && d_->engine->init();
    return d_->started && d_->engine->canDecodeWma();
}

void RadioPlayer::ShutdownAudio() {
    freeStream();
    // Give the encoders a bounded time to complete their files; the program is about to exit.
    const QDeadlineTimer deadline(kShutdownEncoderWaitMs);
    for (const auto& encoder : std::vector(d_->finishing))
        encoder->waitForFinished(int(std::max<qint64>(0, deadline.remainingTime())));
    d_->finishing.clear();
    if (d_->started && d_->engine)
        d_->engine->shutdown();
    d_->started = false;
}

void RadioPlayer::PlayStream(const QByteArray& url) {
    freeStream();
    if (!d_->started)
        return;
    // Station addresses are 8-bit text in the system's code page.
    const QUrl target(QString::fromLocal8Bit(url).trimmed(), QUrl::TolerantMode);
    if (!target.isValid() || target.scheme().isEmpty())
        return;
    if (PlaylistResolver::hasPlaylistSuffix(target))
        resolveThenOpen(target, false);
    else
        openNow(target, false);
}

void RadioPlayer::StopStream() {
    freeStream();
}

void RadioPlayer::SetVolume(float volume) {
    if (d_->stream)
        d_->stream->setVolume(volume);
}

bool RadioPlayer::StartRecording(const QString& name, QString* error) {
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const bool streamAlive = d_->stream && d_->stream->state() != AudioStream::State::Ended;
    if (!d_->started || (!streamAlive && !d_->resolving))
        return fail(QStringLiteral("радио не играет."));
    endRecording();
    // Two encoders must never write one file: an ending one with the same name completes first.
    const QString target = QFileInfo(name + QStringLiteral(".mp3")).absoluteFilePath();
    for (const auto& encoder : std::vector(d_->finishing)) {
        if (QFileInfo(encoder->outputName()).absoluteFilePath() == target) {
            encoder->endOfPcm();
            encoder->waitForFinished(kRestartEncoderWaitMs);
        }
    }
    // A deleter that never destroys the encoder inside its own finished() signal.
    std::shared_ptr<LameEncoder> encoder(new LameEncoder(d_->encoderProgram), [](LameEncoder* e) {
        if (e->isRunning())
            delete e;
        else
            e->deleteLater();
    });
    if (!encoder->start(name, error))
        return false;
    connect(encoder.get(), &LameEncoder::finished, this,
            [this, raw = encoder.get()] { onEncoderFinished(raw); });
    d_->recording = encoder;
    if (d_->stream)
        d_->stream->attachConsumer(encoder);
    return true;
}

void RadioPlayer::StopRecording() {
    endRecording();
}

bool RadioPlayer::isRecording() const {
    return d_->recording != nullptr;
}

bool RadioPlayer::isOpening() const {
    return d_->resolving || (d_->stream && d_->stream->state() == AudioStream::State::Opening);
}

bool RadioPlayer::isPlaying() const {
    return d_->stream && d_->stream->state() == AudioStream::State::Playing;
}

bool RadioPlayer::hasUnfinishedRecordings() const {
    return std::any_of(d_->finishing.begin(), d_->finishing.end(),
                       [](const auto& e) { return e->isRunning(); });
}

void RadioPlayer::setEncoderProgram(const QString& program) {
    d_->encoderProgram = program;
}

void RadioPlayer::freeStream() {
    d_->resolver.cancel();
    d_->resolving = false;
    endRecording();
    // Freeing the stream hands its last audio to the encoder and closes the encoder's input.
    d_->stream.reset();
}

void RadioPlayer::endRecording() {
    std::shared_ptr<LameEncoder> encoder = std::move(d_->recording);
    if (!encoder)
        return;
    if (d_->stream)
        d_->stream->detachConsumer();
    else
        encoder->endOfPcm();
    if (encoder->isRunning())
        d_->finishing.push_back(std::move(encoder));
    emit recordingEnded();
}

void RadioPlayer::onEncoderFinished(LameEncoder* encoder) {
    if (d_->recording.get() == encoder) {
        // The encoder died while recording: stop feeding it.
        endRecording();
    }
    std::erase_if(d_->finishing, [encoder](const auto& e) { return e.get() == encoder; });
}

void RadioPlayer::resolveThenOpen(const QUrl& url, bool afterFailedOpen) {
    d_->resolving = true;
    d_->resolver.resolve(url, [this, url, afterFailedOpen](const QUrl& result) {
        d_->resolving = false;
        d_->stream.reset(); // an ended stream whose content turned out to be a playlist
        if (result.isEmpty() || (afterFailedOpen && result == url)) {
            endRecording(); // nothing to play
            return;
        }
        openNow(result, true);
    });
}

void RadioPlayer::openNow(const QUrl& url, bool contentChecked) {
    d_->stream = d_->engine->open(url);
    d_->streamUrl = url;
    d_->contentChecked = contentChecked;
    if (!d_->stream) {
        endRecording();
        return;
    }
    AudioStream* stream = d_->stream.get();
    connect(stream, &AudioStream::ended, this, [this, stream](AudioStream::Failure why) {
        if (stream != d_->stream.get())
            return;
        // The stream has already ended the encoder's input.
        endRecording();
        // Some servers hand out playlists under addresses without a playlist suffix.
        if (why == AudioStream::Failure::NotAudio && !d_->contentChecked && isHttp(d_->streamUrl))
            resolveThenOpen(d_->streamUrl, true);
    });
    stream->play();
    if (d_->recording)
        stream->attachConsumer(d_->recording); // recording asked for while the playlist was read
}
