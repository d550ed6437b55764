#include "platform/PcmSound.h"
#include "support/WavBytes.h"

#include <gtest/gtest.h>

namespace {

std::string le32(std::uint32_t v)
{
    std::string out;
    for (int i = 0; i < 4; ++i)
        out.push_back(char(v >> (8 * i)));
    return out;
}

std::string le16(std::uint16_t v)
{
    return {char(v), char(v >> 8)};
}

std::string fmtChunk(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits)
{
    const std::uint16_t align = std::uint16_t(channels * bits / 8);
    return "fmt " + le32(16) + le16(tag) + le16(channels) + le32(rate) + le32(rate * align) + le16(align) + le16(bits);
}

std::string riff(const std::string& chunks)
{
    return "RIFF" + le32(std::uint32_t(chunks.size() + 4)) + "WAVE" + chunks;
}

} // namespace

TEST(ReadWavImage, ReadsFormatAndSamplesOfWhatThePlayerIsGiven)
{
    struct Row {
        const char* name;
        std::string image;
        int rate;
        int channels;
        PcmSound::Sample sample;
        std::size_t bytes;
    };
    const std::string data = std::string(1000, '\x11');
    const std::vector<Row> rows = {
        {"16-bit mono 16000", wavBytes(std::vector<short>(500, 7), 16000), 16000, 1, PcmSound::Sample::Int16, 1000},
        {"16-bit mono 8000, empty", wavBytes({}, 8000), 8000, 1, PcmSound::Sample::Int16, 0},
        {"8-bit stereo", riff(fmtChunk(1, 2, 22050, 8) + "data" + le32(1000) + data), 22050, 2, PcmSound::Sample::UInt8, 1000},
        {"float", riff(fmtChunk(3, 1, 48000, 32) + "data" + le32(1000) + data), 48000, 1, PcmSound::Sample::Float, 1000},
        // Odd-sized chunk before fmt: the pad byte is skipped.
        {"LIST chunk first", riff("LIST" + le32(3) + "abc" + std::string(1, '\0') + fmtChunk(1, 1, 16000, 16) + "data" + le32(4) + "abcd"),
         16000, 1, PcmSound::Sample::Int16, 4},
        // A header that claims more than the image holds plays what is there, in whole frames.
        {"data size too large", riff(fmtChunk(1, 1, 16000, 16) + "data" + le32(100000) + std::string(1001, 'x')),
         16000, 1, PcmSound::Sample::Int16, 1000},
        {"odd length cut to frames", riff(fmtChunk(1, 1, 16000, 16) + "data" + le32(7) + std::string(7, 'x')),
         16000, 1, PcmSound::Sample::Int16, 6},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto sound = ReadWavImage(row.image);
        ASSERT_TRUE(sound.has_value());
        EXPECT_EQ(sound->sampleRate, row.rate);
        EXPECT_EQ(sound->channels, row.channels);
        EXPECT_EQ(sound->sample, row.sample);
        EXPECT_EQ(sound->data.size(), row.bytes);
    }
}

TEST(ReadWavImage, RefusesWhatIsNotPlayablePcm)
{
    const std::vector<std::pair<const char*, std::string>> rows = {
        {"empty", ""},
        {"header cut", wavBytes({1, 2}, 16000).substr(0, 30)},
        {"not RIFF", "RIFX" + wavBytes({1}, 16000).substr(4)},
        {"ADPCM", riff(fmtChunk(2, 1, 16000, 4) + "data" + le32(4) + "abcd")},
        {"24-bit", riff(fmtChunk(1, 1, 16000, 24) + "data" + le32(6) + "abcdef")},
        {"no channels", riff(fmtChunk(1, 0, 16000, 16) + "data" + le32(4) + "abcd")},
        {"no data chunk", riff(fmtChunk(1, 1, 16000, 16))},
        {"data before fmt", riff("data" + le32(4) + "abcd" + fmtChunk(1, 1, 16000, 16))},
        {"MP3 bytes", std::string("ID3\x04\0\0\0\0\0\0", 10) + std::string(100, '\xff')},
    };
    for (const auto& [name, image] : rows) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(ReadWavImage(image).has_value());
    }
}
