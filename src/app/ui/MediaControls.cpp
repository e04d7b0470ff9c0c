#include "app/ui/MediaControls.h"

#include "app/ui/TvViewer.h"
#include "desktop/MprisService.h"
#include "navigation/ChannelCatalog.h"
#include "radio/MyRadioKeys.h"
#include "radio/RadioPlayer.h"
#include "settings/SettingsFile.h"
#include "tv/TvScreen.h"

#include <QAbstractSlider>
#include <QDateTime>

#include <algorithm>
#include <cmath>

namespace {
// The guide's programme changes on the minute; checked at its end, at least this often.
constexpr qint64 kMaxTitleCheckMs = 60 * 1000;
} // namespace

MediaControls::MediaControls(Deps deps) : d_(std::move(deps)), mpris_(std::make_unique<MprisService>()) {
    const auto showVolume = [this](int value) {
        mpris_->setVolume(d_.volume->maximum() > 0 ? double(value) / d_.volume->maximum() : 1.0);
    };
    showVolume(d_.volume->value());
    connect(d_.volume, &QAbstractSlider::valueChanged, this, showVolume);
    connect(mpris_.get(), &MprisService::volumeRequested, this,
            [this](double v) { d_.volume->setValue(int(std::lround(v * d_.volume->maximum()))); });
    connect(mpris_.get(), &MprisService::playRequested, this, &MediaControls::play);
    connect(mpris_.get(), &MprisService::stopRequested, this, &MediaControls::stop);
    connect(mpris_.get(), &MprisService::nextRequested, this, [this] { step(+1); });
    connect(mpris_.get(), &MprisService::previousRequested, this, [this] { step(-1); });
    connect(mpris_.get(), &MprisService::openUriRequested, this,
            [this](const QString& uri) { d_.radio->PlayStream(uri.toUtf8()); });
    connect(mpris_.get(), &MprisService::raiseRequested, this, [this] {
        if (d_.raise)
            d_.raise();
    });
    connect(mpris_.get(), &MprisService::quitRequested, this, [this] {
        if (d_.quit)
            d_.quit();
    });

    connect(d_.radio, &RadioPlayer::statusChanged, this, [this](const RadioStatus& status) {
        if (status.state == RadioStatus::State::Connecting)
            last_ = Source::Radio;
        refresh();
    });
    connect(d_.tv, &TvScreen::activeChanged, this, &MediaControls::refresh);
    connect(d_.viewer, &TvViewer::channelChanged, this, [this] {
        if (d_.tv->isPlaying())
            last_ = Source::Tv;
        refresh();
    });
    programmeEnd_.setSingleShot(true);
    connect(&programmeEnd_, &QTimer::timeout, this, &MediaControls::refresh);
    mpris_->publish();
    refresh();
}

MediaControls::~MediaControls() = default;

QList<QByteArray> MediaControls::stations() const {
    QList<QByteArray> out;
    const auto add = [&out](const QByteArray& url) {
        const QByteArray u = url.trimmed();
        if (!u.isEmpty() && !out.contains(u))
            out << u;
    };
    if (d_.settings)
        for (int slot = 1; slot <= MyRadioKeys::kSlots; ++slot)
            add(d_.settings->ReadString(MyRadioKeys::Section(), MyRadioKeys::LinkKey(slot), QString())
                    .toUtf8());
    for (const ChannelEntry& e : MainCatalog())
        if (e.isRadio())
            add(e.Stream);
    return out;
}

void MediaControls::refresh() {
    programmeEnd_.stop();
    MprisTrack track;
    bool playing = false;
    if (d_.tv->isPlaying()) {
        playing = true;
        const ImportedStream& s = d_.tv->stream();
        const QString channel = d_.viewer->channelName();
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        const NowNext nn = d_.viewer->nowNext(now);
        track.title = nn.now && !nn.now->title.isEmpty() ? nn.now->title : channel;
        track.artist = channel;
        track.artUrl = s.logo;
        track.url = s.url;
        if (nn.now || nn.next) {
            const qint64 change = nn.now ? nn.now->stop : nn.next->start;
            programmeEnd_.start(int(std::clamp<qint64>(change - now + 500, 1000, kMaxTitleCheckMs)));
        }
        mpris_->setCanGoNext(d_.viewer->canStep());
        mpris_->setCanGoPrevious(d_.viewer->canStep());
    } else {
        const RadioStatus status = d_.radio->status();
        playing = status.active();
        const QByteArray url = d_.radio->stationUrl();
        if (status.state != RadioStatus::State::Off) {
            track.title = status.title;
            track.artist = status.station;
            track.url = QUrl::fromEncoded(url.trimmed());
            if (d_.stationLogo)
                track.artUrl = d_.stationLogo(url);
        }
        const bool any = !stations().isEmpty();
        mpris_->setCanGoNext(any);
        mpris_->setCanGoPrevious(any);
    }
    mpris_->setTrack(track);
    mpris_->setStatus(playing ? MprisService::Status::Playing : MprisService::Status::Stopped);
    const bool canPlay = !d_.radio->stationUrl().trimmed().isEmpty() || !d_.tv->stream().url.isEmpty();
    mpris_->setCanPlay(canPlay || playing);
}

void MediaControls::stepRadio(int direction) {
    const QList<QByteArray> list = stations();
    if (list.isEmpty())
        return;
    const qsizetype at = list.indexOf(d_.radio->stationUrl().trimmed());
    const qsizetype n = list.size();
    const qsizetype next = at < 0 ? (direction > 0 ? 0 : n - 1) : ((at + direction) % n + n) % n;
    d_.radio->PlayStream(list[next]);
}

void MediaControls::step(int direction) {
    if (d_.tv->isPlaying())
        d_.viewer->step(direction);
    else
        stepRadio(direction);
}

void MediaControls::play() {
    if (d_.tv->isPlaying() || d_.radio->status().active())
        return;
    if (last_ == Source::Tv && d_.tv->replay())
        return;
    d_.radio->replay();
}

void MediaControls::stop() {
    if (d_.tv->isPlaying())
        d_.tv->stop();
    else
        d_.radio->StopStream();
}
