#pragma once

#include <string>
#include <string_view>

#include "SessionParams.h"

namespace msc {

// Decodes the text bytes to UTF-8 into utf8; returns an MscError code.
// NUL characters become spaces (the speech back end stops at a NUL) and a
// leading byte order mark is dropped.
int decodeText(std::string_view bytes, TextEncoding encoding, std::string& utf8);

}  // namespace msc
