#pragma once

#include "platform/PcmSound.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// Plays PCM through QAudioSink on a thread of its own, so that no call ever waits for the
// sound server. Each named channel holds at most one sound; channels sound at the same time.
// Calls are made from one thread (the GUI thread) and return at once.
class AudioOutput {
public:
    // Produces the sound on the audio thread (decoding may take a moment); nullopt plays nothing.
    using SoundSource = std::function<std::optional<PcmSound>()>;

    AudioOutput();
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Replaces what the channel plays with the source's sound, played once from its first sample.
    // Without an audio device nothing sounds and nothing is reported.
    void play(const std::string& channel, SoundSource source);
    void stop(const std::string& channel);

    // True while the channel holds a started sound that has neither ended nor been stopped.
    bool playing(const std::string& channel) const;
    // Waits until every call made so far has been carried out; false when the time ran out.
    bool settle(std::chrono::milliseconds timeout) const;

private:
    class Worker;
    struct Shared;
    std::shared_ptr<Shared> shared_;
};
