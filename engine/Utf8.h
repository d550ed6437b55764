#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace msc {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);

// The code point at text[pos] of valid UTF-8; pos moves past it.
char32_t nextCodePoint(std::string_view text, std::size_t& pos);

void appendUtf8(std::string& out, char32_t c);

}  // namespace msc
