#include "app/ui/RadioWiring.h"

#include "app/ui/TForm1.h"
#include "radio/ui/RadioRecording.h"
#include "radio/ui/TMyRadioForm.h"
#include "radio/ui/TRadioForm.h"
#include "radio/ui/TRadioSaveForm.h"

#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

std::unique_ptr<TRadioSaveForm> CreateRadioSaveForm(TForm1& main) {
    return std::make_unique<TRadioSaveForm>(main.sEdit1, &main);
}

std::unique_ptr<TRadioForm> CreateRadioForm(TForm1& main) {
    return std::make_unique<TRadioForm>(MainRadioStrip{&main, main.sSpeedButton10, main.sSpeedButton11,
                                                       main.sSpeedButton12, main.sScrollBar1});
}

std::unique_ptr<TMyRadioForm> CreateMyRadioForm(TForm1& main, SettingsFile& settings, MessageSink& messages) {
    return std::make_unique<TMyRadioForm>(settings, messages,
                                          StationHandOver{&main.PendingStreamUrl, main.Button1}, &main);
}

std::unique_ptr<RadioRecording> ConnectRadioStrip(TForm1& main, TRadioSaveForm& prompt, TRadioForm& mini,
                                                  TMyRadioForm& myRadio, RadioRecorder& recorder,
                                                  MessageSink& messages) {
    auto recording = std::make_unique<RadioRecording>(
        RecordingControls{main.sSpeedButton10, main.sSpeedButton11, main.sEdit1}, prompt, recorder, messages);
    QObject::connect(main.sSpeedButton10, &QToolButton::clicked, recording.get(),
                     &RadioRecording::StartRecording);
    QObject::connect(main.sSpeedButton11, &QToolButton::clicked, recording.get(),
                     &RadioRecording::StopRecording);
    QObject::connect(main.sSpeedButton13, &QToolButton::clicked, &mini, &TRadioForm::OpenMiniRadio);
    QObject::connect(main.sSpeedButton14, &QToolButton::clicked, &myRadio, [&myRadio] { myRadio.exec(); });
    return recording;
}
