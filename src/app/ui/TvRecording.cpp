#include "app/ui/TvRecording.h"

#include "platform/LogCategories.h"
#include "platform/UiText.h"
#include "radio/RadioPlayer.h"
#include "tv/TvScreen.h"

#include <QDir>

namespace {
// At exit, how long the muxer may take to complete the file.
constexpr std::chrono::milliseconds kExitWait{3000};
} // namespace

TvRecording::TvRecording(RadioPlayer& radio, TvScreen& tv, std::unique_ptr<StreamRecorder> recorder,
                         std::function<QString()> channelName, QObject* parent)
    : QObject(parent), radio_(radio), tv_(tv), recorder_(std::move(recorder)),
      channelName_(std::move(channelName)) {
    connect(recorder_.get(), &StreamRecorder::failed, this, &TvRecording::failed);
    connect(&tv_, &TvScreen::activeChanged, this, [this](bool active) {
        if (!active)
            channelLeft();
    });
    connect(&tv_, &TvScreen::channelStarted, this, &TvRecording::channelLeft);
}

TvRecording::~TvRecording() {
    recorder_->disconnect(this);
    recorder_->stop();
    if (!recorder_->waitForStopped(kExitWait))
        qCWarning(lcTv) << "exit: a recording did not complete within" << kExitWait.count() << "ms";
}

bool TvRecording::StartRecording(const QString& name, QString* error) {
    if (!tv_.isPlaying() || !tv_.currentSource())
        return radio_.StartRecording(name, error);
    // One recording at a time: the radio's ends when the TV starts anyway.
    QString folder = radio_.recordingFolder();
    if (folder.isEmpty())
        folder = QDir::currentPath();
    return recorder_->start(*tv_.currentSource(), folder, name, error);
}

void TvRecording::StopRecording() {
    if (recorder_->isRecording())
        recorder_->stop();
    else
        radio_.StopRecording();
}

QString TvRecording::recordingFolder() const {
    return radio_.recordingFolder();
}

QString TvRecording::stationName() const {
    if (tv_.isPlaying())
        return channelName_ ? channelName_() : tv_.channelName();
    return radio_.stationName();
}

void TvRecording::channelLeft() {
    if (!recorder_->isRecording())
        return;
    qCInfo(lcTv) << "recording ends with the channel:" << recorder_->filePath();
    recorder_->stop();
    emit ended(QString());
}

void TvRecording::failed(StreamRecorder::Failure failure, const QString& detail, bool wroteAnything) {
    using F = StreamRecorder::Failure;
    const QString file = QDir::toNativeSeparators(recorder_->filePath());
    if (failure == F::Ended) {
        emit ended(
            UiText("TvRecording", "ended",
                   QStringLiteral("Запись канала закончена: поток прекратился. Запись сохранена в файл %1"))
                .arg(file));
        return;
    }
    QString why;
    switch (failure) {
    case F::HttpError:
        why =
            UiText("TvRecording", "httpError", QStringLiteral("сервер ответил ошибкой HTTP %1")).arg(detail);
        break;
    case F::Unreachable:
        why =
            UiText("TvRecording", "unreachable", QStringLiteral("нет соединения с сервером %1")).arg(detail);
        break;
    case F::NoStream:
        why =
            UiText("TvRecording", "noStream", QStringLiteral("из потока не пришло ни изображения, ни звука"));
        break;
    case F::WriteError:
        why = UiText("TvRecording", "writeError", QStringLiteral("не удаётся записать файл %1")).arg(file);
        break;
    case F::Ended:
    case F::Other:
        why = detail;
        break;
    }
    emit ended(
        wroteAnything
            ? UiText("TvRecording", "stopped", QStringLiteral("Запись канала остановлена: %1")).arg(why)
            : UiText("TvRecording", "notStarted", QStringLiteral("Запись канала не началась: %1")).arg(why));
}
