#pragma once

#include <optional>
#include <string_view>

namespace msc {

struct EngineConfig {
  unsigned maxTextSize = 2048;
};

// The QTTSInit string; nothing when it is malformed.
std::optional<EngineConfig> parseEngineConfig(std::string_view text);

}  // namespace msc
