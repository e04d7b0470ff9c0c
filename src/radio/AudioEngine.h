#pragma once
// Placeholder until the audio engine lands.
class AudioEngine {
public:
    virtual ~AudioEngine() = default;
};
