#include "speech/WavWriter.h"

#include <cstdint>

namespace {

void put32(std::string& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(char((value >> shift) & 0xFF));
}

void put16(std::string& out, std::uint16_t value)
{
    out.push_back(char(value & 0xFF));
    out.push_back(char(value >> 8));
}

constexpr std::uint16_t kChannels = 1;
constexpr std::uint16_t kBitsPerSample = 16;

} // namespace

std::string WavHeader(std::size_t audioBytes, const ListChoice& audioFormat)
{
    const std::uint32_t rate = audioFormat.index == 0 ? 8000 : 16000;
    const auto n = static_cast<std::uint32_t>(audioBytes);
    std::string image;
    image.reserve(kWavHeaderBytes);
    image += "RIFF";
    put32(image, n + 36);
    image += "WAVEfmt ";
    put32(image, 16);
    put16(image, 1);
    put16(image, kChannels);
    put32(image, rate);
    put32(image, kChannels * rate * kBitsPerSample / 8);
    put16(image, std::uint16_t(kChannels * kBitsPerSample / 8));
    put16(image, kBitsPerSample);
    image += "data";
    put32(image, n);
    return image;
}

std::string BuildWav(std::string_view audio, const ListChoice& audioFormat)
{
    std::string image;
    image.reserve(kWavHeaderBytes + audio.size());
    image = WavHeader(audio.size(), audioFormat);
    image.append(audio);
    return image;
}
