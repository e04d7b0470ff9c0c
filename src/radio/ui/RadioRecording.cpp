#include "radio/ui/RadioRecording.h"

#include "platform/MessageSink.h"
#include "radio/RadioRecorder.h"
#include "radio/ui/NamePrompt.h"

#include <QAbstractButton>
#include <QLineEdit>

RadioRecording::RadioRecording(RecordingControls controls, NamePrompt& prompt, RadioRecorder& recorder,
                               MessageSink& messages, QObject* parent)
    : QObject(parent), c_(controls), prompt_(prompt), recorder_(recorder), messages_(messages) {}

void RadioRecording::StartRecording() {
    if (!prompt_.confirmName())
        return;
    QString why;
    if (!recorder_.StartRecording(c_.name->text(), &why)) {
        messages_.show(why.isEmpty() ? QStringLiteral("Запись не началась.")
                                     : QStringLiteral("Запись не началась: ") + why);
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
