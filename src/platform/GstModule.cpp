// The entry points the program finds in the GStreamer module (see MediaBackend.h). Linked into
// tests directly, where the program's lookup finds them without loading anything.
#include "platform/GstAudioEngine.h"
#include "platform/GstStreamRecorder.h"
#include "platform/GstVideoPlayer.h"

extern "C" {
__attribute__((visibility("default"))) AudioEngine* zelmo_gst_new_audio_engine() {
    return new GstAudioEngine;
}
__attribute__((visibility("default"))) VideoPlayer* zelmo_gst_new_video_player() {
    return new GstVideoPlayer;
}
__attribute__((visibility("default"))) StreamRecorder* zelmo_gst_new_stream_recorder() {
    return new GstStreamRecorder;
}
}
