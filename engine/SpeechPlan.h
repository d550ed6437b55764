#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "VoiceTable.h"

namespace msc {

// One call of the speech back end: a voice ("cmn-latn-pinyin+f3") and its text.
struct SpeechSegment {
  std::string voice;
  std::string text;  // UTF-8; SSML when ssml is set
  bool ssml = false;

  bool operator==(const SpeechSegment&) const = default;
};

// Splits a decoded text into runs by script, so that Chinese characters and
// Latin letters each go to a voice of their language; digits, spaces and
// punctuation stay with the run they are in. An SSML text stays one segment,
// its foreign runs wrapped in <voice> elements. numberReading (rdn) 2 spells
// every digit run one digit at a time, 3 only runs longer than four digits
// or with a leading zero.
std::vector<SpeechSegment> planSpeech(const VoiceProfile& voice, std::string_view utf8, bool ssml,
                                      int numberReading);

}  // namespace msc
