#pragma once

#include <span>
#include <string_view>

namespace msc {

// Which side of a mixed text a character belongs to.
enum class Script { Han, Latin };

// How one voice code sounds. VOICES.md lists the table with its reasons.
struct VoiceProfile {
  std::string_view code;        // the voice code, letter case exact
  Script primary;               // the script of the voice's own language
  std::string_view hanVoice;    // espeak-ng voice for runs of Chinese characters
  std::string_view latinVoice;  // espeak-ng voice for runs of Latin letters
  std::string_view variant;     // espeak-ng variant, the same for both runs
  int pitch;                    // espeak-ng base pitch, 0..100
  int range;                    // espeak-ng pitch range, 0..100
  int rate;                     // words per minute at speed "medium"
  int volume;                   // espeak-ng volume at "medium", evens out loud variants
};

const VoiceProfile* findVoice(std::string_view code);
std::span<const VoiceProfile> allVoices();

}  // namespace msc
