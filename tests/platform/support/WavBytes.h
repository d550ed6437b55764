#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A canonical 44-byte-header WAV image of 16-bit samples.
inline std::string wavBytes(const std::vector<short>& samples, int rate, int channels = 1)
{
    auto put32 = [](std::string& out, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(char(v >> (8 * i)));
    };
    auto put16 = [](std::string& out, std::uint16_t v) {
        out.push_back(char(v));
        out.push_back(char(v >> 8));
    };
    const std::uint32_t size = std::uint32_t(samples.size() * 2);
    std::string out = "RIFF";
    put32(out, size + 36);
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1);
    put16(out, std::uint16_t(channels));
    put32(out, std::uint32_t(rate));
    put32(out, std::uint32_t(rate * channels * 2));
    put16(out, std::uint16_t(channels * 2));
    put16(out, 16);
    out += "data";
    put32(out, size);
    out.append(reinterpret_cast<const char*>(samples.data()), size);
    return out;
}
