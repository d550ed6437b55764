#pragma once

#include "WavBytes.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// Encodes samples as an MP3 file with the lame command line; false when lame is missing.
inline bool writeMp3(const std::filesystem::path& mp3, const std::vector<short>& samples, int rate)
{
    const std::filesystem::path wav = mp3.string() + ".source.wav";
    {
        std::ofstream out(wav, std::ios::binary);
        out << wavBytes(samples, rate);
    }
    const std::string command = "lame --quiet -b 64 '" + wav.string() + "' '" + mp3.string() + "'";
    const bool ok = std::system(command.c_str()) == 0 && std::filesystem::exists(mp3);
    std::filesystem::remove(wav);
    return ok;
}
