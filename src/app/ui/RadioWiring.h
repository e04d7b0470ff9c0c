#pragma once
#include <memory>

class MessageSink;
class RadioRecorder;
class RadioRecording;
class SettingsFile;
class TForm1;
class TMyRadioForm;
class TRadioForm;
class TRadioSaveForm;

// The radio windows made for the main window whose radio strip they drive.
std::unique_ptr<TRadioSaveForm> CreateRadioSaveForm(TForm1& main);
std::unique_ptr<TRadioForm> CreateRadioForm(TForm1& main);
std::unique_ptr<TMyRadioForm> CreateMyRadioForm(TForm1& main, SettingsFile& settings, MessageSink& messages);

// Gives the strip's record, stop-recording, mini radio and My Radio buttons their actions. The
// returned handlers must outlive neither the main window nor the prompt.
std::unique_ptr<RadioRecording> ConnectRadioStrip(TForm1& main, TRadioSaveForm& prompt, TRadioForm& mini,
                                                  TMyRadioForm& myRadio, RadioRecorder& recorder,
                                                  MessageSink& messages);
