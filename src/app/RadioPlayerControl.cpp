#include "app/RadioPlayerControl.h"

#include "radio/RadioPlayer.h"

bool RadioPlayerControl::StartAudio() {
    return player_.StartAudio();
}
void RadioPlayerControl::ShutdownAudio() {
    player_.ShutdownAudio();
}
void RadioPlayerControl::PlayStream(const QByteArray& url) {
    player_.PlayStream(url);
}
void RadioPlayerControl::StopStream() {
    player_.StopStream();
}
void RadioPlayerControl::SetVolume(float volume) {
    player_.SetVolume(volume);
}
