#pragma once
#include "platform/AudioEngine.h"
#include "platform/StreamRecorder.h"
#include "platform/VideoPlayer.h"

#include <memory>

// GStreamer's code lives in a module of its own (zelmo-gst.so beside the program, or in the
// program's library folder once installed). Its libraries take several milliseconds to load, and
// a load on another thread holds up every library the window's thread loads meanwhile, so the
// program loads the module on a thread of its own once its first page is there.
namespace MediaBackend {

// The module's file name.
inline constexpr char kModuleFile[] = "zelmo-gst.so";

// Starts loading the module (once; later calls do nothing). ZELMO_GST_MODULE names another file.
// An engine's init() and a player's first play() start it too.
void StartLoading();

// The audio engine. Never waits but in init(): until the module has loaded, it is not ready();
// a module that cannot be loaded gives an engine whose init() fails, with the reason logged.
std::unique_ptr<AudioEngine> CreateAudioEngine();

// A video player. It becomes the module's at its first play(), which never waits: while the module
// still loads the player says Connecting and opens the stream once it is there; a load that takes
// longer than 10 s, or a module that cannot be loaded, makes that play() fail (Failed, with the
// reason in reason()). A later play() tries again.
std::unique_ptr<VideoPlayer> CreateVideoPlayer();

// A stream recorder. It becomes the module's at its first start(), which never waits: while the
// module still loads (nothing plays yet), start() fails with that reason.
std::unique_ptr<StreamRecorder> CreateStreamRecorder();

} // namespace MediaBackend
