#pragma once
#include "platform/LangLookup.h"

#include <QObject>

class QAbstractButton;
class QLineEdit;
class MessageSink;
class NamePrompt;
class RadioRecorder;

// The main window's record and stop-recording pair, the recording name edit beside them.
struct RecordingControls {
    QAbstractButton* record = nullptr;
    QAbstractButton* stop = nullptr;
    QLineEdit* name = nullptr;
};

// Start and stop of a recording from the radio strip. The pair shows the stop button only while
// an encoder really runs: a cancelled prompt, a name that is no file name, a refused start or an
// encoder that fails leaves (or brings back) the record button, and the user is told why. The
// prompt offers the station and the start time as the name.
class RadioRecording : public QObject {
    Q_OBJECT
public:
    RadioRecording(RecordingControls controls, NamePrompt& prompt, RadioRecorder& recorder,
                   MessageSink& messages, LangLookup lang = {}, QObject* parent = nullptr);

    void StartRecording();
    void StopRecording();
    // The recorder gave up on its own (the encoder failed): the record button comes back.
    void recordingFailed(const QString& reason);
    // The recording ended without the stop button (the TV channel it recorded was left, or its
    // stream failed): the record button comes back, and message, when there is one, is shown.
    void recordingEnded(const QString& message);

private:
    QString text(const QString& key) const;

    RecordingControls c_;
    NamePrompt& prompt_;
    RadioRecorder& recorder_;
    MessageSink& messages_;
    LangLookup lang_;
    bool keepTyped_ = false; // the last name was refused: offer it again to be corrected
};
