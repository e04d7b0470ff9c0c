#include "radio/ui/RadioRecording.h"

#include "platform/FreeFileName.h"
#include "platform/MessageSink.h"
#include "platform/UiText.h"
#include "radio/RadioRecorder.h"
#include "radio/RecordingName.h"
#include "radio/ui/NamePrompt.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QDir>
#include <QLineEdit>

namespace {
QString nameProblemKey(FileNameProblem problem) {
    switch (problem) {
    case FileNameProblem::Empty:
        return QStringLiteral("nameempty");
    case FileNameProblem::Separator:
        return QStringLiteral("nameseparator");
    case FileNameProblem::DotDot:
        return QStringLiteral("namedots");
    case FileNameProblem::Control:
        return QStringLiteral("namecontrol");
    case FileNameProblem::TooLong:
        return QStringLiteral("nametoolong");
    case FileNameProblem::None:
        break;
    }
    return {};
}

// The Russian texts stand where a pack lacks the key.
QString russian(const QString& key) {
    static const QHash<QString, QString> texts{
        {QStringLiteral("nameempty"), QStringLiteral("Название файла не может быть пустым.")},
        {QStringLiteral("nameseparator"),
         QStringLiteral("В названии файла не может быть знаков «/» и «\\».")},
        {QStringLiteral("namedots"), QStringLiteral("Название файла не может содержать «..».")},
        {QStringLiteral("namecontrol"),
         QStringLiteral("В названии файла не может быть управляющих символов.")},
        {QStringLiteral("nametoolong"), QStringLiteral("Название файла слишком длинное.")},
        {QStringLiteral("failed"),
         QStringLiteral("Запись остановлена: программа кодирования MP3 завершилась с "
                        "ошибкой.\n%1")},
        {QStringLiteral("folder"), QStringLiteral("Файл будет записан в папку:\n%1")},
        {QStringLiteral("untitled"), QStringLiteral("Запись")},
    };
    return texts.value(key);
}
} // namespace

RadioRecording::RadioRecording(RecordingControls controls, NamePrompt& prompt, RadioRecorder& recorder,
                               MessageSink& messages, LangLookup lang, QObject* parent)
    : QObject(parent), c_(controls), prompt_(prompt), recorder_(recorder), messages_(messages),
      lang_(std::move(lang)) {}

QString RadioRecording::text(const QString& key) const {
    if (lang_) {
        const QString t = lang_(QStringLiteral("Recording"), key);
        if (!t.isEmpty() && t != QLatin1String("0"))
            return QString(t).replace(QLatin1String("\\n"),
                                      QLatin1String("\n")); // a pack line holds one line
    }
    return russian(key);
}

void RadioRecording::StartRecording() {
    const QString station = recorder_.stationName();
    const QString suggestion =
        keepTyped_ || station.isEmpty()
            ? QString()
            : suggestedRecordingName(station, QDateTime::currentDateTime(), text(QStringLiteral("untitled")));
    QString folder = recorder_.recordingFolder();
    if (folder.isEmpty())
        folder = QDir::currentPath();
    prompt_.prepare(suggestion, text(QStringLiteral("folder")).arg(QDir::toNativeSeparators(folder)));
    if (!prompt_.confirmName())
        return;
    const QString name = c_.name->text();
    const FileNameProblem problem = fileNameProblem(name);
    keepTyped_ = problem != FileNameProblem::None;
    if (keepTyped_) {
        messages_.show(text(nameProblemKey(problem)));
        return;
    }
    QString why;
    if (!recorder_.StartRecording(name, &why)) {
        messages_.show(
            why.isEmpty()
                ? UiText("RecordForm", "notStarted", QStringLiteral("Запись не началась."))
                : UiText("RecordForm", "notStartedWhy", QStringLiteral("Запись не началась: %1")).arg(why));
        return;
    }
    c_.record->setVisible(false);
    c_.stop->setVisible(true);
}

void RadioRecording::StopRecording() {
    c_.record->setVisible(true);
    c_.stop->setVisible(false);
    recorder_.StopRecording();
}

void RadioRecording::recordingFailed(const QString& reason) {
    c_.record->setVisible(true);
    c_.stop->setVisible(false);
    messages_.show(text(QStringLiteral("failed")).arg(reason));
}

void RadioRecording::recordingEnded(const QString& message) {
    c_.record->setVisible(true);
    c_.stop->setVisible(false);
    if (!message.isEmpty())
        messages_.show(message);
}
