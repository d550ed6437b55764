#pragma once

#include "platform/WavPlayer.h"

class AudioOutput;

// WavPlayer on the audio output's "wav" channel.
class QtWavPlayer final : public WavPlayer {
public:
    explicit QtWavPlayer(AudioOutput& output) : output_(output) {}

    void playWavImage(std::string image) override;
    void stopWavPlayback() override;

private:
    AudioOutput& output_;
};
