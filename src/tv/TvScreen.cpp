#include "tv/TvScreen.h"

#include "platform/LogCategories.h"
#include "platform/MediaBackend.h"
#include "platform/ReconnectDelay.h"

namespace {
// The screen goes with the program: the channel's sound output is closed properly unless a
// source hangs, which must not hold up the exit.
constexpr std::chrono::milliseconds kExitWait{2000};
// A lost channel is tried again on the entry that played before the next entry is tried.
constexpr int kTriesPerEntry = 2;

bool failed(VideoPlayer::Status s) {
    using S = VideoPlayer::Status;
    return s == S::NoSignal || s == S::CodecMissing || s == S::HttpError || s == S::Unreachable ||
           s == S::Failed;
}
} // namespace

TvScreen::TvScreen(std::unique_ptr<VideoPlayer> player, QObject* parent)
    : QObject(parent), video_(player ? std::move(player) : MediaBackend::CreateVideoPlayer()) {
    retry_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, &TvScreen::reconnect);
    connect(video_.get(), &VideoPlayer::statusChanged, this, &TvScreen::onStatus);
}

TvScreen::~TvScreen() {
    retry_.stop();
    video_->disconnect(this);
    video_->stop();
    if (!video_->waitForStopped(kExitWait))
        qCWarning(lcTv) << "exit: a channel did not stop within" << kExitWait.count() << "ms; left behind";
}

void TvScreen::play(const ImportedStream& stream) {
    if (beforePlay_)
        beforePlay_();
    name_ = stream.displayName;
    stream_ = stream;
    qCDebug(lcTv) << "channel" << name_;
    retry_.stop();
    sources_.clear();
    sources_.push_back(StreamSource{stream.url, stream.headers});
    sources_.insert(sources_.end(), stream.alternates.begin(), stream.alternates.end());
    everPlayed_ = false;
    attempt_ = 0;
    open(0);
    if (!active_) {
        active_ = true;
        emit activeChanged(true);
    }
    emit channelStarted();
}

bool TvScreen::replay() {
    if (stream_.url.isEmpty())
        return false;
    play(ImportedStream(stream_));
    return true;
}

void TvScreen::stop() {
    retry_.stop();
    attempt_ = 0;
    if (!active_)
        return;
    video_->stop();
    active_ = false;
    emit activeChanged(false);
}

void TvScreen::open(int index) {
    index_ = index;
    if (sources_.size() > 1)
        qCInfo(lcTv) << "channel" << name_ << "entry" << index + 1 << "of" << sources_.size();
    video_->play(sources_[size_t(index)]);
    emit progressChanged();
}

void TvScreen::onStatus(VideoPlayer::Status status) {
    if (!active_ || sources_.empty())
        return;
    if (status == VideoPlayer::Status::Playing) {
        everPlayed_ = true;
        retry_.stop(); // it came back by itself
        if (attempt_ != 0) {
            qCInfo(lcTv) << "channel" << name_ << "back after" << attempt_ << "tries";
            attempt_ = 0;
            emit progressChanged();
        }
        return;
    }
    if (!failed(status) || retry_.isActive())
        return;
    const int count = int(sources_.size());
    if (!everPlayed_) {
        // Not seen yet: the next entry at once; the last one's failure stays on screen.
        if (index_ + 1 < count) {
            qCInfo(lcTv) << "channel" << name_ << "entry" << index_ + 1 << "failed:" << status
                         << video_->reason();
            open(index_ + 1);
        }
        return;
    }
    // Lost after it played: live servers come back, so the tries go on until another channel.
    ++attempt_;
    const int delay = reconnectDelayMs(attempt_, reconnectUnitMs_);
    qCInfo(lcTv) << "channel" << name_ << "lost (" << status << video_->reason() << "), try" << attempt_
                 << "in" << delay << "ms";
    retry_.start(delay);
    emit progressChanged();
}

void TvScreen::reconnect() {
    if (!active_ || sources_.empty())
        return;
    const int count = int(sources_.size());
    // The entry that played gets a few tries of its own, then the others take turns.
    const int next = attempt_ % kTriesPerEntry == 0 ? (index_ + 1) % count : index_;
    open(next);
}
