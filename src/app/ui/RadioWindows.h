#pragma once
#include "platform/LangLookup.h"

#include <memory>

class MessageSink;
class RadioRecorder;
class RadioRecording;
class SettingsFile;
class TForm1;
class TMyRadioForm;
class TRadioForm;
class TRadioSaveForm;

// The windows behind the main window's radio strip, made in their fixed order (recording-name
// prompt, mini radio, My Radio), with the strip's record, stop-recording, mini radio and My Radio
// buttons given their actions. The main window, settings, recorder and messages outlive it.
class RadioWindows {
public:
    RadioWindows(TForm1& main, SettingsFile& settings, RadioRecorder& recorder, MessageSink& messages,
                 LangLookup lang = {});
    ~RadioWindows();
    RadioWindows(const RadioWindows&) = delete;
    RadioWindows& operator=(const RadioWindows&) = delete;

    TRadioSaveForm& namePrompt() const { return *namePrompt_; }
    TRadioForm& miniRadio() const { return *miniRadio_; }
    TMyRadioForm& myRadio() const { return *myRadio_; }
    RadioRecording& recording() const { return *recording_; }

private:
    std::unique_ptr<TRadioSaveForm> namePrompt_;
    std::unique_ptr<TRadioForm> miniRadio_;
    std::unique_ptr<TMyRadioForm> myRadio_;
    std::unique_ptr<RadioRecording> recording_;
};
