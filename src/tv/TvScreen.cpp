#include "tv/TvScreen.h"

#include "platform/LogCategories.h"
#include "platform/MediaBackend.h"

namespace {
// The screen goes with the program: the channel's sound output is closed properly unless a
// source hangs, which must not hold up the exit.
constexpr std::chrono::milliseconds kExitWait{2000};
} // namespace

TvScreen::TvScreen(std::unique_ptr<VideoPlayer> player, QObject* parent)
    : QObject(parent), video_(player ? std::move(player) : MediaBackend::CreateVideoPlayer()) {}

TvScreen::~TvScreen() {
    video_->stop();
    if (!video_->waitForStopped(kExitWait))
        qCWarning(lcTv) << "exit: a channel did not stop within" << kExitWait.count() << "ms; left behind";
}

void TvScreen::play(const ImportedStream& stream) {
    if (beforePlay_)
        beforePlay_();
    name_ = stream.displayName;
    qCDebug(lcTv) << "channel" << name_;
    video_->play(stream.url);
    if (!active_) {
        active_ = true;
        emit activeChanged(true);
    }
}

void TvScreen::stop() {
    if (!active_)
        return;
    video_->stop();
    active_ = false;
    emit activeChanged(false);
}
