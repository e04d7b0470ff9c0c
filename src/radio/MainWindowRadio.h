#pragma once
#include <QByteArray>

// The radio operations the main window drives: audio start and shut-down around its life, the
// My Radio hand-over, radio off and the volume bar.
class MainWindowRadio {
public:
    virtual ~MainWindowRadio() = default;
    // False when the WMA plug-in could not be loaded; audio works otherwise.
    virtual bool StartAudio() = 0;
    // What a StartAudio() that returned false could not start.
    enum class AudioProblem {
        None,
        Engine,     // the GStreamer module or GStreamer itself: no sound at all
        WmaPlugins, // GStreamer's WMA demuxer or decoder: WMA stations stay silent
    };
    virtual AudioProblem AudioFailure() const { return AudioProblem::None; }
    // Whether StartAudio() would return at once.
    virtual bool AudioReady() const { return true; }
    virtual void ShutdownAudio() = 0;
    virtual void PlayStream(const QByteArray& url) = 0;
    virtual void StopStream() = 0;
    virtual void SetVolume(float volume) = 0;
};
