#include "EngineConfig.h"

#include "KeyValueList.h"

namespace msc {

namespace {
constexpr unsigned kLargestTextSize = 1u << 20;
constexpr unsigned kLargestTimeout = 999'999'999;
}  // namespace

std::optional<EngineConfig> parseEngineConfig(std::string_view text) {
  const auto pairs = splitKeyValues(text);
  if (!pairs) return std::nullopt;
  EngineConfig config;
  for (const auto& [key, value] : *pairs) {
    if (key == "max_text_size") {
      const auto size = parseDecimal(value, kLargestTextSize);
      if (!size || *size == 0) return std::nullopt;
      config.maxTextSize = *size;
    } else if (key == "timeout") {
      // Nothing here waits on a network, but a garbled number still marks a garbled string.
      if (!parseDecimal(value, kLargestTimeout)) return std::nullopt;
    }
  }
  return config;
}

}  // namespace msc
