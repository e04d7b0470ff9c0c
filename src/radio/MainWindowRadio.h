#pragma once
#include <QByteArray>

// The radio operations the main window drives: audio start and shut-down around its life, the
// My Radio hand-over, radio off and the volume bar.
class MainWindowRadio {
public:
    virtual ~MainWindowRadio() = default;
    // False when the WMA plug-in could not be loaded; audio works otherwise.
    virtual bool StartAudio() = 0;
    // Whether StartAudio() would return at once.
    virtual bool AudioReady() const { return true; }
    virtual void ShutdownAudio() = 0;
    virtual void PlayStream(const QByteArray& url) = 0;
    virtual void StopStream() = 0;
    virtual void SetVolume(float volume) = 0;
};
