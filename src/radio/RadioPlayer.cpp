// Placeholder until the radio engine lands.
#include "radio/RadioPlayer.h"

#include "radio/AudioEngine.h"

struct RadioPlayer::Impl {
    std::unique_ptr<AudioEngine> engine;
};
RadioPlayer::RadioPlayer(std::unique_ptr<AudioEngine> engine, QObject* parent)
    : QObject(parent), d_(std::make_unique<Impl>()) {
    d_->engine = std::move(engine);
}
RadioPlayer::~RadioPlayer() = default;
std::unique_ptr<RadioPlayer> RadioPlayer::createDefault(QObject* parent) {
    return std::make_unique<RadioPlayer>(std::make_unique<AudioEngine>(), parent);
}
bool RadioPlayer::StartAudio() { return true; }
void RadioPlayer::ShutdownAudio() {}
void RadioPlayer::PlayStream(const QByteArray&) {}
void RadioPlayer::StopStream() {}
void RadioPlayer::SetVolume(float) {}
bool RadioPlayer::StartRecording(const QString&, QString* error) {
    if (error)
        *error = QStringLiteral("not available");
    return false;
}
void RadioPlayer::StopRecording() {}
bool RadioPlayer::isRecording() const { return false; }
