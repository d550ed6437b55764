#include "SessionParams.h"

#include <array>
#include <optional>

#include "KeyValueList.h"
#include "msc.h"

namespace msc {

namespace {

// Index of value in names, or nothing.
template <std::size_t N>
std::optional<int> indexOf(const std::array<std::string_view, N>& names, std::string_view value) {
  for (std::size_t i = 0; i < N; ++i)
    if (names[i] == value) return static_cast<int>(i);
  return std::nullopt;
}

constexpr std::array<std::string_view, 5> kSpeeds{"x-slow", "slow", "medium", "fast", "x-fast"};
constexpr std::array<std::string_view, 5> kVolumes{"x-soft", "soft", "medium", "loud", "x-loud"};
constexpr std::array<std::string_view, 2> kTextTypes{"text", "ssml"};

std::optional<TextEncoding> encodingNamed(std::string_view name) {
  if (name == "AUTO") return TextEncoding::Auto;
  if (name == "GB2312" || name == "GBK") return TextEncoding::Gbk;
  if (name == "BIG5") return TextEncoding::Big5;
  if (name == "UNICODE") return TextEncoding::Utf16Le;
  if (name == "GB18030") return TextEncoding::Gb18030;
  if (name == "UTF8") return TextEncoding::Utf8;
  return std::nullopt;
}

// "raw", or an amr/speex name with an optional ";level" in its range.
bool validAudioEncoding(std::string_view value) {
  const auto semicolon = value.find(';');
  const std::string_view name = value.substr(0, semicolon);
  unsigned highest = 0;
  if (name == "amr" || name == "amr-fx" || name == "amr-wb" || name == "amr-wb-fx")
    highest = 7;
  else if (name == "speex" || name == "speex-wb")
    highest = 10;
  else if (name != "raw")
    return false;
  if (semicolon == std::string_view::npos) return true;
  return name != "raw" && parseDecimal(value.substr(semicolon + 1), highest).has_value();
}

std::optional<int> sampleRateNamed(std::string_view value) {
  if (value == "audio/L16;rate=8000") return 8000;
  if (value == "audio/L16;rate=16000") return 16000;
  return std::nullopt;
}

template <typename T>
bool assign(std::optional<T> parsed, T& field) {
  if (!parsed) return false;
  field = *parsed;
  return true;
}

std::optional<int> smallNumber(std::string_view value, unsigned highest) {
  const auto n = parseDecimal(value, highest);
  return n ? std::optional<int>(static_cast<int>(*n)) : std::nullopt;
}

}  // namespace

int parseSessionParams(std::string_view text, SessionParams& out) {
  const auto pairs = splitKeyValues(text);
  if (!pairs) return MSC_ERROR_INVALID_PARAMETER;
  SessionParams params;
  bool haveVoice = false;
  for (const auto& [key, value] : *pairs) {
    bool ok = true;
    if (key == "vcn") {
      params.voice = findVoice(value);
      if (!params.voice) return MSC_ERROR_UNKNOWN_VOICE;
      haveVoice = true;
    } else if (key == "spd") {
      ok = assign(indexOf(kSpeeds, value), params.speed);
    } else if (key == "vol") {
      ok = assign(indexOf(kVolumes, value), params.volume);
    } else if (key == "ttp") {
      int type = 0;
      ok = assign(indexOf(kTextTypes, value), type);
      params.ssml = type == 1;
    } else if (key == "tte") {
      ok = assign(encodingNamed(value), params.encoding);
    } else if (key == "bgs") {
      ok = assign(smallNumber(value, 11), params.background);
    } else if (key == "aue") {
      ok = validAudioEncoding(value);
    } else if (key == "auf") {
      ok = assign(sampleRateNamed(value), params.sampleRate);
    } else if (key == "rdn") {
      ok = assign(smallNumber(value, 3), params.numberReading);
    }
    if (!ok) return MSC_ERROR_INVALID_PARAMETER;
  }
  if (!haveVoice) return MSC_ERROR_INVALID_PARAMETER;
  out = params;
  return MSC_OK;
}

}  // namespace msc
