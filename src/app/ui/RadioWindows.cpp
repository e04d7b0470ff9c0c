#include "app/ui/RadioWindows.h"

#include "app/ui/TForm1.h"
#include "radio/ui/RadioRecording.h"
#include "radio/ui/TMyRadioForm.h"
#include "radio/ui/TRadioForm.h"
#include "radio/ui/TRadioSaveForm.h"

#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

RadioWindows::RadioWindows(TForm1& main, SettingsFile& settings, RadioRecorder& recorder,
                           MessageSink& messages)
    : namePrompt_(std::make_unique<TRadioSaveForm>(main.sEdit1, &main)),
      miniRadio_(std::make_unique<TRadioForm>(MainRadioStrip{&main, main.sSpeedButton10, main.sSpeedButton11,
                                                             main.sSpeedButton12, main.sScrollBar1})),
      myRadio_(std::make_unique<TMyRadioForm>(settings, messages,
                                              StationHandOver{&main.PendingStreamUrl, main.Button1}, &main)),
      recording_(std::make_unique<RadioRecording>(
          RecordingControls{main.sSpeedButton10, main.sSpeedButton11, main.sEdit1}, *namePrompt_, recorder,
          messages)) {
    QObject::connect(main.sSpeedButton10, &QToolButton::clicked, recording_.get(),
                     &RadioRecording::StartRecording);
    QObject::connect(main.sSpeedButton11, &QToolButton::clicked, recording_.get(),
                     &RadioRecording::StopRecording);
    QObject::connect(main.sSpeedButton13, &QToolButton::clicked, miniRadio_.get(),
                     &TRadioForm::OpenMiniRadio);
    QObject::connect(main.sSpeedButton14, &QToolButton::clicked, myRadio_.get(),
                     [myRadio = myRadio_.get()] { myRadio->exec(); });
}

// Reverse order of creation: the recording handler first, as it uses the prompt.
RadioWindows::~RadioWindows() {
    recording_.reset();
    myRadio_.reset();
    miniRadio_.reset();
    namePrompt_.reset();
}
