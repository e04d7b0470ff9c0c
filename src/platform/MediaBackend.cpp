#include "platform/MediaBackend.h"

#include "platform/LogCategories.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QString>
#include <QTimer>

#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>

#include <future>
#include <system_error>

// Defined by the module; present here only where GStreamer's code is linked in (tests, tools).
extern "C" {
__attribute__((weak)) AudioEngine* zelmo_gst_new_audio_engine();
__attribute__((weak)) VideoPlayer* zelmo_gst_new_video_player();
__attribute__((weak)) StreamRecorder* zelmo_gst_new_stream_recorder();
}

namespace {

using NewAudioEngine = AudioEngine* (*)();
using NewVideoPlayer = VideoPlayer* (*)();
using NewStreamRecorder = StreamRecorder* (*)();

// The loading thread's niceness (19 is the lowest): it only takes the processor nobody else wants
// while the window is built. GStreamer's own loading thread is started from it and inherits it.
constexpr int kLoaderNice = 19;
// How long a first TV channel waits for a load still under way (the caller does not wait), and
// how often it looks.
constexpr std::chrono::milliseconds kVideoWait{10000};
constexpr int kVideoPollMs = 50;

struct Loaded {
    NewAudioEngine newAudioEngine = nullptr;
    NewVideoPlayer newVideoPlayer = nullptr;
    NewStreamRecorder newStreamRecorder = nullptr; // null in a module without recording
    // The first engine, made on the loading thread, so that GStreamer starts loading at once.
    std::unique_ptr<AudioEngine> firstEngine;
    QString error;
};

QStringList modulePaths() {
    const QByteArray chosen = qgetenv("ZELMO_GST_MODULE");
    if (!chosen.isEmpty())
        return {QString::fromLocal8Bit(chosen)};
    const QString dir =
        QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
    return {dir + QLatin1Char('/') + QLatin1String(MediaBackend::kModuleFile),
            dir + QStringLiteral("/" ZELMO_MODULE_FROM_BIN "/") + QLatin1String(MediaBackend::kModuleFile)};
}

std::shared_ptr<Loaded> load() {
    auto loaded = std::make_shared<Loaded>();
    if (zelmo_gst_new_audio_engine && zelmo_gst_new_video_player) {
        loaded->newAudioEngine = zelmo_gst_new_audio_engine;
        loaded->newVideoPlayer = zelmo_gst_new_video_player;
        loaded->newStreamRecorder = zelmo_gst_new_stream_recorder;
    } else {
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kLoaderNice);
        QStringList failures;
        for (const QString& path : modulePaths()) {
            // Local: nothing of GStreamer's becomes visible to the rest of the program.
            void* module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
            if (!module) {
                failures << QString::fromLocal8Bit(dlerror());
                continue;
            }
            loaded->newAudioEngine =
                reinterpret_cast<NewAudioEngine>(dlsym(module, "zelmo_gst_new_audio_engine"));
            loaded->newVideoPlayer =
                reinterpret_cast<NewVideoPlayer>(dlsym(module, "zelmo_gst_new_video_player"));
            loaded->newStreamRecorder =
                reinterpret_cast<NewStreamRecorder>(dlsym(module, "zelmo_gst_new_stream_recorder"));
            if (!loaded->newAudioEngine || !loaded->newVideoPlayer)
                failures << path + QStringLiteral(": not the program's GStreamer module");
            break; // the module stays loaded for the process
        }
        if (!loaded->newAudioEngine || !loaded->newVideoPlayer) {
            loaded->newAudioEngine = nullptr;
            loaded->newVideoPlayer = nullptr;
            loaded->error = QStringLiteral("the GStreamer module cannot be loaded: ") +
                            failures.join(QStringLiteral("; "));
            qCWarning(lcAudio) << loaded->error;
            return loaded;
        }
    }
    loaded->firstEngine.reset(loaded->newAudioEngine());
    return loaded;
}

std::shared_future<std::shared_ptr<Loaded>>& loading() {
    static std::shared_future<std::shared_ptr<Loaded>> future;
    return future;
}

// An audio engine that becomes the module's once it has loaded.
class ModuleAudioEngine final : public AudioEngine {
public:
    bool init() override {
        MediaBackend::StartLoading();
        take(); // waits for the load, as GStreamer's own init waits for its registry
        return engine_ && engine_->init();
    }
    void prepare() override { MediaBackend::StartLoading(); }
    bool ready() const override {
        if (!loading().valid() || loading().wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            return false;
        take();
        return !engine_ || engine_->ready();
    }
    void shutdown() override {
        if (engine_)
            engine_->shutdown();
    }
    bool canDecodeWma() const override { return engine_ && engine_->canDecodeWma(); }
    std::unique_ptr<AudioStream> open(const QUrl& url) override {
        return engine_ ? engine_->open(url) : nullptr;
    }

private:
    void take() const {
        if (taken_)
            return;
        taken_ = true;
        const std::shared_ptr<Loaded> loaded = loading().get();
        if (loaded->firstEngine)
            engine_ = std::move(loaded->firstEngine);
        else if (loaded->newAudioEngine)
            engine_.reset(loaded->newAudioEngine());
    }

    // Taken from the load on first use, also by the const ready().
    mutable std::unique_ptr<AudioEngine> engine_;
    mutable bool taken_ = false;
};

// A video player that becomes the module's at its first play(). A play() while the module still
// loads returns at once: the stream opens once the load is done, or fails after kVideoWait.
class ModuleVideoPlayer final : public VideoPlayer {
public:
    ModuleVideoPlayer() {
        poll_.setInterval(kVideoPollMs);
        connect(&poll_, &QTimer::timeout, this, &ModuleVideoPlayer::checkLoaded);
    }

    using VideoPlayer::play;
    void play(const StreamSource& source) override {
        if (real_) {
            real_->setViewSize(viewSize_);
            real_->play(source);
            mirror();
            return;
        }
        frame_ = QImage();
        displaySize_ = QSize();
        frameCount_ = 0;
        httpStatus_ = 0;
        reason_.clear();
        pending_ = source;
        waiting_ = true;
        MediaBackend::StartLoading();
        waited_.start();
        setStatus(Status::Connecting);
        checkLoaded();
        if (waiting_)
            poll_.start();
    }
    void stop() override {
        poll_.stop();
        waiting_ = false;
        if (real_) {
            real_->stop();
            mirror();
        } else {
            setStatus(Status::Idle);
        }
    }
    bool waitForStopped(std::chrono::milliseconds timeout) override {
        return !real_ || real_->waitForStopped(timeout);
    }
    void setViewSize(QSize size) override {
        viewSize_ = size;
        if (real_)
            real_->setViewSize(size);
    }
    void setVolume(double volume) override {
        volume_ = volume;
        if (real_)
            real_->setVolume(volume);
    }

private:
    void checkLoaded() {
        if (loading().wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
            if (waited_.hasExpired(kVideoWait.count())) {
                poll_.stop();
                waiting_ = false;
                reason_ = QStringLiteral("GStreamer is still loading");
                qCWarning(lcTv) << reason_ << "after" << kVideoWait.count() << "ms";
                setStatus(Status::Failed);
            }
            return;
        }
        poll_.stop();
        if (!real_)
            create();
        if (!waiting_)
            return;
        waiting_ = false;
        if (!real_) {
            setStatus(Status::Failed);
            return;
        }
        real_->setViewSize(viewSize_);
        real_->play(pending_);
        mirror();
    }
    void create() {
        const std::shared_ptr<Loaded> loaded = loading().get();
        if (!loaded->newVideoPlayer) {
            reason_ = loaded->error;
            return;
        }
        real_.reset(loaded->newVideoPlayer());
        real_->setVolume(volume_); // the first stream starts at the volume set before it
        connect(real_.get(), &VideoPlayer::frameChanged, this, [this] {
            mirror();
            emit frameChanged();
        });
        connect(real_.get(), &VideoPlayer::statusChanged, this, [this](Status status) {
            mirror();
            emit statusChanged(status);
        });
    }
    void mirror() {
        status_ = real_->status();
        httpStatus_ = real_->httpStatus();
        reason_ = real_->reason();
        frame_ = real_->frame();
        displaySize_ = real_->displaySize();
        frameCount_ = real_->frameCount();
    }
    void setStatus(Status status) {
        if (status_ == status)
            return;
        status_ = status;
        emit statusChanged(status);
    }

    std::unique_ptr<VideoPlayer> real_;
    QSize viewSize_;
    StreamSource pending_; // asked for while the module loads
    bool waiting_ = false;
    QTimer poll_;
    QElapsedTimer waited_;
};

// A stream recorder that becomes the module's at its first start().
class ModuleStreamRecorder final : public StreamRecorder {
public:
    bool start(const StreamSource& source, const QString& folder, const QString& stem,
               QString* error) override {
        MediaBackend::StartLoading();
        if (!real_ && loading().wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
            const std::shared_ptr<Loaded> loaded = loading().get();
            if (loaded->newStreamRecorder) {
                real_.reset(loaded->newStreamRecorder());
                connect(real_.get(), &StreamRecorder::failed, this, &StreamRecorder::failed);
            }
        }
        if (!real_) {
            if (error)
                *error = QStringLiteral("GStreamer is not loaded");
            return false;
        }
        return real_->start(source, folder, stem, error);
    }
    void stop() override {
        if (real_)
            real_->stop();
    }
    bool isRecording() const override { return real_ && real_->isRecording(); }
    QString filePath() const override { return real_ ? real_->filePath() : QString(); }
    bool waitForStopped(std::chrono::milliseconds timeout) override {
        return !real_ || real_->waitForStopped(timeout);
    }

private:
    std::unique_ptr<StreamRecorder> real_;
};

} // namespace

namespace MediaBackend {

void StartLoading() {
    if (loading().valid())
        return;
    try {
        loading() = std::async(std::launch::async, load).share();
    } catch (const std::system_error& e) {
        qCWarning(lcAudio) << "no thread to load GStreamer on, loading it now:" << e.what();
        std::promise<std::shared_ptr<Loaded>> now;
        now.set_value(load());
        loading() = now.get_future().share();
    }
}

std::unique_ptr<AudioEngine> CreateAudioEngine() {
    return std::make_unique<ModuleAudioEngine>();
}

std::unique_ptr<VideoPlayer> CreateVideoPlayer() {
    return std::make_unique<ModuleVideoPlayer>();
}

std::unique_ptr<StreamRecorder> CreateStreamRecorder() {
    return std::make_unique<ModuleStreamRecorder>();
}

} // namespace MediaBackend
