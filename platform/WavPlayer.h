#pragma once

#include <string>

// Plays a WAV image from memory. Both calls return at once; the sound runs on its own.
class WavPlayer {
public:
    virtual ~WavPlayer() = default;

    // Starts playing the image once, replacing what this player was playing.
    // A sound that cannot be played (no audio device, not a PCM WAV) fails quietly.
    virtual void playWavImage(std::string image) = 0;
    // Stops the sound, if any.
    virtual void stopWavPlayback() = 0;
};
