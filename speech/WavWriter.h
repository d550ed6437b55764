#pragma once

#include "speech/SynthesisSettings.h"

#include <string>
#include <string_view>

// Puts the 44-byte RIFF WAVE header of 16-bit mono PCM in front of the audio. The rate follows
// the position of the selected audio format: the first item is 8000 Hz, any other 16000 Hz.
// The audio must be shorter than 4 GiB - 36 bytes (the synthesis run keeps far less).
std::string BuildWav(std::string_view audio, const ListChoice& audioFormat);

// The 44 header bytes alone, for a caller that keeps room for them in front of its audio.
std::string WavHeader(std::size_t audioBytes, const ListChoice& audioFormat);
constexpr std::size_t kWavHeaderBytes = 44;
