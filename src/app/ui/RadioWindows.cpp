#include "app/ui/RadioWindows.h"

#include "app/ui/TForm1.h"
#include "radio/ui/RadioRecording.h"
#include "radio/ui/TMyRadioForm.h"
#include "radio/ui/TRadioForm.h"
#include "radio/ui/TRadioSaveForm.h"

#include <QAbstractButton>

RadioWindows::RadioWindows(TForm1& main, SettingsFile& settings, RadioRecorder& recorder,
                           MessageSink& messages, LangLookup lang) {
    const RecordingControls recordingControls = main.recordingControls();
    namePrompt_ = std::make_unique<TRadioSaveForm>(recordingControls.name, &main);
    miniRadio_ = std::make_unique<TRadioForm>(main.radioStrip());
    myRadio_ = std::make_unique<TMyRadioForm>(settings, messages, main.stationHandOver(), &main);
    recording_ = std::make_unique<RadioRecording>(recordingControls, *namePrompt_, recorder, messages,
                                                  std::move(lang));
    QObject::connect(recordingControls.record, &QAbstractButton::clicked, recording_.get(),
                     &RadioRecording::StartRecording);
    QObject::connect(recordingControls.stop, &QAbstractButton::clicked, recording_.get(),
                     &RadioRecording::StopRecording);
    QObject::connect(&main, &TForm1::miniRadioRequested, miniRadio_.get(), &TRadioForm::OpenMiniRadio);
    QObject::connect(&main, &TForm1::myRadioRequested, myRadio_.get(),
                     [myRadio = myRadio_.get()] { myRadio->exec(); });
}

// Reverse order of creation: the recording handler first, as it uses the prompt.
RadioWindows::~RadioWindows() {
    recording_.reset();
    myRadio_.reset();
    miniRadio_.reset();
    namePrompt_.reset();
}
