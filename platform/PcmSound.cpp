#include "platform/PcmSound.h"

#include <cstring>

namespace {

std::uint32_t le32(std::string_view bytes, std::size_t at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

std::uint16_t le16(std::string_view bytes, std::size_t at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return std::uint16_t(p[0] | p[1] << 8);
}

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

} // namespace

int PcmSound::bytesPerFrame() const
{
    int bytes = 2;
    switch (sample) {
    case Sample::UInt8: bytes = 1; break;
    case Sample::Int16: bytes = 2; break;
    case Sample::Int32:
    case Sample::Float: bytes = 4; break;
    }
    return bytes * channels;
}

std::int64_t PcmSound::durationMs() const
{
    const std::int64_t bytesPerSecond = std::int64_t(bytesPerFrame()) * sampleRate;
    return bytesPerSecond > 0 ? std::int64_t(data.size()) * 1000 / bytesPerSecond : 0;
}

std::optional<PcmSound> ReadWavImage(std::string_view image)
{
    if (image.size() < 12 || image.substr(0, 4) != "RIFF" || image.substr(8, 4) != "WAVE")
        return std::nullopt;

    std::optional<PcmSound> sound;
    std::string_view data;
    bool haveData = false;
    std::size_t at = 12;
    while (at + 8 <= image.size()) {
        const std::string_view id = image.substr(at, 4);
        const std::size_t size = le32(image, at + 4);
        const std::size_t body = at + 8;
        const std::size_t available = std::min(size, image.size() - body);
        if (id == "fmt " && available >= 16) {
            std::uint16_t tag = le16(image, body);
            const int channels = le16(image, body + 2);
            const int rate = int(le32(image, body + 4));
            const int bits = le16(image, body + 14);
            if (tag == kFormatExtensible && available >= 26)
                tag = le16(image, body + 24); // first two bytes of the sub-format GUID
            PcmSound format;
            format.sampleRate = rate;
            format.channels = channels;
            if (tag == kFormatPcm && bits == 8)
                format.sample = PcmSound::Sample::UInt8;
            else if (tag == kFormatPcm && bits == 16)
                format.sample = PcmSound::Sample::Int16;
            else if (tag == kFormatPcm && bits == 32)
                format.sample = PcmSound::Sample::Int32;
            else if (tag == kFormatFloat && bits == 32)
                format.sample = PcmSound::Sample::Float;
            else
                return std::nullopt;
            if (channels < 1 || channels > 8 || rate < 1000 || rate > 768000)
                return std::nullopt;
            sound = format;
        } else if (id == "data") {
            data = image.substr(body, available);
            haveData = true;
            break;
        }
        if (size > image.size() - body)
            break;
        at = body + size + (size & 1);
    }
    if (!sound || !haveData)
        return std::nullopt;
    const std::size_t frame = std::size_t(sound->bytesPerFrame());
    sound->data.assign(data.substr(0, data.size() - data.size() % frame));
    return sound;
}
