#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "SpeechPlan.h"

// espeak-ng keeps all its state in globals: every use goes through here,
// holding mutex().
namespace msc::espeak {

struct Prosody {
  int rate;    // words per minute
  int volume;  // 0..200
  int pitch;   // 0..100
  int range;   // 0..100
};

// Samples at sampleRate(); returning false stops the synthesis.
using SampleSink = std::function<bool(const std::int16_t* samples, std::size_t count)>;

std::mutex& mutex();

// Loads espeak-ng and its data; only the first success does the work, since
// espeak-ng 1.51 cannot be initialised again after it has been terminated.
// The caller's LC_CTYPE, which the loading changes, is put back. MscError.
int load();

int sampleRate();

// Both need mutex() held and load() done.
int speak(const SpeechSegment& segment, const Prosody& prosody, const SampleSink& sink);
std::string phonemes(const SpeechSegment& segment, const Prosody& prosody);

}  // namespace msc::espeak
