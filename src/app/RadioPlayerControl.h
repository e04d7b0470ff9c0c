#pragma once
#include "app/MainWindowRadio.h"

class RadioPlayer;

// The main window's radio operations on the program's one RadioPlayer.
class RadioPlayerControl : public MainWindowRadio {
public:
    explicit RadioPlayerControl(RadioPlayer& player) : player_(player) {}
    bool StartAudio() override;
    void ShutdownAudio() override;
    void PlayStream(const QByteArray& url) override;
    void StopStream() override;
    void SetVolume(float volume) override;

private:
    RadioPlayer& player_;
};
