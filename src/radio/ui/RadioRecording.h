#pragma once
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
// an encoder really runs: a cancelled prompt or a refused start leaves the record button.
class RadioRecording : public QObject {
    Q_OBJECT
public:
    RadioRecording(RecordingControls controls, NamePrompt& prompt, RadioRecorder& recorder,
                   MessageSink& messages, QObject* parent = nullptr);

    void StartRecording();
    void StopRecording();

private:
    RecordingControls c_;
    NamePrompt& prompt_;
    RadioRecorder& recorder_;
    MessageSink& messages_;
};
