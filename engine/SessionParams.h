#pragma once

#include <string_view>

#include "VoiceTable.h"

namespace msc {

enum class TextEncoding { Auto, Gbk, Big5, Utf16Le, Gb18030, Utf8 };

// One session's settings, fixed at its begin.
struct SessionParams {
  const VoiceProfile* voice = nullptr;
  int speed = 2;   // 0 x-slow .. 4 x-fast
  int volume = 2;  // 0 x-soft .. 4 x-loud
  bool ssml = false;
  TextEncoding encoding = TextEncoding::Auto;
  int background = 0;  // 0 none, 1..11
  int sampleRate = 16000;
  int numberReading = 0;  // rdn, 0..3
};

// Parses the QTTSSessionBegin string into out; returns an MscError code.
int parseSessionParams(std::string_view text, SessionParams& out);

}  // namespace msc
