#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Interleaved PCM samples and their format: what the audio output plays.
struct PcmSound {
    enum class Sample { UInt8, Int16, Int32, Float };

    int sampleRate = 0;
    int channels = 0;
    Sample sample = Sample::Int16;
    std::string data;

    int bytesPerFrame() const;
    // Milliseconds of sound in data.
    std::int64_t durationMs() const;
};

// Reads a RIFF WAVE image holding integer PCM (8, 16 or 32 bits) or 32-bit float samples.
// A data chunk that claims more than the image holds is cut to what is there, and to whole
// frames. nullopt for anything else.
std::optional<PcmSound> ReadWavImage(std::string_view image);
