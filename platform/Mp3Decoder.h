#pragma once

#include "platform/PcmSound.h"

#include <filesystem>
#include <optional>

// Decodes an MPEG audio file (layer 1, 2 or 3) to 16-bit PCM at its own rate and channel count.
// nullopt when the file cannot be opened or holds no decodable frame.
// maxBytes bounds the PCM kept; a longer file is cut there.
std::optional<PcmSound> DecodeMp3File(const std::filesystem::path& file,
                                      std::size_t maxBytes = std::size_t(512) << 20);
