#include "KeyValueList.h"

#include <algorithm>

namespace msc {

std::optional<std::vector<KeyValue>> splitKeyValues(std::string_view text) {
  std::vector<KeyValue> pairs;
  while (!text.empty()) {
    const auto comma = text.find(',');
    const std::string_view piece = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    if (piece.empty()) continue;
    const auto eq = piece.find('=');
    if (eq == std::string_view::npos || eq == 0) return std::nullopt;
    const std::string_view key = piece.substr(0, eq);
    if (std::any_of(pairs.begin(), pairs.end(), [&](const KeyValue& p) { return p.first == key; }))
      return std::nullopt;
    pairs.emplace_back(key, piece.substr(eq + 1));
  }
  return pairs;
}

std::optional<unsigned> parseDecimal(std::string_view text, unsigned max) {
  if (text.empty()) return std::nullopt;
  unsigned long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
    if (value > max) return std::nullopt;
  }
  return static_cast<unsigned>(value);
}

}  // namespace msc
