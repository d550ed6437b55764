#pragma once

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace msc {

using KeyValue = std::pair<std::string_view, std::string_view>;

// Splits "k=v,k=v" at "," and each piece at its first "=". Empty pieces are
// skipped. Nothing when a piece has no "=", an empty key, or a key repeats.
std::optional<std::vector<KeyValue>> splitKeyValues(std::string_view text);

// A decimal of digits only, no sign, at most max.
std::optional<unsigned> parseDecimal(std::string_view text, unsigned max);

}  // namespace msc
