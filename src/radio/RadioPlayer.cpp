#include "radio/RadioPlayer.h"

#include "platform/AudioEngine.h"
#include "platform/FreeFileName.h"
#include "platform/LameEncoder.h"
#include "platform/LogCategories.h"
#include "platform/MediaBackend.h"
#include "platform/UiText.h"
#include "radio/CueSheet.h"
#include "radio/PlaylistResolver.h"
#include "radio/RecordingName.h"
#include "radio/StreamDiagnosis.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
constexpr int kShutdownEncoderWaitMs = 5000;
constexpr int kRestartEncoderWaitMs = 3000;
constexpr int kMaxReconnectUnits = 30;
// How often a station chosen while the engine loads looks whether it has loaded.
constexpr int kAudioWaitPollMs = 50;
constexpr int kEveryUnitFor = 20;   // units after a drop with a try every unit
constexpr int kFastPhaseUnits = 60; // units after a drop with a try every one or two units
constexpr int kPcmFrameBytes = 4;   // S16LE stereo

bool isHttp(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

// Feeds one recording's encoder from whichever stream currently plays. A stream ending (a dropped
// connection about to be reopened) does not end the file; only the player closing the recording
// does, once. Audio reaches the encoder in whole frames only; it counts them, so that a song's
// start can be placed in the file.
class RecordingFeed final : public PcmConsumer {
public:
    explicit RecordingFeed(std::shared_ptr<LameEncoder> encoder) : encoder_(std::move(encoder)) {}

    void writePcm(const QByteArray& pcm) override {
        if (ended_)
            return;
        carry_.append(pcm);
        const qsizetype whole = carry_.size() - carry_.size() % kPcmFrameBytes;
        if (whole == 0)
            return;
        encoder_->writePcm(carry_.first(whole));
        frames_ += whole / kPcmFrameBytes;
        carry_.remove(0, whole);
    }
    // The next file of a recording split by song: the current one is closed at a frame boundary.
    void switchTo(std::shared_ptr<LameEncoder> next) {
        if (ended_)
            return;
        std::exchange(encoder_, std::move(next))->endOfPcm();
        frames_ = 0;
    }
    qint64 frames() const { return frames_; }
    void endOfPcm() override {
        carry_.clear(); // a frame a stream broke off mid-way is dropped, not half-written
        if (closing_ && !std::exchange(ended_, true))
            encoder_->endOfPcm();
    }
    // From now on the end of the current stream's audio ends the file.
    void closeAtEnd() { closing_ = true; }
    void closeNow() {
        closing_ = true;
        endOfPcm();
    }

private:
    std::shared_ptr<LameEncoder> encoder_;
    QByteArray carry_;
    qint64 frames_ = 0;
    bool closing_ = false;
    bool ended_ = false;
};

struct Recording {
    std::shared_ptr<LameEncoder> encoder;
    std::shared_ptr<RecordingFeed> feed;
    QString stem;   // the name asked for, before any " (2)"
    QString file;   // the MP3 being written
    QString title;  // the song playing in it
    int pieces = 1; // files so far when split by song
    std::unique_ptr<CueSheet> cue;
};
} // namespace

struct RadioPlayer::Impl {
    std::unique_ptr<AudioEngine> engine;
    bool started = false;
    bool shutDown = false; // the program is ending: audio does not start again
    PlaylistResolver resolver;
    bool resolving = false;
    std::unique_ptr<AudioStream> stream;
    QUrl streamUrl;
    bool contentChecked = false; // the stream's address was already looked at as a playlist
    Recording recording;
    std::vector<std::shared_ptr<LameEncoder>> finishing;
    QString encoderProgram = QStringLiteral("lame");
    QString recordingFolder;
    bool splitBySong = false;

    float volume = 1.0f;
    QByteArray stationUrl; // as chosen, for replay()
    StationInfo station;
    std::function<StationInfo(const QByteArray&)> lookup;
    RadioStatus status;
    bool everPlayed = false; // the current station gave sound since it was chosen
    QTimer retry;
    QTimer countdown; // the seconds to the next try, for the status line
    QElapsedTimer lostFor;
    int slowTries = 0;
    int reconnectUnitMs = 1000;
    StreamDiagnosis diagnosis;
    // A station chosen while the engine still loads: its libraries are looked for until they are
    // there, then the station plays.
    QTimer audioWait;
};

RadioPlayer::RadioPlayer(std::unique_ptr<AudioEngine> engine, QObject* parent)
    : QObject(parent), d_(std::make_unique<Impl>()) {
    d_->engine = std::move(engine);
    d_->retry.setSingleShot(true);
    connect(&d_->retry, &QTimer::timeout, this, &RadioPlayer::reconnectNow);
    d_->audioWait.setInterval(kAudioWaitPollMs);
    connect(&d_->audioWait, &QTimer::timeout, this, &RadioPlayer::playWhenAudioReady);
    d_->countdown.setInterval(1000);
    connect(&d_->countdown, &QTimer::timeout, this, &RadioPlayer::tickCountdown);
}

RadioPlayer::~RadioPlayer() {
    ShutdownAudio();
}

std::unique_ptr<RadioPlayer> RadioPlayer::createDefault(QObject* parent) {
    return std::make_unique<RadioPlayer>(MediaBackend::CreateAudioEngine(), parent);
}

bool RadioPlayer::AudioReady() const {
    return d_->started || !d_->engine || d_->engine->ready();
}

bool RadioPlayer::StartAudio() {
    if (!d_->started)
        d_->started = d_->engine && d_->engine->init();
    return d_->started && d_->engine->canDecodeWma();
}

MainWindowRadio::AudioProblem RadioPlayer::AudioFailure() const {
    if (!d_->started)
        return AudioProblem::Engine;
    return d_->engine->canDecodeWma() ? AudioProblem::None : AudioProblem::WmaPlugins;
}

void RadioPlayer::ShutdownAudio() {
    freeStream();
    setState(RadioStatus::State::Off);
    // Give the encoders a bounded time to complete their files; the program is about to exit.
    const QDeadlineTimer deadline(kShutdownEncoderWaitMs);
    for (const auto& encoder : std::vector(d_->finishing))
        encoder->waitForFinished(int(std::max<qint64>(0, deadline.remainingTime())));
    d_->finishing.clear();
    if (d_->started && d_->engine)
        d_->engine->shutdown();
    d_->started = false;
    d_->shutDown = true;
}

void RadioPlayer::PlayStream(const QByteArray& url) {
    playStation({}, url);
}

void RadioPlayer::showLookup(const QString& name) {
    freeStream();
    d_->stationUrl.clear();
    d_->everPlayed = false;
    d_->station = StationInfo{name, TitleEncoding::Auto};
    RadioStatus s;
    s.state = RadioStatus::State::LookingUp;
    s.station = name;
    setStatus(s);
}

void RadioPlayer::lookupFailed(const QString& reason) {
    if (d_->status.state == RadioStatus::State::LookingUp)
        setState(RadioStatus::State::NoConnection, reason);
}

QByteArray RadioPlayer::currentUrl() const {
    return d_->stationUrl;
}

void RadioPlayer::playStation(const QString& name, const QByteArray& url) {
    freeStream();
    d_->stationUrl = url;
    d_->everPlayed = false;
    d_->station = d_->lookup ? d_->lookup(url) : StationInfo{};
    if (!name.isEmpty())
        d_->station.name = name;
    RadioStatus fresh;
    fresh.station = d_->station.name;
    // A station chosen before the start-up's audio start starts the audio itself: at once when the
    // engine has loaded, otherwise once it has (the first start after installing builds GStreamer's
    // registry for seconds); the window never waits for it.
    if (!d_->started && !d_->shutDown && !url.trimmed().isEmpty()) {
        if (d_->engine && !d_->engine->ready()) {
            d_->engine->prepare();
            fresh.state = RadioStatus::State::Connecting;
            setStatus(fresh);
            d_->audioWait.start();
            return;
        }
        StartAudio();
    }
    if (!d_->started || url.trimmed().isEmpty()) {
        setStatus(fresh); // nothing chosen: the radio is simply off
        return;
    }
    // Station addresses are 8-bit text in the system's code page.
    const QUrl target(QString::fromLocal8Bit(url).trimmed(), QUrl::TolerantMode);
    if (!target.isValid() || target.scheme().isEmpty()) {
        fresh.state = RadioStatus::State::NoConnection;
        fresh.reason = QStringLiteral("not a stream address");
        qCInfo(lcAudio) << "radio: not a stream address:" << url;
        setStatus(fresh);
        return;
    }
    fresh.state = RadioStatus::State::Connecting;
    setStatus(fresh);
    if (PlaylistResolver::hasPlaylistSuffix(target))
        resolveThenOpen(target, false);
    else
        openNow(target, false);
}

void RadioPlayer::playWhenAudioReady() {
    if (!d_->engine->ready())
        return;
    d_->audioWait.stop();
    if (!d_->started)
        StartAudio();
    replay();
}

void RadioPlayer::StopStream() {
    freeStream();
    setState(RadioStatus::State::Off);
}

void RadioPlayer::SetVolume(float volume) {
    d_->volume = std::isnan(volume) ? 0.0f : std::clamp(volume, 0.0f, 1.0f);
    if (d_->stream)
        d_->stream->setVolume(d_->volume);
}

float RadioPlayer::volume() const {
    return d_->volume;
}

QByteArray RadioPlayer::stationUrl() const {
    return d_->stationUrl;
}

void RadioPlayer::replay() {
    if (!d_->stationUrl.trimmed().isEmpty())
        PlayStream(QByteArray(d_->stationUrl));
}

void RadioPlayer::setStationLookup(std::function<StationInfo(const QByteArray& url)> lookup) {
    d_->lookup = std::move(lookup);
}

RadioStatus RadioPlayer::status() const {
    return d_->status;
}

int RadioPlayer::reconnectDelayMs(qint64 sinceDropMs, int slowTry, int unitMs) {
    // A station that drops usually comes back within seconds (a restarted server, a moment of 503):
    // tries come quickly at first, and grow apart only once it has stayed away.
    if (sinceDropMs < qint64(kEveryUnitFor) * unitMs)
        return unitMs;
    if (sinceDropMs < qint64(kFastPhaseUnits) * unitMs)
        return 2 * unitMs;
    return unitMs * std::min(4 << std::clamp(slowTry, 0, 4), kMaxReconnectUnits);
}

void RadioPlayer::setReconnectUnit(int msecs) {
    d_->reconnectUnitMs = std::max(1, msecs);
}

bool RadioPlayer::StartRecording(const QString& name, QString* error) {
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const bool streamAlive = d_->stream && d_->stream->state() != AudioStream::State::Ended;
    if (!d_->started || (!streamAlive && !d_->resolving && !d_->retry.isActive()))
        return fail(UiText("RecordForm", "notPlaying", QStringLiteral("радио не играет.")));
    if (fileNameProblem(name) != FileNameProblem::None)
        return fail(
            UiText("UserMessages", "nameRefused", QStringLiteral("«%1» не годится как название файла."))
                .arg(name));
    endRecording();
    QString file;
    std::shared_ptr<LameEncoder> encoder = startEncoder(name, d_->status.title, &file, error);
    if (!encoder)
        return false;
    Recording r;
    r.encoder = encoder;
    r.feed = std::make_shared<RecordingFeed>(encoder);
    r.stem = name;
    r.file = file;
    r.title = d_->status.title;
    if (!d_->splitBySong) {
        const QFileInfo mp3(file);
        r.cue = std::make_unique<CueSheet>(mp3.path() + QLatin1Char('/') + mp3.completeBaseName() +
                                               QStringLiteral(".cue"),
                                           mp3.fileName(), stationName(), mp3.completeBaseName());
        r.cue->addTrack(r.title, 0);
    }
    d_->recording = std::move(r);
    if (streamAlive)
        d_->stream->attachConsumer(d_->recording.feed);
    return true;
}

// A new encoder writing a free file named after stem, tagged with the station and the song.
std::shared_ptr<LameEncoder> RadioPlayer::startEncoder(const QString& stem, const QString& title,
                                                       QString* file, QString* error) {
    QString why;
    const QString path =
        reserveFreeFile(recordingFolder(), stem, {QStringLiteral(".mp3"), QStringLiteral(".cue")}, &why);
    if (path.isEmpty()) {
        qCWarning(lcAudio) << "recording not started:" << why;
        if (error)
            *error = UiText("UserMessages", "fileFails", QStringLiteral("файл не создаётся (%1).")).arg(why);
        return nullptr;
    }
    // A deleter that never destroys the encoder inside its own finished() signal.
    std::shared_ptr<LameEncoder> encoder(new LameEncoder(d_->encoderProgram), [](LameEncoder* e) {
        if (e->isRunning())
            delete e;
        else
            e->deleteLater();
    });
    const QString station = stationName();
    if (!encoder->start(path, Mp3Tags{title, station, station}, error)) {
        QFile::remove(path); // the empty file reserved for it
        return nullptr;
    }
    connect(encoder.get(), &LameEncoder::finished, this,
            [this, raw = encoder.get()](bool ok) { onEncoderFinished(raw, ok); });
    *file = path;
    return encoder;
}

void RadioPlayer::StopRecording() {
    endRecording();
}

bool RadioPlayer::isRecording() const {
    return d_->recording.encoder != nullptr;
}

QString RadioPlayer::recordingFile() const {
    return d_->recording.file;
}

QString RadioPlayer::recordingFolder() const {
    return d_->recordingFolder.isEmpty() ? QDir::currentPath() : d_->recordingFolder;
}

void RadioPlayer::setRecordingFolder(const QString& folder) {
    d_->recordingFolder = folder;
}

QString RadioPlayer::stationName() const {
    return d_->status.station;
}

void RadioPlayer::setSplitBySong(bool split) {
    d_->splitBySong = split;
}

// A new song while recording: a track of the cue sheet, or the next file when split by song.
void RadioPlayer::recordTitle(const QString& title) {
    Recording& r = d_->recording;
    if (!r.encoder || title == r.title || title.isEmpty())
        return;
    r.title = title;
    if (r.cue) {
        r.cue->addTrack(title, r.feed->frames());
        return;
    }
    if (!d_->splitBySong || r.feed->frames() == 0)
        return;
    QString file, why;
    std::shared_ptr<LameEncoder> next =
        startEncoder(songFileStem(r.stem, r.pieces + 1, title), title, &file, &why);
    if (!next) {
        qCWarning(lcAudio) << "recording: the next song's file was not started, the current one goes on:"
                           << why;
        return;
    }
    ++r.pieces;
    r.feed->switchTo(next);
    if (r.encoder->isRunning())
        d_->finishing.push_back(r.encoder);
    r.encoder = std::move(next);
    r.file = file;
}

bool RadioPlayer::isOpening() const {
    return d_->resolving || d_->audioWait.isActive() ||
           (d_->stream && d_->stream->state() == AudioStream::State::Opening);
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
    d_->retry.stop();
    d_->audioWait.stop();
    d_->countdown.stop();
    d_->diagnosis.cancel();
    d_->resolver.cancel();
    d_->resolving = false;
    endRecording();
    // Freeing the stream hands its last audio to the encoder and closes the encoder's input.
    d_->stream.reset();
}

void RadioPlayer::endRecording() {
    Recording recording = std::exchange(d_->recording, {});
    if (!recording.encoder)
        return;
    if (d_->stream && d_->stream->state() != AudioStream::State::Ended) {
        // The audio still in flight reaches the file, then its end closes it.
        recording.feed->closeAtEnd();
        d_->stream->detachConsumer();
    } else {
        recording.feed->closeNow();
    }
    if (recording.encoder->isRunning())
        d_->finishing.push_back(std::move(recording.encoder));
    emit recordingEnded();
}

void RadioPlayer::onEncoderFinished(LameEncoder* encoder, bool ok) {
    if (d_->recording.encoder.get() == encoder) {
        // The encoder died while recording: stop feeding it, and say so.
        const QString why = encoder->errorText().isEmpty()
                                ? QStringLiteral("the MP3 encoder ended while recording")
                                : encoder->errorText().section(QLatin1Char('\n'), -1).trimmed();
        const QString file = d_->recording.file;
        endRecording();
        if (!ok) {
            if (QFileInfo(file).size() == 0)
                QFile::remove(file); // the empty file reserved for it, nothing in it
            emit recordingFailed(why);
        }
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
            qCInfo(lcAudio) << "radio: no stream found in" << url.toDisplayString();
            setState(RadioStatus::State::NoConnection, QStringLiteral("no stream in the playlist"));
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
        if (d_->everPlayed) {
            scheduleReconnect(QStringLiteral("the engine cannot open the stream"));
            return;
        }
        endRecording();
        setState(RadioStatus::State::NoConnection, QStringLiteral("the engine cannot open the stream"));
        return;
    }
    AudioStream* stream = d_->stream.get();
    stream->setVolume(d_->volume);
    connect(stream, &AudioStream::started, this, [this, stream] {
        if (stream != d_->stream.get())
            return;
        d_->everPlayed = true;
        setState(RadioStatus::State::Playing);
    });
    connect(stream, &AudioStream::ended, this,
            [this, stream](AudioStream::Failure why) { onStreamEnded(stream, int(why)); });
    connect(stream, &AudioStream::titleBytes, this, [this, stream](const QByteArray& raw) {
        if (stream == d_->stream.get())
            setTitle(decodeTitle(raw, d_->station.encoding));
    });
    connect(stream, &AudioStream::tags, this,
            [this, stream](const QString& title, const QString& artist, const QString& organization) {
                if (stream != d_->stream.get())
                    return;
                if (d_->status.station.isEmpty() && !organization.isEmpty()) {
                    RadioStatus s = d_->status;
                    s.station = organization;
                    setStatus(s);
                }
                if (!title.isEmpty())
                    setTitle(artist.isEmpty() ? title : artist + QStringLiteral(" - ") + title);
            });
    stream->play();
    if (d_->recording.encoder)
        stream->attachConsumer(d_->recording.feed); // recording asked for before this stream opened
}

void RadioPlayer::onStreamEnded(AudioStream* stream, int whyCode) {
    if (stream != d_->stream.get())
        return;
    const auto why = AudioStream::Failure(whyCode);
    const QString reason = stream->reason();
    // Some servers hand out playlists under addresses without a playlist suffix.
    if (why == AudioStream::Failure::NotAudio && !d_->contentChecked && isHttp(d_->streamUrl) &&
        !d_->everPlayed) {
        endRecording();
        resolveThenOpen(d_->streamUrl, true);
        return;
    }
    const bool endOfFile = why == AudioStream::Failure::None && stream->bounded();
    if (d_->everPlayed && !endOfFile) {
        // A live station dropped: it comes back by itself, the recording waits for it.
        scheduleReconnect(reason);
        return;
    }
    endRecording();
    if (endOfFile || (d_->everPlayed && why == AudioStream::Failure::None)) {
        setState(RadioStatus::State::Ended, reason);
    } else {
        setState(RadioStatus::State::NoConnection, reason);
        diagnose();
    }
}

void RadioPlayer::scheduleReconnect(const QString& reason) {
    // The ended stream is freed once its signal has returned.
    if (d_->stream)
        d_->stream.release()->deleteLater();
    RadioStatus s = d_->status;
    const bool first = s.state != RadioStatus::State::Reconnecting;
    if (first) {
        d_->lostFor.start();
        d_->slowTries = 0;
        s.cause = RadioStatus::Cause::Unknown;
        s.httpCode = 0;
    }
    s.state = RadioStatus::State::Reconnecting;
    s.attempt = first ? 1 : d_->status.attempt + 1;
    s.reason = reason;
    const qint64 since = d_->lostFor.elapsed();
    const int delay = reconnectDelayMs(since, d_->slowTries, d_->reconnectUnitMs);
    if (since >= qint64(kFastPhaseUnits) * d_->reconnectUnitMs)
        ++d_->slowTries;
    s.retryIn = std::max(1, (delay + 999) / 1000);
    qCInfo(lcAudio) << "radio: stream lost (" << reason << "), try" << s.attempt << "in" << delay << "ms";
    setStatus(s);
    d_->retry.start(delay);
    d_->countdown.start();
    diagnose();
}

void RadioPlayer::reconnectNow() {
    d_->countdown.stop();
    if (d_->stream || !d_->started)
        return;
    RadioStatus s = d_->status;
    s.retryIn = 0; // a try under way
    setStatus(s);
    openNow(d_->streamUrl, d_->contentChecked);
}

void RadioPlayer::tickCountdown() {
    if (!d_->retry.isActive() || d_->status.state != RadioStatus::State::Reconnecting) {
        d_->countdown.stop();
        return;
    }
    RadioStatus s = d_->status;
    s.retryIn = std::max(1, (d_->retry.remainingTime() + 999) / 1000);
    setStatus(s);
}

// The engine names most network failures only as a stream error: a look at the server tells the
// listener (in the status's tooltip) and the log what really happened.
void RadioPlayer::diagnose() {
    if (!isHttp(d_->streamUrl))
        return;
    d_->diagnosis.diagnose(d_->streamUrl, [this](const StreamDiagnosis::Finding& f) {
        qCInfo(lcAudio).noquote() << "radio:" << d_->streamUrl.toDisplayString() << "failed ("
                                  << d_->status.reason << "); its server:" << f.words;
        const auto state = d_->status.state;
        if (f.cause == RadioStatus::Cause::Unknown ||
            (state != RadioStatus::State::Reconnecting && state != RadioStatus::State::NoConnection))
            return;
        RadioStatus s = d_->status;
        s.cause = f.cause;
        s.httpCode = f.httpCode;
        setStatus(s);
    });
}

void RadioPlayer::setStatus(const RadioStatus& status) {
    if (status == d_->status)
        return;
    d_->status = status;
    emit statusChanged(d_->status);
}

void RadioPlayer::setState(RadioStatus::State state, const QString& reason) {
    RadioStatus s = d_->status;
    s.state = state;
    s.attempt = 0;
    s.retryIn = 0;
    s.cause = RadioStatus::Cause::Unknown;
    s.httpCode = 0;
    s.reason = reason;
    setStatus(s);
}

void RadioPlayer::setTitle(const QString& title) {
    RadioStatus s = d_->status;
    s.title = title.simplified();
    setStatus(s);
    recordTitle(s.title);
}
